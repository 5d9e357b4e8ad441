// Opens the real game window on a display (run under Xvfb by ctest), opens a second one with
// Ctrl+N a step down and right of it and plays room 1 with real mouse clicks - the vase in the
// second window, the key in the bar and the door in the first - until room 2's intro card shows
// in both. The key's tile shows its tooltip under the resting pointer. Every window and the
// pause menu's alert ask for the dark frame and carry the game's icon drawn at each size, in
// points and in the screen's pixels. Then Ctrl+W closes the second, and the first outlives the X
// events that follow, those of the Hint button's tooltip and of an alert come and gone, and a
// DestroyNotify that a client merely sends it; one Escape pauses after a menu closed by Escape
// and after Alt alone. Another X client destroying it quits with status 0, and the save holds
// room 2.
// Usage: tallowmere_window_smoke [FOLDER]; with a folder it also saves a PNG of each step.
#include "PrivateHome.hpp"

#include <Tallowmere/App/AppIcon.hpp>
#include <Tallowmere/App/TallowmereApp.hpp>
#include <Tallowmere/Audio/Sound.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Screens/Cards.hpp>
#include <Tallowmere/Screens/MenuCards.hpp>
#include <Tallowmere/Screens/GameView.hpp>
#include <Tallowmere/Screens/InventoryBar.hpp>
#include <Tallowmere/Screens/StageView.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <Ostrevan/Engine.hpp>
#include <Ostrevan/Levels.hpp>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace tallowmere;

namespace {

constexpr int kStillRunning = 70;
// How long the test waits for the game to answer: only a game that stopped answering takes this
// long, however busy the machine.
constexpr int kPatienceMs = 30000;
// Xvfb runs no window manager, so there is no title bar to measure the step by.
constexpr int kCascadeStep = 30;
// How far (premultiplied channel, 0 ... 255) a window icon may lie from the icon drawn at its size
// here: drawn on the pool, a fill's edge may round a level apart (384 px). A copy of the next
// larger picture scaled down lies tens of levels away (48 at 16 px, 65 at 20 and 33 px).
constexpr int kIconTolerance = 1;

int fail(const char* what) {
    std::fprintf(stderr, "window smoke test failed: %s\n", what);
    return 1;
}

QPoint stagePoint(const StageView& stage, const char* propID) {
    const ostrevan::Rect r = ostrevan::Levels::all().front().prop(propID)->rect;
    return stage.toWidget(QPointF(r.midX(), r.midY())).toPoint();
}

xcb_connection_t* qtConnection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

using PropertyReply = std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)>;

// The property `name` of `window`'s X window, of `type`, up to `longs` 32-bit units; null if none.
PropertyReply windowProperty(const QWidget& window, const char* name, xcb_atom_t type, std::uint32_t longs) {
    PropertyReply none(nullptr, &std::free);
    xcb_connection_t* connection = qtConnection();
    if (!connection) return none;
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::uint16_t(std::strlen(name)), name), nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE) return none;
    return PropertyReply(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, xcb_window_t(window.winId()), atom->atom, type, 0, longs),
                               nullptr),
        &std::free);
}

// The GTK theme variant the window's frame asks for, as the window manager reads it.
std::string frameVariant(const QWidget& window) {
    const PropertyReply value = windowProperty(window, "_GTK_THEME_VARIANT", XCB_ATOM_ANY, 16);
    if (!value) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(value.get())),
                       std::size_t(std::max(xcb_get_property_value_length(value.get()), 0)));
}

GameView* gameIn(const MainWindow& window) {
    return qobject_cast<GameView*>(window.rootView()->currentScreen());
}

// Makes `request` through a connection of its own, as another X client (a desktop tool, a task
// bar) would; whether the server took it.
bool fromOutside(const std::function<xcb_void_cookie_t(xcb_connection_t*)>& request) {
    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    bool taken = false;
    if (xcb_connection_has_error(other) == 0) {
        // Waits for the server's answer: requests a client leaves unread as it hangs up may be
        // dropped.
        xcb_generic_error_t* error = xcb_request_check(other, request(other));
        taken = error == nullptr;
        std::free(error);
    }
    xcb_disconnect(other);
    return taken;
}

