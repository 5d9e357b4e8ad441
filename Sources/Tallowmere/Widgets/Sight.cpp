#include <Tallowmere/Widgets/Sight.hpp>

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace tallowmere {

bool canBeSeen(const QWidget& widget) {
    if (!widget.isVisible()) return false;
    const QWidget* top = widget.window();
    if (top->windowState() & Qt::WindowMinimized) return false;
    const QWindow* handle = top->windowHandle();
    return handle && handle->isExposed();
}

SightWatch::SightWatch(QWidget& widget, std::function<void()> changed)
    : m_widget(widget), m_changed(std::move(changed)) {}

void SightWatch::watch() {
    QWidget* top = m_widget.window();
    if (m_top != top) {
        if (m_top) m_top->removeEventFilter(this);
        m_top = top;
        top->installEventFilter(this);
    }
    QWindow* handle = top->windowHandle();
    if (m_window != handle) {
        if (m_window) m_window->removeEventFilter(this);
        m_window = handle;
        if (handle) handle->installEventFilter(this);
    }
}

bool SightWatch::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Expose:
        case QEvent::WindowStateChange:
        case QEvent::Show:
        case QEvent::Hide:
            m_changed();
            break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tallowmere
