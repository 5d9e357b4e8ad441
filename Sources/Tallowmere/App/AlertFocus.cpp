#include <Tallowmere/App/AlertFocus.hpp>

#include <QGuiApplication>
#include <QWindow>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace tallowmere {

namespace {

bool leadsTo(const QWindow& dialog, const QWindow* window) {
    for (const QWindow* parent = dialog.transientParent(); parent; parent = parent->transientParent())
        if (parent == window) return true;
    return false;
}

// Gives the keyboard to `alert`, the desktop's way and the server's way.
void activate(QWindow& alert) {
    // Through the window manager where there is one, so it marks the alert's frame active.
    alert.requestActivate();
#if QT_CONFIG(xcb)
    // With no window manager Qt sets the input focus itself, stamped with the time of the last
    // event it saw; a focus set since by another client (a desktop tool) with the current time
    // outranks that, and the server ignores the request. The current time never does.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || !alert.isExposed()) return;
    // An alert unmapped meanwhile makes the request fail: the error is dropped, not reported.
    const xcb_void_cookie_t request = xcb_set_input_focus_checked(
        connection, XCB_INPUT_FOCUS_PARENT, static_cast<xcb_window_t>(alert.winId()), XCB_CURRENT_TIME);
    xcb_discard_reply(connection, request.sequence);
    xcb_flush(connection);
#endif
}

}  // namespace

QWindow* alertOver(const QWindow* window) {
    if (!window) return nullptr;
    for (QWindow* dialog : QGuiApplication::topLevelWindows()) {
        if (dialog == window || !dialog->isVisible() || dialog->modality() != Qt::WindowModal) continue;
        if (!leadsTo(*dialog, window)) continue;
        QWindow* above = alertOver(dialog);
        return above ? above : dialog;
    }
    return nullptr;
}

void keepKeysWithAlerts(QGuiApplication& app) {
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, &app, [](QWindow* focus) {
        if (QWindow* alert = alertOver(focus)) activate(*alert);
    });
}

}  // namespace tallowmere