// Destroys `window`'s X window as `xdotool windowclose` does.
bool destroyFromOutside(const QWidget& window) {
    return fromOutside([&](xcb_connection_t* other) { return xcb_destroy_window_checked(other, xcb_window_t(window.winId())); });
}

// Gives `window` the input focus stamped with the current time, as a task bar does: later than
// any event the game has seen.
bool focusFromOutside(const QWidget& window) {
    return fromOutside([&](xcb_connection_t* other) {
        return xcb_set_input_focus_checked(other, XCB_INPUT_FOCUS_PARENT, xcb_window_t(window.winId()), XCB_CURRENT_TIME);
    });
}

// Lets the events the server has sent the game so far all be handled: a mark sent through the
// game's own connection comes back after them, since the server answers each client in order.
class Settle final : public QAbstractNativeEventFilter {
public:
    Settle() { qApp->installNativeEventFilter(this); }
    ~Settle() override { qApp->removeNativeEventFilter(this); }

    // Whether the mark came back; what the events queued is run too.
    bool operator()(const QWidget& window) {
        xcb_connection_t* connection = qtConnection();
        if (!connection) return false;
        xcb_client_message_event_t mark{};
        mark.response_type = XCB_CLIENT_MESSAGE;
        mark.format = 32;
        mark.window = xcb_window_t(window.winId());
        mark.type = XCB_ATOM_CUT_BUFFER7;  // a name no one else sends messages under
        mark.data.data32[0] = ++m_sent;
        // No event mask: the message goes to the client that made the window, the game.
        xcb_send_event(connection, 0, mark.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&mark));
        xcb_flush(connection);
        const bool back = QTest::qWaitFor([&] { return m_returned == m_sent; }, kPatienceMs);
        QCoreApplication::sendPostedEvents();
        return back;
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
        const auto* mark = static_cast<const xcb_client_message_event_t*>(message);
        if (mark->type != XCB_ATOM_CUT_BUFFER7) return false;
        m_returned = mark->data.data32[0];
        return true;  // Qt would only warn of a message it does not know
    }

private:
    std::uint32_t m_sent = 0;
    std::uint32_t m_returned = 0;
};

// A DestroyNotify for `window` as any client can send one, though the window stands.
bool sendDestroyNotify(const QWidget& window) {
    xcb_destroy_notify_event_t event{};
    event.response_type = XCB_DESTROY_NOTIFY;
    event.event = event.window = xcb_window_t(window.winId());
    return fromOutside([&](xcb_connection_t* other) {
        return xcb_send_event_checked(other, 0, event.window, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                                      reinterpret_cast<const char*>(&event));
    });
}

// The pause menu's "Restart the whole game" question, opened in `game` and up on the screen.
QMessageBox* openRestartQuestion(GameModel& model, GameView& game) {
    model.setPaused(true);
    for (GlassButton* button : game.pauseMenu()->findChildren<GlassButton*>())
        if (button->text() == "Restart the whole game") button->click();
    QMessageBox* box = game.pauseMenu()->confirmation();
    return box && QTest::qWaitForWindowExposed(box, kPatienceMs) ? box : nullptr;
}

// Whether the server shows `widget`'s present native window on the screen.
bool viewable(const QWidget& widget) {
    xcb_connection_t* connection = qtConnection();
    const QWindow* native = widget.windowHandle();
    if (!connection || !native || !native->handle()) return false;
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, xcb_window_t(native->winId())),
                                        nullptr),
        &std::free);
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

// The text of the tooltip that shows when the real pointer comes to rest at `global`, in
// `window`: mapped on the screen, and still there once the game has handled every X event its
// showing brought. Empty when none shows or stays. The tip is put away afterwards.
QString restingTip(QPoint global, const QWidget& window, Settle& settle) {
    QCursor::setPos(global + QPoint(0, 6));  // a move to the spot, however the pointer lay
    QCursor::setPos(global);
    const auto shownTip = []() -> QLabel* {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->inherits("QTipLabel") && widget->isVisible() && viewable(*widget)) return qobject_cast<QLabel*>(widget);
        return nullptr;
    };
    QString text;
    if (QTest::qWaitFor([&] { return shownTip() != nullptr; }, kPatienceMs) && settle(window)) {
        if (const QLabel* tip = shownTip()) text = tip->text();
    }
    QToolTip::hideText();
    return text;
}

