#include <Tallowmere/App/DarkFrame.hpp>

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <memory>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace tallowmere {

#if QT_CONFIG(xcb)

namespace {

constexpr char kVariantProperty[] = "_GTK_THEME_VARIANT";
constexpr char kUtf8Type[] = "UTF8_STRING";
constexpr char kDark[] = "dark";

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

}  // namespace

bool requestDarkFrame(QWidget& window) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return false;
    const xcb_atom_t property = atom(connection, kVariantProperty);
    const xcb_atom_t type = atom(connection, kUtf8Type);
    if (property == XCB_ATOM_NONE || type == XCB_ATOM_NONE) return false;
    const auto handle = static_cast<xcb_window_t>(window.winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, handle, property, type, 8,
                        static_cast<std::uint32_t>(std::strlen(kDark)), kDark);
    xcb_flush(connection);
    return true;
}

#else

bool requestDarkFrame(QWidget&) {
    return false;
}

#endif

namespace {

class DarkFrameFilter final : public QObject {
public:
    explicit DarkFrameFilter(QObject* parent) : QObject(parent) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        // A widget's show event comes before its native window is mapped.
        if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        // A window-modal alert is a sheet; menus and tooltips have no frame to darken.
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet))
            requestDarkFrame(*widget);
        return false;
    }
};

}  // namespace

void requestDarkFrames(QApplication& app) {
    app.installEventFilter(new DarkFrameFilter(&app));
}

}  // namespace tallowmere
