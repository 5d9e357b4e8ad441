// The application shell: the window, the "Game" menu on every screen and the root view's
// screen switching.
#include "GameScreenFixture.hpp"

#include <Tallowmere/App/TallowmereApp.hpp>
#include <Tallowmere/Screens/HUD.hpp>
#include <Tallowmere/Screens/MenuView.hpp>

#include <Ostrevan/Engine.hpp>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

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

    std::unique_ptr<MainWindow> window;
    int ambientStarts = 0;
};

}  // namespace

TEST_F(AppTest, WindowHasItsTitleSizesAndGameMenu) {
    MainWindow& main = openWindow(std::nullopt);
    EXPECT_EQ(main.windowTitle(), "Tallowmere");
    EXPECT_EQ(main.rootView()->size(), QSize(1200, 820));
    EXPECT_EQ(main.rootView()->minimumSize(), QSize(940, 700));

    const QList<QAction*> menus = main.menuBar()->actions();
    ASSERT_EQ(menus.size(), 1);
    EXPECT_EQ(menus[0]->text(), "Game");
    QStringList items;
    for (const QAction* item : menus[0]->menu()->actions())
        items << (item->isSeparator() ? "---" : item->text() + " " + item->shortcut().toString());
    EXPECT_EQ(items, QStringList({"Hint Ctrl+H", "Restart Room Ctrl+R", "Pause / Resume Ctrl+P", "---", "Main Menu Ctrl+M"}));
    EXPECT_GE(ambientStarts, 1) << "the root view starts the loop when shown";
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