// Whether `window` itself holds the focus once the game has handled every X event so far. A
// window-modal alert counts as active while the window under it is, so its own activation may
// still be on its way when it looks active.
bool holdsTheFocus(const QWidget& window, Settle& settle) {
    const auto holds = [&] { return QGuiApplication::focusWindow() == window.windowHandle(); };
    return QTest::qWaitFor(holds, kPatienceMs) && settle(window) && holds();
}

// What the keyboard leaves the game after `step`: whether one Escape then pauses it. The
// pause is undone again.
bool escapePausesAfter(GameModel& model, QWidget& window, const std::function<void()>& step) {
    step();
    QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    const bool paused = model.paused();
    model.setPaused(false);
    return paused;
}

// ## The window icon

// The pictures `window` offers the desktop as its icon, in _NET_WM_ICON: for each size its width,
// its height, then its ARGB pixels row by row.
std::vector<QImage> windowIcons(const QWidget& window) {
    const PropertyReply value = windowProperty(window, "_NET_WM_ICON", XCB_ATOM_CARDINAL, 1u << 20);
    if (!value || value->format != 32) return {};
    const auto* words = static_cast<const std::uint32_t*>(xcb_get_property_value(value.get()));
    const auto count = std::size_t(std::max(xcb_get_property_value_length(value.get()), 0)) / 4;
    std::vector<QImage> icons;
    for (std::size_t at = 0; at + 2 <= count;) {
        const std::size_t w = words[at];
        const std::size_t h = words[at + 1];
        if (w == 0 || h == 0 || w > 1024 || h > 1024 || count - at - 2 < w * h) break;
        QImage icon(int(w), int(h), QImage::Format_ARGB32);
        for (std::size_t y = 0; y < h; ++y) std::memcpy(icon.scanLine(int(y)), words + at + 2 + y * w, w * 4);
        icons.push_back(icon);
        at += 2 + w * h;
    }
    return icons;
}

// The largest difference of a premultiplied channel (0 ... 255) between `icon` and the icon drawn
// at its size.
int distanceFromDrawnIcon(const QImage& icon) {
    const QImage expected = renderAppIcon(icon.width());
    const QImage actual = icon.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (icon.width() != icon.height() || expected.size() != actual.size()) return 255;
    int largest = 0;
    for (int y = 0; y < icon.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < icon.width(); ++x)
            largest = std::max({largest, std::abs(qAlpha(a[x]) - qAlpha(e[x])), std::abs(qRed(a[x]) - qRed(e[x])),
                                std::abs(qGreen(a[x]) - qGreen(e[x])), std::abs(qBlue(a[x]) - qBlue(e[x]))});
    }
    return largest;
}

