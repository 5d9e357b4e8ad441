#include <Tallowmere/App/DestroyedWindows.hpp>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QByteArray>
#include <QWidget>
#include <QWindow>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace tallowmere {

#if QT_CONFIG(xcb)

namespace {

// Qt knows a window only as unmapped when another client destroys it, so the widget stays
// "visible" and the application never sees its last window close. This watches the X events
// for the destruction itself.
class DestroyWatch final : public QObject, public QAbstractNativeEventFilter {
public:
    explicit DestroyWatch(QObject* parent) : QObject(parent) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        // Queued: not from inside Qt's own handling of the event.
        if (QWidget* window = windowDestroyedBy(message))
            QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
        return false;
    }
};

}  // namespace

QWidget* windowDestroyedBy(const void* xcbEvent) {
    if (!xcbEvent) return nullptr;
    const auto* event = static_cast<const xcb_generic_event_t*>(xcbEvent);
    // Compared whole: the kind's top bit marks an event that a client sent (SendEvent), which
    // says nothing about the window.
    if (event->response_type != XCB_DESTROY_NOTIFY) return nullptr;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(xcbEvent);
    // Only the native window a widget shows through now. Qt destroys native windows of its own
    // making too: a tooltip's, say, is made afresh each time it shows, while the widget still
    // keeps the first one's handle. By the time the server reports such a destruction, Qt has
    // let go of that window, so only a window destroyed by another client matches.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        const QWindow* native = widget->windowHandle();
        // handle(): winId() would make a native window that does not exist yet.
        if (native && native->handle() && native->winId() == WId(destroyed->window) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

void closeWindowsDestroyedElsewhere(QApplication& app) {
    if (!app.nativeInterface<QNativeInterface::QX11Application>()) return;
    app.installNativeEventFilter(new DestroyWatch(&app));
}

#else

void closeWindowsDestroyedElsewhere(QApplication&) {}

QWidget* windowDestroyedBy(const void*) { return nullptr; }

#endif

}  // namespace tallowmere
