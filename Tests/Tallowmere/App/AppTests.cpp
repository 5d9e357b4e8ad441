// The application shell: the windows over the one game, the "File" and "Game" menus, and the
// root view's screen switching.
#include "PaintProbe.hpp"
#include "GameScreenFixture.hpp"

#include <Tallowmere/App/AppIcon.hpp>
#include <Tallowmere/App/DestroyedWindows.hpp>
#include <Tallowmere/App/TallowmereApp.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Icons.hpp>
#include <Tallowmere/Audio/Sound.hpp>
#include <Tallowmere/Panels/Panels.hpp>
#include <Tallowmere/Panels/PanelViews.hpp>
#include <Tallowmere/Screens/Cards.hpp>
#include <Tallowmere/Screens/GameView.hpp>
#include <Tallowmere/Screens/InventoryBar.hpp>
#include <Tallowmere/Screens/MenuCards.hpp>
#include <Tallowmere/Screens/MenuView.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <Ostrevan/Engine.hpp>

#include <QAction>
#include <QAnimationDriver>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPointer>
#include <QSignalSpy>
#include <QStyle>
#include <QTimer>

#include <cmath>
#include <set>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

using namespace tallowmere;
using namespace tallowmere::testing;
using Screen = GameModel::Screen;

namespace {

class AppTest : public GameScreenTest {
protected:
    MainWindow& openWindow(std::optional<std::int64_t> number) {
        startIn(number);
        window = std::make_unique<MainWindow>(*model, [this] { ++ambientStarts; });
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    // Two windows of the group over a model playing `number`, opened as the application opens
    // them: the first, then one more through its "New Window".
    std::pair<MainWindow*, MainWindow*> openTwoWindows(std::int64_t number) {
        startIn(number);
        MainWindow* first = tallowmere::openWindow(*model, [this] {
            ++ambientStarts;
            if (loop) loop->startAmbient();
        });
        EXPECT_TRUE(QTest::qWaitForWindowActive(first));
        return {first, openAnother(*first)};
    }

    // The window that `from`'s "New Window" opens, once it is active.
    static MainWindow* openAnother(MainWindow& from) {
        const QWidgetList before = QApplication::topLevelWidgets();
        from.newWindowAction()->trigger();
        MainWindow* opened = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (!before.contains(widget) && qobject_cast<MainWindow*>(widget)) opened = qobject_cast<MainWindow*>(widget);
        EXPECT_NE(opened, nullptr);
        if (opened) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(opened)) << "a new window opens active";
        }
        return opened;
    }

    // Runs the application until it quits and returns its status; 7 when it is still up long
    // after it should have quit.
    static int execUntilQuit() {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(7); });
        guard.start(20000);
        return QApplication::exec();
    }

    static GameView& gameIn(const MainWindow* window) {
        auto* game = qobject_cast<GameView*>(window->rootView()->currentScreen());
        EXPECT_NE(game, nullptr);
        return *game;
    }

    void TearDown() override {
        window.reset();
        deleteWindows();
    }

    std::unique_ptr<MainWindow> window;
    int ambientStarts = 0;
    std::unique_ptr<Sound> loop;  // when set, the windows of openTwoWindows() start its loop
};

QStringList menuItems(const QMenu* menu) {
    QStringList items;
    for (const QAction* item : menu->actions())
        items << (item->isSeparator() ? "---" : item->text() + " " + item->shortcut().toString());
    return items;
}

}  // namespace

TEST_F(AppTest, WindowHasItsTitleSizesAndGameMenu) {
    MainWindow& main = openWindow(std::nullopt);
    EXPECT_EQ(main.windowTitle(), "Tallowmere");
    EXPECT_EQ(main.rootView()->size(), QSize(1200, 820));
    EXPECT_EQ(main.rootView()->minimumSize(), QSize(940, 700));

    const QList<QAction*> menus = main.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "File");
    EXPECT_EQ(menuItems(menus[0]->menu()), QStringList({"New Window Ctrl+N", "Close Window Ctrl+W", "---", "Quit Ctrl+Q"}));
    EXPECT_EQ(menus[1]->text(), "Game");
    EXPECT_EQ(menuItems(menus[1]->menu()),
              QStringList({"Hint Ctrl+H", "Restart Room Ctrl+R", "Pause / Resume Ctrl+P", "---", "Main Menu Ctrl+M"}));
    EXPECT_GE(ambientStarts, 1) << "the root view starts the loop when shown";
}

