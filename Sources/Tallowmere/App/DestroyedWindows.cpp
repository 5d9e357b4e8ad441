#include <Tallowmere/App/DestroyedWindows.hpp>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QByteArray>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <cstdint>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace tallowmere {

#if QT_CONFIG(xcb)

namespace {

constexpr std::uint8_t kEventKindMask = 0x7f;  // the top bit marks events sent by a client
constexpr std::uint8_t kError = 0;

// Qt knows a window only as unmapped when another client destroys it, so the widget stays
// "visible" and the application never sees its last window close. This watches the X events
// for the destruction itself.
class DestroyWatch final : public QObject, public QAbstractNativeEventFilter {
public:
    explicit DestroyWatch(QObject* parent) : QObject(parent) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t" || !message) return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const std::uint8_t kind = event->response_type & kEventKindMask;
        if (kind == XCB_DESTROY_NOTIFY) {
            const auto* destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
            if (QWidget* window = windowWithHandle(destroyed->window)) {
                m_gone.insert(destroyed->window);
                // Not from inside Qt's own handling of the event.
                QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
            }
            return false;
        }
        // Closing and deleting the widget still unmaps and destroys the window Qt thinks it has.
        if (kind == kError) return m_gone.contains(reinterpret_cast<const xcb_generic_error_t*>(event)->resource_id);
        return false;
    }

private:
    // A window Qt destroyed itself has already let go of its handle, so only a window destroyed
    // by another client matches.
    static QWidget* windowWithHandle(xcb_window_t handle) {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->internalWinId() == WId(handle) && widget->isVisible()) return widget;
        return nullptr;
    }

    QSet<xcb_window_t> m_gone;
};

}  // namespace

void closeWindowsDestroyedElsewhere(QApplication& app) {
    if (!app.nativeInterface<QNativeInterface::QX11Application>()) return;
    app.installNativeEventFilter(new DestroyWatch(&app));
}

#else

void closeWindowsDestroyedElsewhere(QApplication&) {}

#endif

}  // namespace tallowmere
