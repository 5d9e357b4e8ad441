#include <Tallowmere/App/DestroyedWindows.hpp>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QByteArray>
#include <QWidget>

#include <cstdint>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace tallowmere {

#if QT_CONFIG(xcb)

namespace {

constexpr std::uint8_t kEventKindMask = 0x7f;  // the top bit marks events sent by a client

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
        if (kind != XCB_DESTROY_NOTIFY) return false;
        const auto* destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
        // Queued: not from inside Qt's own handling of the event.
        if (QWidget* window = windowWithHandle(destroyed->window))
            QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
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