// Run again on screens scaled by fractions too: one row of device pixels, never smeared over two.
TEST_F(AppTest, EachMenusDividerIsOneCrispRowClearOfTheMenu) {
    MainWindow& main = openWindow(std::nullopt);
    const std::unique_ptr<QStyle> style(makeGameStyle());
    for (QAction* title : main.menuBar()->actions()) {
        SCOPED_TRACE(title->text().toStdString());
        QMenu& menu = *title->menu();
        menu.setStyle(style.get());
        QPalette dark = menu.palette();  // the colours the application gives its menus
        dark.setColor(QPalette::Base, UI::bg());
        dark.setColor(QPalette::Text, UI::text());
        menu.setPalette(dark);
        menu.popup(main.mapToGlobal(QPoint(0, 0)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
        const QImage shown = menu.grab().toImage();
        menu.hide();
        const QList<QAction*> items = menu.actions();
        const auto divider = std::find_if(items.begin(), items.end(), [](const QAction* a) { return a->isSeparator(); });
        ASSERT_NE(divider, items.end());
        const double dpr = shown.devicePixelRatio();
        const QRect item = menu.actionGeometry(*divider);
        const int x = int(item.center().x() * dpr);
        const int background = qGray(shown.pixel(x, int(item.top() * dpr)));
        int lineRows = 0, contrast = 0;
        for (int y = int(item.top() * dpr); y < int((item.bottom() + 1) * dpr); ++y) {
            const int step = std::abs(qGray(shown.pixel(x, y)) - background);
            lineRows += step > 2;
            contrast = std::max(contrast, step);
        }
        EXPECT_GE(contrast, 24) << "grey levels between the divider and the menu";
        EXPECT_EQ(lineRows, 1);
    }
}

TEST_F(AppTest, GameMenuActsOnEveryScreen) {
    MainWindow& main = openWindow(std::int64_t{1});
    for (const Screen screen : {Screen::menu, Screen::playing, Screen::ending}) {
        SCOPED_TRACE(int(screen));
        model->setScreen(screen);
        model->tapProp("vase");  // taken only while playing
        model->setShowHelp(false);

        main.hintAction()->trigger();
        EXPECT_EQ(model->toast().has_value() && model->toast()->kind == Toast::Kind::hint, screen == Screen::playing);

        main.pauseAction()->trigger();
        EXPECT_EQ(model->paused(), screen == Screen::playing);
        main.pauseAction()->trigger();
        EXPECT_FALSE(model->paused());

        // Restart works on any screen and leaves the screen as it is.
        std::filesystem::remove(savePath());
        main.restartAction()->trigger();
        EXPECT_EQ(model->screen(), screen);
        EXPECT_EQ(model->state(), ostrevan::Engine::begin(room(1)));
        ASSERT_TRUE(model->toast());
        EXPECT_EQ(model->toast()->text, "Room restarted.");
        EXPECT_TRUE(model->intro());
        EXPECT_TRUE(std::filesystem::exists(savePath()));

        std::filesystem::remove(savePath());
        model->setPaused(screen == Screen::playing);
        main.mainMenuAction()->trigger();
        EXPECT_EQ(model->screen(), Screen::menu);
        EXPECT_FALSE(model->paused());
        EXPECT_TRUE(std::filesystem::exists(savePath()));
        EXPECT_TRUE(model->hasSave());
    }
}

TEST_F(AppTest, RootViewShowsTheModelsScreenAndCrossFades) {
    MainWindow& main = openWindow(std::nullopt);
    RootView& root = *main.rootView();
    EXPECT_EQ(root.shownScreen(), Screen::menu);
    EXPECT_NE(qobject_cast<MenuView*>(root.currentScreen()), nullptr);
    EXPECT_EQ(root.fadingLayer(), nullptr);

    const std::pair<Screen, const char*> steps[] = {
        {Screen::playing, "tallowmere::GameView"},
        {Screen::ending, "tallowmere::EndingView"},
        {Screen::menu, "tallowmere::MenuView"},
    };
    for (const auto& [screen, type] : steps) {
        QWidget* before = root.currentScreen();
        model->setScreen(screen);
        EXPECT_EQ(root.shownScreen(), screen);
        EXPECT_STREQ(root.currentScreen()->metaObject()->className(), type);
        EXPECT_NE(root.currentScreen(), before);
        EXPECT_EQ(root.currentScreen()->geometry(), root.rect());
        ASSERT_NE(root.fadingLayer(), nullptr) << "the old screen fades out over the new one";
        EXPECT_TRUE(root.fadingLayer()->testAttribute(Qt::WA_TransparentForMouseEvents));
        ASSERT_TRUE(QTest::qWaitFor([&] { return root.fadingLayer() == nullptr; }, 3000));
    }
    // The game screen takes the keys when it is shown.
    model->newGame();
    auto* game = qobject_cast<GameView*>(root.currentScreen());
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(main.focusWidget(), game);
}

// Run again on screens scaled to 150 % and 200 %: the sign is drawn for the screen's density,
// not a small bitmap blown up.
TEST_F(AppTest, TheAlertsWarningSignHasAPixelForEveryDevicePixel) {
    MainWindow& main = openWindow(std::int64_t{1});
    PauseMenu& pause = *gameIn(&main).pauseMenu();
    model->setPaused(true);
    for (GlassButton* button : pause.findChildren<GlassButton*>())
        if (button->text() == "Restart the whole game") button->click();
    QMessageBox* box = pause.confirmation();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
    const auto* sign = box->findChild<QLabel*>("qt_msgboxex_icon_label");
    ASSERT_NE(sign, nullptr);
    const QPixmap shown = sign->pixmap();
    const double dpr = box->devicePixelRatioF();
    constexpr int kSide = 32;  // the style's own sign's
    EXPECT_EQ(shown.devicePixelRatio(), dpr);
    EXPECT_EQ(shown.size(), QSize(kSide, kSide) * dpr);
    const QImage image = shown.toImage();
    int yellow = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) yellow += image.pixelColor(x, y) == warningYellow();
    EXPECT_GT(yellow, image.width() * image.height() / 5) << "a yellow sign, its mark cut through";
}

// Run again on screens scaled by fractions too. The X11 platform hands the desktop one picture for
// each size the icon lists, asked for in the screen's pixels: at every scale those are the icon
// drawn at each window size and at each in the screen's pixels, none a scaled copy of another.
TEST_F(AppTest, TheWindowIconHoldsEachSizeDrawnInPixelsAndInTheScreensPixels) {
    setWindowIconAfterFirstFrame(*qApp);
    openWindow(std::nullopt);
    ASSERT_TRUE(QTest::qWaitFor([] { return !QApplication::windowIcon().isNull(); }, 10000));
    const QIcon icon = QApplication::windowIcon();
    QApplication::setWindowIcon(QIcon());
    std::set<int> expected, carried;
    for (const int side : kWindowIconSizes) {
        expected.insert(side);
        expected.insert(int(std::lround(side * qApp->devicePixelRatio())));
    }
    for (const QSize& size : icon.availableSizes()) {
        const QImage picture = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        carried.insert(picture.width());
        // Drawn on the pool, a fill's edge may round a level apart.
        EXPECT_LE(largestDifference(picture, renderAppIcon(picture.width())), 1) << picture.width() << " px";
    }
    EXPECT_EQ(carried, expected);
}

// ## Further windows

TEST_F(AppTest, ASecondWindowShowsEveryChangeMadeInTheFirst) {
    loop = std::make_unique<Sound>(Sound::Output::manual);
    const auto [first, second] = openTwoWindows(1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->windowTitle(), "Tallowmere");
    EXPECT_EQ(second->rootView()->size(), QSize(1200, 820));
    EXPECT_EQ(second->rootView()->minimumSize(), QSize(940, 700));
    EXPECT_EQ(menuItems(second->menuBar()->actions()[1]->menu()), menuItems(first->menuBar()->actions()[1]->menu()));
    EXPECT_GE(ambientStarts, 2) << "each root view starts the loop when shown";
    EXPECT_EQ(loop->mixer().voiceCount(), 1u) << "the loop is made once";

    GameView& a = gameIn(first);
    GameView& b = gameIn(second);
    const QPointF vase = centreOf(room(1).prop("vase")->rect);
    moveOnStage(*a.stage(), vase);
    EXPECT_EQ(a.stage()->hover(), "vase");
    EXPECT_EQ(b.stage()->hover(), std::nullopt) << "the pointer belongs to its window";

    clickStage(*a.stage(), vase);
    ASSERT_NE(a.toastView(), nullptr);
    ASSERT_NE(b.toastView(), nullptr);
    EXPECT_EQ(b.toastView()->toast(), a.toastView()->toast());
    EXPECT_EQ(b.inventoryBar()->tileToolTip(0), "Brass Key");
    EXPECT_EQ(b.inventoryBar()->tileTarget("key").gained, 1) << "the new item is marked in both";
    QTest::mouseClick(a.inventoryBar(), Qt::LeftButton, {}, a.inventoryBar()->tileRect(0).center().toPoint());
    EXPECT_EQ(b.inventoryBar()->tileTarget("key").selected, 1);

    QTest::keyClick(&a, Qt::Key_Escape);
    EXPECT_TRUE(b.pauseMenu()->isPresented());
    QTest::keyClick(&a, Qt::Key_Escape);
    EXPECT_FALSE(b.pauseMenu()->isPresented());

    first->mainMenuAction()->trigger();
    EXPECT_EQ(second->rootView()->shownScreen(), Screen::menu);
    EXPECT_NE(qobject_cast<MenuView*>(second->rootView()->currentScreen()), nullptr);
}

TEST_F(AppTest, APanelOpensInEveryWindowWithAnEntryOfItsOwn) {
    const auto [first, second] = openTwoWindows(2);
    ASSERT_TRUE(second);
    GameView& a = gameIn(first);
    GameView& b = gameIn(second);
    clickStage(*a.stage(), centreOf(room(2).prop("pad")->rect));
    auto* padA = dynamic_cast<KeypadPanel*>(a.panelOverlay()->panelView());
    auto* padB = dynamic_cast<KeypadPanel*>(b.panelOverlay()->panelView());
    ASSERT_TRUE(padA && padB);
    padA->press(4);
    EXPECT_EQ(padA->digits(), std::vector<int>{4});
    EXPECT_TRUE(padB->digits().empty());

    QTest::keyClick(&a, Qt::Key_Escape);
    EXPECT_EQ(b.panelOverlay()->panelView(), nullptr);
}

// Closed, a window is gone only at the next turn of the event loop; a late word from the display
// server may make it the active window again meanwhile, and a panel opened then takes its keys.
// They are given up only as the panel goes, after the screens round it: these must hear nothing
// of it by then (the sanitizers watch), and the other window plays on.
TEST_F(AppTest, AClosedWindowGoesWhileItsTypingPanelHoldsTheKeys) {
    for (const Found& found : {Found{41, room(41).panel("pad")}, findPanel<ostrevan::entry::Letters>()}) {
        ASSERT_NE(found.panel, nullptr);
        SCOPED_TRACE(found.panel->id);
        const auto [first, second] = openTwoWindows(found.room);
        ASSERT_TRUE(second);
        second->closeWindowAction()->trigger();
        QApplication::setActiveWindow(second);
        model->setPanelID(found.panel->id);
        ASSERT_EQ(QApplication::activeWindow(), second);
        ASSERT_EQ(QApplication::focusWidget(), gameIn(second).panelOverlay()->panelView());
        delete second;
        model->setPanelID(std::nullopt);
        EXPECT_EQ(gameIn(first).panelOverlay()->panelView(), nullptr);
        deleteWindows();
    }
}

// A child may set off any change of the game as it goes: the screen it leaves, and what holds
// that, must hear nothing of it by then (the sanitizers watch).
TEST_F(AppTest, AWindowGoesWhileTheChildrenOfItsScreenStirTheGame) {
    for (const auto number : {std::optional<std::int64_t>(), std::optional<std::int64_t>(41)}) {
        QWidget* screen = openWindow(number).rootView()->currentScreen();
        QList<QWidget*> parents = screen->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        parents << screen;
        for (QWidget* parent : parents) {
            QObject::connect(new QObject(parent), &QObject::destroyed, model.get(), [this] {
                const QMetaEnum whats = QMetaEnum::fromType<GameModel::What>();
                for (int i = 0; i < whats.keyCount(); ++i) emit model->changed(GameModel::What(whats.value(i)), {});
            });
        }
        window.reset();
    }
}

TEST_F(AppTest, ClosingOneWindowKeepsTheGameAndSavesNothingAndTheLastOneQuits) {
    const auto [first, second] = openTwoWindows(1);
    ASSERT_TRUE(second);
    const QPointer<MainWindow> closed(first);
    QSignalSpy quits(qApp, &QCoreApplication::aboutToQuit);
    bool ranOn = false;
    QTimer::singleShot(0, second, [&, second = second] {
        closed->closeWindowAction()->trigger();
        // Runs only while the application does: a quit ends the loop before it.
        QTimer::singleShot(0, second, [&, second] {
            ranOn = !closed && !std::filesystem::exists(savePath());
            clickStage(*gameIn(second).stage(), centreOf(room(1).prop("vase")->rect));
            second->closeWindowAction()->trigger();
        });
    });
    EXPECT_EQ(execUntilQuit(), 0);
    EXPECT_TRUE(ranOn) << "closing one of two windows neither quits nor saves, and the window goes";
    EXPECT_EQ(quits.size(), 1);
    EXPECT_EQ(model->state().inventory, std::vector<std::string>{"key"});
    EXPECT_TRUE(savedMatchesModel());
}

TEST_F(AppTest, QuitEndsTheGameWhateverWindowsAreOpen) {
    const auto [first, second] = openTwoWindows(1);
    ASSERT_TRUE(second);
    QSignalSpy quits(qApp, &QCoreApplication::aboutToQuit);
    QTimer::singleShot(0, second, [second = second] {
        clickStage(*gameIn(second).stage(), centreOf(room(1).prop("vase")->rect));
        QTest::keyClick(second, Qt::Key_Q, Qt::ControlModifier);
    });
    EXPECT_EQ(execUntilQuit(), 0) << "Quit ends the game, not just its window";
    EXPECT_EQ(quits.size(), 1);
    EXPECT_EQ(model->state().inventory, std::vector<std::string>{"key"});
    EXPECT_TRUE(savedMatchesModel());
}

#if QT_CONFIG(xcb)
// The X events that close a window, handed to the filter as the server or a client would send
// them: only the server's own DestroyNotify of a shown window's handle names that window.
TEST_F(AppTest, OnlyTheServersDestroyNotifyOfAShownWindowNamesIt) {
    const auto [first, second] = openTwoWindows(1);
    ASSERT_TRUE(second);
    const WId firstId = first->internalWinId();
    const WId secondId = second->internalWinId();
    const auto named = [](std::uint8_t kind, WId id) {
        xcb_destroy_notify_event_t event{};
        event.response_type = kind;
        event.event = event.window = xcb_window_t(id);
        return windowDestroyedBy(&event);
    };
    constexpr std::uint8_t kSent = 0x80;
    EXPECT_EQ(named(XCB_DESTROY_NOTIFY, firstId), first);
    EXPECT_EQ(named(XCB_DESTROY_NOTIFY, secondId), second);
    EXPECT_EQ(named(XCB_DESTROY_NOTIFY | kSent, firstId), nullptr) << "sent by a client";
    EXPECT_EQ(named(XCB_UNMAP_NOTIFY, firstId), nullptr);
    EXPECT_EQ(named(XCB_DESTROY_NOTIFY, std::max(firstId, secondId) + 1000), nullptr) << "a window not ours";
    EXPECT_EQ(windowDestroyedBy(nullptr), nullptr);

    // A window closed and gone, whose handle was let go: its id names none of those left.
    const QPointer<MainWindow> closing(second);
    second->closeWindowAction()->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closing.isNull(); }, 3000));
    EXPECT_EQ(named(XCB_DESTROY_NOTIFY, secondId), nullptr);
    first->hide();
    EXPECT_EQ(named(XCB_DESTROY_NOTIFY, firstId), nullptr) << "a hidden window";
}
#endif