// What is wrong with the icon `window` carries, or empty: once drawn (after the first frame) it
// holds a picture at each of the window sizes, and at each in the screen's pixels too, every one
// the icon drawn at that very size.
std::string iconFault(const QWidget& window) {
    std::set<int> expected;
    for (const int side : kWindowIconSizes) {
        expected.insert(side);
        expected.insert(int(std::lround(side * qApp->devicePixelRatio())));
    }
    const bool came = QTest::qWaitFor([&] { return !windowIcons(window).empty(); }, kPatienceMs);
    std::set<int> sides;
    for (const QImage& icon : windowIcons(window)) {
        sides.insert(icon.width());
        if (const int distance = distanceFromDrawnIcon(icon); distance > kIconTolerance)
            return "a " + std::to_string(icon.width()) + "x" + std::to_string(icon.height()) +
                   " px icon that is not the icon drawn at that size (off by " + std::to_string(distance) + ")";
    }
    if (!came || sides != expected) {
        std::string listed;
        for (const int side : sides) listed += " " + std::to_string(side);
        return "an icon at the sizes" + (listed.empty() ? std::string(" (none)") : listed);
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// An alert keeps its window's keys

// Runs xdotool with `arguments` to its end: a real click or key, through the server, to wherever
// the pointer or the input focus is.
bool xdotool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    return tool.waitForFinished(10000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

bool realClick(QPoint global) {
    QCursor::setPos(global);
    return xdotool({QStringLiteral("click"), QStringLiteral("1")});
}

// Counts the key and button presses Qt hands a window.
class Presses final : public QObject {
public:
    explicit Presses(QWindow& window) { window.installEventFilter(this); }
    int keys = 0;
    int buttons = 0;

    bool eventFilter(QObject*, QEvent* event) override {
        keys += event->type() == QEvent::KeyPress;
        buttons += event->type() == QEvent::MouseButtonPress;
        return false;
    }
};

// The pause menu's alert in `withAlert`; a real click on a part of that window behind it, or the
// focus given to that window by another client, then Escape or Return answers Cancel: the alert
// goes, the room stays and nothing is saved. With the alert up, `free` (no alert) still takes a
// click and a key and keeps its activation. Returns what went wrong, or null.
const char* alertKeepsItsKeys(GameModel& model, MainWindow& withAlert, MainWindow& free, Settle& settle) {
    GameView& game = *gameIn(withAlert);
    const QString savePath = QString::fromStdString(model.savePath().string());
    const auto saved = [&] {
        QFile file(savePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = saved();
    const auto at = [](const QWidget& widget, QPointF fraction) {
        return widget.mapToGlobal(QPoint(int(widget.width() * fraction.x()), int(widget.height() * fraction.y())));
    };
    QMenuBar& menus = *withAlert.menuBar();
    const auto clickAt = [](QPoint global) { return [global] { return realClick(global); }; };
    struct Part {
        std::function<bool()> activateBehind;
        const char* key;
        const char* failure;
    };
    // Clear of the alert and of the pause menu's card, both centred.
    const Part parts[] = {
        {clickAt(at(*game.stage(), {0.1, 0.5})), "Escape", "Escape did not cancel the alert after a click on the stage"},
        {clickAt(at(*game.topBar(), {0.5, 0.5})), "Return", "Return did not cancel the alert after a click on the top bar"},
        {clickAt(at(*game.inventoryBar(), {0.5, 0.5})), "Escape", "Escape did not cancel the alert after a click on the inventory bar"},
        {clickAt(at(menus, {0.9, 0.5})), "Return", "Return did not cancel the alert after a click on the menu bar"},
        {[&] { return focusFromOutside(withAlert); }, "Escape",
         "Escape did not cancel the alert after another client gave its window the focus"},
    };
    // Whether the activation `activateBehind` moves to the window behind `alert` comes back to the
    // alert, where the keys then go.
    const auto comesBack = [&](const std::function<bool()>& activateBehind, const QPointer<QMessageBox>& alert) {
        bool left = false;
        const QMetaObject::Connection watch = QObject::connect(
            qGuiApp, &QGuiApplication::focusWindowChanged, [&](QWindow* focus) { left = left || !alert || focus != alert->windowHandle(); });
        const bool back = activateBehind() &&
                          QTest::qWaitFor([&] { return left && alert && QGuiApplication::focusWindow() == alert->windowHandle(); }, kPatienceMs);
        QObject::disconnect(watch);
        return back;
    };
    for (const Part& part : parts) {
        const QPointer<QMessageBox> alert = openRestartQuestion(model, game);
        if (!alert || !holdsTheFocus(*alert, settle)) return "the alert did not come up active";
        const bool back = comesBack(part.activateBehind, alert);
        if (!xdotool({QStringLiteral("key"), QString::fromLatin1(part.key)})) return "no real key could be sent";
        if (!back || !QTest::qWaitFor([&] { return alert.isNull(); }, kPatienceMs)) return part.failure;
    }
    if (model.state().level != 2 || saved() != before) return "an alert answered by a key restarted the game";

    // The other window is not the alert's: it takes a click and keys, and keeps them.
    const QPointer<QMessageBox> alert = openRestartQuestion(model, game);
    if (!alert || !holdsTheFocus(*alert, settle)) return "the alert did not come up active";
    Presses presses(*free.windowHandle());
    QMenuBar& freeMenus = *free.menuBar();  // clear of the window stacked over it
    if (!realClick(at(freeMenus, {0.5, 0.5})) || !settle(free)) return "no real click could be made";
    if (!holdsTheFocus(free, settle) || presses.buttons == 0)
        return "a window without an alert did not take a click while another window's alert was up";
    if (!xdotool({QStringLiteral("key"), QStringLiteral("x")}) || !settle(free) || presses.keys == 0)
        return "a window without an alert did not take a key while another window's alert was up";
    if (!alert) return "the alert went when another window took a click";
    const bool back = comesBack(clickAt(at(*game.stage(), {0.1, 0.5})), alert);
    if (!xdotool({QStringLiteral("key"), QStringLiteral("Escape")}) || !back ||
        !QTest::qWaitFor([&] { return alert.isNull(); }, kPatienceMs))
        return "Escape did not cancel the alert once its window was clicked again after another";
    model.setPaused(false);
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!usePrivateHome(home)) return fail("no temporary folder");
    setenv("TM_START_ROOM", "1", 1);
    const QString shots = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    QApplication app(argc, argv);
    configureApplication(app);
    auto model = std::make_unique<GameModel>();
    const QPointer<MainWindow> window = openWindow(*model, [] { Sound::shared().startAmbient(); });
    if (!QTest::qWaitForWindowActive(window, kPatienceMs)) return fail("the window did not come up active");
    if (frameVariant(*window) != "dark") return fail("the window did not ask for a dark frame");
    if (const std::string fault = iconFault(*window); !fault.empty()) return fail(("the window carries " + fault).c_str());
    auto shot = [&](MainWindow* from, const char* name) {
        if (!shots.isEmpty()) from->grab().save(shots + "/" + name + ".png");
    };

    GameView* game = gameIn(*window);
    if (!game) return fail("the game screen is not shown");
    StageView& stage = *game->stage();
    QTest::qWait(300);
    shot(window, "1-room1");

    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    if (!QTest::qWaitFor([&] {
            auto* active = qobject_cast<MainWindow*>(QApplication::activeWindow());
            return active && active != window;
        }, kPatienceMs))
        return fail("Ctrl+N opened no active second window");
    MainWindow& other = *qobject_cast<MainWindow*>(QApplication::activeWindow());
    GameView* otherGame = gameIn(other);
    if (!otherGame || !QTest::qWaitForWindowExposed(&other, kPatienceMs)) return fail("the second window shows no game");
    if (other.frameGeometry().topLeft() != window->frameGeometry().topLeft() + QPoint(kCascadeStep, kCascadeStep))
        return fail("the second window did not open a step down and right of the first");
    if (frameVariant(other) != "dark") return fail("the second window did not ask for a dark frame");
    if (const std::string fault = iconFault(other); !fault.empty()) return fail(("the second window carries " + fault).c_str());
    StageView& otherStage = *otherGame->stage();
    QTest::mouseMove(&otherStage, stagePoint(otherStage, "vase"));
    QTest::mouseClick(&otherStage, Qt::LeftButton, Qt::NoModifier, stagePoint(otherStage, "vase"));
    if (model->state().inventory != std::vector<std::string>{"key"}) return fail("the vase gave no key");
    if (!game->toastView() || !otherGame->toastView()) return fail("the vase's toast is not in both windows");
    if (game->inventoryBar()->tileToolTip(0) != otherGame->inventoryBar()->tileToolTip(0))
        return fail("the key is not in both bars");
    QTest::qWait(400);
    shot(window, "2-key-found");
    shot(&other, "2-key-found-second");
    Settle settle;
    // The tile's tooltip names the item in capitals, under the real pointer in the active window.
    InventoryBar& otherBar = *otherGame->inventoryBar();
    const QPoint tile = otherBar.mapToGlobal(otherBar.tileRect(0).center().toPoint());
    if (const QString tip = restingTip(tile, other, settle); tip != "Brass Key")
        return fail(qPrintable("the key's tile showed the tooltip \"" + tip + "\""));

    InventoryBar& bar = *game->inventoryBar();
    QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, bar.tileRect(0).center().toPoint());
    if (model->state().selected != "key") return fail("the key was not selected");
    QTest::mouseMove(&stage, stagePoint(stage, "door") + QPoint(-20, 40));
    QTest::qWait(300);
    shot(window, "3-key-held");

    QTest::mouseClick(&stage, Qt::LeftButton, Qt::NoModifier, stagePoint(stage, "door"));
    if (!model->doorOpenStart()) return fail("the door did not open");
    QTest::qWait(700);
    shot(window, "4-door-open");
    const bool arrived = QTest::qWaitFor(
        [&] {
            return model->intro() && model->intro()->number == 2 && game->introCard()->isVisible() &&
                   otherGame->introCard()->isVisible();
        },
        kPatienceMs);
    if (!arrived) return fail("room 2's intro card never showed in both windows");
    QTest::qWait(800);
    shot(window, "5-room2");
    shot(&other, "5-room2-second");

    if (const char* failure = alertKeepsItsKeys(*model, other, *window, settle)) return fail(failure);

    QMessageBox* question = openRestartQuestion(*model, *otherGame);
    if (!question) return fail("the pause menu did not ask before restarting the game");
    if (frameVariant(*question) != "dark") return fail("the alert did not ask for a dark frame");
    if (const std::string fault = iconFault(*question); !fault.empty()) return fail(("the alert carries " + fault).c_str());
    question->reject();
    model->setPaused(false);
    other.activateWindow();  // what a window manager does once the alert has gone
    if (!QTest::qWaitForWindowActive(&other, kPatienceMs)) return fail("the window did not come back once its alert closed");

    const QPointer<MainWindow> closing(&other);
    QTest::keyClick(&other, Qt::Key_W, Qt::ControlModifier);
    if (!QTest::qWaitFor([&] { return closing.isNull(); }, kPatienceMs)) return fail("Ctrl+W did not close the second window");
    // The first window, still shown once the game has handled every X event so far.
    const auto stands = [&] { return window && settle(*window) && window && window->isVisible(); };
    if (!stands()) return fail("closing the second window closed the first");

    window->activateWindow();  // what a window manager does once the other has gone
    if (!QTest::qWaitForWindowActive(window, kPatienceMs)) return fail("the first window did not become active");
    // Qt makes a tooltip's native window afresh each time it shows, destroying the one before.
    const GlassButton& hint = *game->topBar()->hintButton();
    if (restingTip(hint.mapToGlobal(hint.rect().center()), *window, settle) !=
        "Get a hint for what you're stuck on (H). Press again for a stronger hint.")
        return fail("the Hint button's tooltip did not show and stay");
    if (!stands()) return fail("a tooltip come and gone closed the window");

    // The game's keys act at once after a menu closed by Escape, and after Alt alone: the menu
    // bar keeps none of them.
    QMenuBar& menus = *window->menuBar();
    const QPoint gameTitle = menus.mapTo(window.data(), menus.actionGeometry(menus.actions().at(1)).center());
    bool menuClosedByEscape = false;
    const bool afterMenu = escapePausesAfter(*model, *window, [&] {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, gameTitle);
        if (!QTest::qWaitFor([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; }, kPatienceMs)) return;
        QTest::keyClick(window->windowHandle(), Qt::Key_Escape);
        menuClosedByEscape = QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, kPatienceMs);
    });
    if (!menuClosedByEscape) return fail("the Game menu did not open on a click and close on Escape");
    if (!afterMenu) return fail("Escape did not pause after a menu closed by Escape");
    const bool afterAlt = escapePausesAfter(*model, *window, [&] { QTest::keyClick(window->windowHandle(), Qt::Key_Alt); });
    if (!afterAlt) return fail("Escape did not pause after Alt alone");
    const QPointer<QMessageBox> alert = openRestartQuestion(*model, *game);
    if (!alert) return fail("the pause menu did not ask in the last window");
    alert->reject();
    model->setPaused(false);
    if (!QTest::qWaitFor([&] { return alert.isNull(); }, kPatienceMs)) return fail("the alert did not go");
    if (!stands()) return fail("an alert come and gone closed the window");

    if (!sendDestroyNotify(*window)) return fail("no client could send a DestroyNotify");
    if (!stands()) return fail("a DestroyNotify a client sent closed the window");

    // The last window is destroyed by another client: the application quits with status 0 all
    // the same, and the save holds room 2.
    if (!destroyFromOutside(*window)) return fail("another client could not destroy the last window");
    // Only a safeguard: an application that stays up after its last window fails here.
    QTimer::singleShot(10000, &app, [] { QCoreApplication::exit(kStillRunning); });
    const int status = app.exec();
    deleteWindows();
    const std::filesystem::path savePath = model->savePath();
    model.reset();  // waits for the last save to be written
    if (status == kStillRunning) return fail("destroying the last window did not quit");
    if (status != 0) return fail("destroying the last window quit with a failure status");
    const std::optional<ostrevan::SaveFile> saved = ostrevan::SaveStore::load(savePath);
    if (!saved || saved->state.level != 2) return fail("the save does not hold room 2");
    std::puts("window smoke test passed");
    return 0;
}
