// Resizes the real game window as a desktop does, in the display's own pixels, on a screen
// scaled by a fraction (run under Xvfb with QT_SCALE_FACTOR=1.5 and 1.75 by ctest). The window's
// last row and column of pixels then lie partly outside its widgets; after each resize the window
// must show none of what was there before, in the game, the main menu and the ending. And in the
// game, after the stage's partial repaints, the whole window is what a repaint of everything
// paints, the rows between the menu bar and the game screen included. An alert's warning sign
// there has a pixel of its own for each of the screen's.
// Usage: tallowmere_window_edges
#include "PrivateHome.hpp"

#include <Tallowmere/App/TallowmereApp.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Screens/StageView.hpp>
#include <Tallowmere/Widgets/MenuWidgets.hpp>

#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>

using namespace tallowmere;

namespace {

// How long the test waits for the game to answer: only a game that stopped answering takes this
// long, however busy the machine.
constexpr int kPatienceMs = 30000;

int fail(const char* what, int width = 0, int height = 0) {
    std::fprintf(stderr, "window edge test failed: %s (%dx%d)\n", what, width, height);
    return 1;
}

// Sizes the window to `pixels` of the display, as a window manager would, and waits for it.
bool resizeFromOutside(QWidget& window, QSize pixels) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return false;
    const std::uint32_t size[] = {std::uint32_t(pixels.width()), std::uint32_t(pixels.height())};
    xcb_configure_window(x11->connection(), xcb_window_t(window.winId()), XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                         size);
    xcb_flush(x11->connection());
    const double dpr = window.devicePixelRatioF();
    return QTest::qWaitFor([&] {
        return std::abs(window.width() * dpr - pixels.width()) < dpr && std::abs(window.height() * dpr - pixels.height()) < dpr;
    }, kPatienceMs);
}

// The window's pixels, once every pending repaint is done.
QImage shownIn(QWidget& window) {
    QTest::qWait(200);
    QPaintDevice* device = window.backingStore()->paintDevice();
    if (device->devType() != QInternal::Image) return {};
    return static_cast<QImage*>(device)->copy();
}

// The window's last row and column of pixels, once every pending repaint is done.
QImage edges(QWidget& window) {
    const QImage shown = shownIn(window);
    if (shown.isNull()) return {};
    QImage edges(shown.width() + shown.height(), 1, QImage::Format_RGB32);
    for (int x = 0; x < shown.width(); ++x) edges.setPixel(x, 0, shown.pixel(x, shown.height() - 1));
    for (int y = 0; y < shown.height(); ++y) edges.setPixel(shown.width() + y, 0, shown.pixel(shown.width() - 1, y));
    return edges;
}

// Repaints every widget of the window, as when it is shown anew.
void repaintAll(QWidget& window) {
    window.update();
    for (QWidget* child : window.findChildren<QWidget*>()) child->update();
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!usePrivateHome(home)) return fail("no temporary folder");
    setenv("TM_START_ROOM", "1", 1);
    QApplication app(argc, argv);
    configureApplication(app);
    if (!(qApp->devicePixelRatio() > 1) || std::floor(qApp->devicePixelRatio()) == qApp->devicePixelRatio())
        return fail("the screen's scale is not a fraction");
    auto model = std::make_unique<GameModel>();
    const QPointer<MainWindow> window = openWindow(*model, {});
    if (!QTest::qWaitForWindowExposed(window, kPatienceMs)) return fail("the window did not come up");

    // The stage's ticks repaint what moves, on a clock the test turns; then it stands still.
    StageView* stage = window->findChild<StageView*>();
    if (!stage) return fail("no stage");
    double time = 1000;
    stage->setArtClock([&time] { return time; });
    for (int i = 0; i < 24; ++i) {
        time += 0.3;
        stage->tick();
        QApplication::processEvents();
    }
    const QImage ticked = shownIn(*window);
    repaintAll(*window);
    if (ticked.isNull() || ticked != shownIn(*window)) return fail("the stage's partial repaints differ from a whole repaint");

    for (const GameModel::Screen screen : {GameModel::Screen::playing, GameModel::Screen::menu, GameModel::Screen::ending}) {
        model->setScreen(screen);
        if (!QTest::qWaitFor([&] { return window->rootView()->fadingLayer() == nullptr; }, kPatienceMs))
            return fail("the screens' cross-fade did not end");
        // Smaller and larger, to sizes whose points end inside a pixel: what the resize left at
        // the edges is what a repaint of everything paints there.
        for (const QSize pixels : {QSize(1799, 1079), QSize(1801, 1228)}) {
            if (!resizeFromOutside(*window, pixels)) return fail("the window could not be resized", pixels.width(), pixels.height());
            const QImage resized = edges(*window);
            repaintAll(*window);
            if (resized.isNull() || resized != edges(*window))
                return fail("a line of the old picture stays at the window's edge", pixels.width(), pixels.height());
        }
    }

    // The style's own sign would be a bitmap of 32 pixels, blown up on this screen.
    QMessageBox* alert = openConfirmation(window, QStringLiteral("Restart from Room 1?"), QString(),
                                          QStringLiteral("Restart"), {});
    if (!QTest::qWaitForWindowExposed(alert, kPatienceMs)) return fail("the alert did not show");
    const auto* sign = alert->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
    const QPixmap shown = sign ? sign->pixmap() : QPixmap();
    const double dpr = alert->devicePixelRatioF();
    if (shown.devicePixelRatio() != dpr || shown.size() != QSize(32, 32) * dpr)
        return fail("the alert's warning sign is not drawn for the screen", shown.width(), shown.height());
    return 0;
}