TEST(AppCascade, ANewWindowStepsFromTheLastAndWrapsAtTheScreensEdge) {
    const QSize frame(1200, 850);
    const QRect screen(0, 0, 1400, 1000);
    const QRect belowAPanel(64, 27, 1336, 973);
    struct Case {
        QPoint from;
        QRect available;
        QPoint expected;
    };
    const Case cases[] = {
        {{100, 75}, screen, {130, 105}},
        {{170, 120}, screen, {200, 150}},      // touches the right and bottom edges: still on
        {{171, 100}, screen, {30, 30}},        // one pixel past the right edge
        {{100, 121}, screen, {30, 30}},        // one past the bottom
        {{180, 100}, belowAPanel, {94, 57}},   // back to the corner of what the panels leave
        {{500, 400}, QRect(), {530, 430}},     // no screen known
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from.x() << "," << c.from.y());
        const QPoint at = cascadedPosition(QRect(c.from, frame), frame, c.available, 30);
        EXPECT_EQ(std::pair(at.x(), at.y()), std::pair(c.expected.x(), c.expected.y()));
    }
}

TEST_F(AppTest, TheMiddleFrameOfTheCrossFadeBlendsBothScreensOverTheBackground) {
    MainWindow& main = openWindow(std::nullopt);
    RootView& root = *main.rootView();
    const QImage leaving = root.currentScreen()->grab().toImage();
    model->setScreen(Screen::ending);
    ScreenFade* fade = root.fadingLayer();
    ASSERT_NE(fade, nullptr);
    fade->setProgress(0.5);
    const QImage frame = root.grab().toImage();
    const QImage entering = root.currentScreen()->grab().toImage();
    ASSERT_EQ(frame.size(), leaving.size());
    ASSERT_EQ(frame.size(), entering.size());

    const QColor bg = UI::bg();
    int worst = 0;
    for (int y = 5; y < frame.height(); y += 37) {
        for (int x = 3; x < frame.width(); x += 41) {
            const QColor l = leaving.pixelColor(x, y), n = entering.pixelColor(x, y), f = frame.pixelColor(x, y);
            const auto blend = [](int over, int under, int back) { return 0.5 * over + 0.25 * under + 0.25 * back; };
            worst = std::max({worst, int(std::lround(std::abs(f.red() - blend(n.red(), l.red(), bg.red())))),
                              int(std::lround(std::abs(f.green() - blend(n.green(), l.green(), bg.green())))),
                              int(std::lround(std::abs(f.blue() - blend(n.blue(), l.blue(), bg.blue()))))});
        }
    }
    EXPECT_LE(worst, 2);
}

namespace {

// The clock of Qt's animations, for one test: they move only when it is stepped.
class SteppedAnimations final : public QAnimationDriver {
public:
    SteppedAnimations() { install(); }
    ~SteppedAnimations() override { uninstall(); }
    void step(int ms) {
        // Qt starts the clock of newly started animations with a queued call.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        m_elapsedMs += ms;
        advance();
    }
    qint64 elapsed() const override { return m_elapsedMs; }

private:
    qint64 m_elapsedMs = 0;
};

}  // namespace

// The change the player sees, through the fade's own animation: halfway through its 0.3 s the
// window shows neither the old screen nor the new one.
TEST_F(AppTest, HalfwayThroughTheScreenChangeTheWindowShowsNeitherScreen) {
    MainWindow& main = openWindow(std::nullopt);
    RootView& root = *main.rootView();
    const QImage leaving = root.grab().toImage();
    SteppedAnimations animations;
    model->setScreen(Screen::ending);
    animations.step(0);  // the first step starts the animations' clock
    animations.step(150);
    const QImage frame = root.grab().toImage();
    const QImage entering = root.currentScreen()->grab().toImage();
    ASSERT_EQ(frame.size(), leaving.size());
    ASSERT_EQ(frame.size(), entering.size());
    const int half = frame.width() * frame.height() / 2;
    EXPECT_GT(differingPixels(frame, leaving), half) << "the old screen still shows whole";
    EXPECT_GT(differingPixels(frame, entering), half) << "the new screen already shows whole";
    animations.step(200);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(root.fadingLayer(), nullptr);
}
