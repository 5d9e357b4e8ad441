// The main menu, the pause menu, the help card and the ending screen, driven through their
// widgets on a headless window over a model with a manual clock, recorded sounds and a private
// save file. The backdrop's door row and the cover fitting are checked by value, the pictures by
// pixel probes.
#include "GameScreenFixture.hpp"
#include "PaintProbe.hpp"

#include <Tallowmere/Art/MenuArt.hpp>
#include <Tallowmere/Art/Text.hpp>
#include <Tallowmere/Audio/Sound.hpp>
#include <Tallowmere/Screens/MenuCards.hpp>
#include <Tallowmere/Screens/MenuView.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <QCoreApplication>
#include <QEnterEvent>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <cmath>
#include <functional>

using namespace tallowmere;
using namespace tallowmere::testing;
using ostrevan::Engine::begin;
using ostrevan::GameState;
using ostrevan::SaveFile;
using ostrevan::Sfx;
using Screen = GameModel::Screen;

namespace {

// The model's sound through a real player, so the mute setting reaches the user settings.
class PlayerSound final : public SoundOutput {
public:
    explicit PlayerSound(Sound& player) : m_player(player) {}
    void play(Sfx sfx) override { m_player.play(sfx); }
    void startAmbient() override { m_player.startAmbient(); }
    bool muted() const override { return m_player.muted(); }
    void setMuted(bool muted) override { m_player.setMuted(muted); }

private:
    Sound& m_player;
};

// A state of `number` that is not the room's fresh state.
GameState playedState(std::int64_t number) {
    GameState state = begin(room(number));
    state.flags.insert("test_flag");
    state.hintCount = 3;
    return state;
}

class MenuTest : public GameScreenTest {
protected:
    void SetUp() override { newWindow(QSize(1200, 820)); }
    void TearDown() override {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void newWindow(QSize size) {
        window = std::make_unique<QWidget>();
        window->resize(size);
    }
    // A screen filling the shown window.
    template <class View>
    View& show() {
        auto* view = new View(*model, window.get());
        view->setGeometry(window->rect());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *view;
    }
    // Room 7 played and resumed, under a stand-in for the game screen holding the pause menu and
    // the help card, stacked as the game screen stacks them.
    QWidget& showGameLayersIn7(const GameState& state = playedState(7)) {
        startWithSave(SaveFile{state, 12});
        model->continueGame();
        auto* game = new QWidget(window.get());
        game->setGeometry(window->rect());
        new PauseMenu(*model, game);
        new HelpCard(*model, game);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *game;
    }

    std::unique_ptr<QWidget> window;
};

// Titles of the menu bars shown, top to bottom.
std::vector<QString> barTitles(const QWidget& menu) {
    std::vector<QString> titles;
    for (const MenuBarButton* bar : menu.findChildren<MenuBarButton*>())
        if (!bar->isHidden()) titles.push_back(bar->text());
    return titles;
}

template <class Button>
Button* button(const QWidget& parent, const QString& title) {
    for (Button* b : parent.findChildren<Button*>())
        if (b->text() == title) return b;
    ADD_FAILURE() << "no button " << title.toStdString();
    return nullptr;
}
MenuBarButton* bar(const QWidget& menu, const QString& title) { return button<MenuBarButton>(menu, title); }
GlassButton* glassButton(const QWidget& parent, const QString& title) { return button<GlassButton>(parent, title); }
QPushButton* answer(QMessageBox* box, const QString& title) { return button<QPushButton>(*box, title); }

GlassButton* muteButton(const QWidget& menu) {
    for (GlassButton* b : menu.findChildren<GlassButton*>())
        if (b->symbol().rfind("speaker", 0) == 0) return b;
    return nullptr;
}

std::optional<QString> furthestLine(const QWidget& menu) {
    for (const TextBlock* text : menu.findChildren<TextBlock*>())
        if (text->text().startsWith("Furthest") && !text->isHidden()) return text->text();
    return std::nullopt;
}

void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Runs the event loop until the overlay has faded out (the fade is short; the limit is generous).
bool fadedOut(const QWidget* overlay) {
    return QTest::qWaitFor([overlay] { return overlay->isHidden(); }, 5000);
}

// The widgets inside `overlay`'s card that stand outside its padding.
std::vector<const QWidget*> outsidePadding(const CardOverlay& overlay, int padding) {
    const QRect inner = overlay.cardGeometry().adjusted(padding, padding, -padding, -padding);
    std::vector<const QWidget*> outside;
    for (const QWidget* child : overlay.findChildren<QWidget*>()) {
        if (child->parentWidget() == &overlay) continue;  // the card itself
        if (!inner.contains(QRect(child->mapTo(&overlay, QPoint(0, 0)), child->size()))) outside.push_back(child);
    }
    return outside;
}

// How many lines a label's text takes at the label's present width.
int shownLineCount(const QLabel& label) {
    const QFontMetrics metrics(label.font());
    const QRect box = metrics.boundingRect(QRect(0, 0, label.width(), 10000), Qt::TextWordWrap, label.text());
    return int(std::lround(double(box.height()) / metrics.lineSpacing()));
}

class MenuViewTest : public MenuTest {};
class PauseMenuTest : public MenuTest {};
class HelpCardTest : public MenuTest {};
class EndingViewTest : public MenuTest {};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Backdrop and pictures

TEST(MenuViewBackdrop, DoorsOpenInTurnUpToTheirLimit) {
    const double atZero[] = {0, 0.6315, 0, 0, 0.7396, 0, 0};
    const double lefts[] = {53.1, 184.5, 315.9, 447.3, 578.7, 710.1, 841.5};
    for (int i = 0; i < MenuDoors::kCount; ++i) {
        EXPECT_NEAR(MenuDoors::opening(i, 0), atZero[i], 1e-4) << i;
        EXPECT_NEAR(MenuDoors::leftStage(i), lefts[i], 1e-9) << i;
        EXPECT_EQ(MenuDoors::number(i), 4 + 7 * i);
    }
    EXPECT_NEAR(MenuDoors::opening(0, M_PI / 0.7), 0.9, 1e-9);
    double widest = 0;
    for (double t = 0; t < 40; t += 0.01)
        for (int i = 0; i < MenuDoors::kCount; ++i) widest = std::max(widest, MenuDoors::opening(i, t));
    EXPECT_LE(widest, 0.9);
}

// The backdrop and the darkening drawn afresh on a screen of `size` at `devicePixelRatio`.
QImage freshBackdrop(QSizeF size, double devicePixelRatio, double time) {
    QImage image((size * devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const Canvas screen(painter);
    drawMenuBackdrop(coveringStage(screen, size), time);
    drawMenuShade(screen, Rect{0, 0, size.width(), size.height()});
    return image;
}

TEST(MenuViewBackdrop, KeptPictureMatchesAFreshOneFrameAfterFrame) {
    // From 0 to 7.5 s doors 1 and 4 shut, all stand shut about 2.6 s, door 0 swings open and shut
    // again and door 3 opens. The smallest screen is too small to keep doorways apart.
    struct Screen {
        QSizeF size;
        double devicePixelRatio;
    };
    for (const Screen screen : {Screen{{1200, 820}, 1}, Screen{{900, 700}, 1}, Screen{{700, 500}, 2},
                                Screen{{801, 533}, 1.5}, Screen{{160, 110}, 1}}) {
        SCOPED_TRACE(::testing::Message() << screen.size.width() << "x" << screen.size.height() << " at "
                                        << screen.devicePixelRatio);
        MenuBackdropRenderer renderer;
        QImage before;
        for (double time = 0; time <= 7.5; time += 0.5) {
            const QRegion changed = renderer.advance(screen.size, screen.devicePixelRatio, time);
            const QImage& now = renderer.picture();
            EXPECT_LE(largestDifference(now, freshBackdrop(screen.size, screen.devicePixelRatio, time)), 1)
                << "at " << time;
            // What the view is told to repaint holds every pixel that changed.
            if (before.isNull()) {
                EXPECT_EQ(changed, QRegion(QRect(QPoint(0, 0), screen.size.toSize())));
            } else {
                int outside = 0;
                for (int y = 0; y < now.height(); ++y)
                    for (int x = 0; x < now.width(); ++x)
                        if (now.pixel(x, y) != before.pixel(x, y) &&
                            !changed.contains(QPoint(int(x / screen.devicePixelRatio), int(y / screen.devicePixelRatio))))
                            ++outside;
                EXPECT_EQ(outside, 0) << "at " << time;
            }
            before = now.copy();
        }
        // Every door shut and still: nothing to repaint.
        renderer.advance(screen.size, screen.devicePixelRatio, 2.6);
        EXPECT_TRUE(renderer.advance(screen.size, screen.devicePixelRatio, 2.65).isEmpty());
    }
}

// ---------------------------------------------------------------------------------------------
// Main menu

TEST_F(MenuViewTest, ContentsFollowTheSave) {
    struct Case {
        const char* name;
        std::optional<SaveFile> save;
        std::vector<QString> bars;
        std::optional<QString> furthest;
        double columnCenter;
    };
    GameState finished = begin(room(50));
    finished.finished = true;
    const std::vector<QString> fresh = {"New Game", "How to Play", "Quit"};
    const Case cases[] = {
        {"first start", std::nullopt, fresh, std::nullopt, 0.75},
        {"room 1, best 1", SaveFile{playedState(1), 1},
         {"Continue  \u00B7  Room 1", "New Game", "How to Play", "Quit"}, std::nullopt, 0.795},
        {"room 7, best 12", SaveFile{playedState(7), 12},
         {"Continue  \u00B7  Room 7", "New Game", "How to Play", "Quit"}, "Furthest room: 12 of 50", 0.795},
        {"finished", SaveFile{finished, 50}, fresh, "Furthest room: 50 of 50", 0.75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(savePath());
        newWindow(QSize(1200, 820));
        if (c.save) startWithSave(*c.save);
        else start(env());
        const MenuView& menu = show<MenuView>();

        EXPECT_EQ(barTitles(menu), c.bars);
        EXPECT_EQ(furthestLine(menu), c.furthest);
        const QWidget* column = bar(menu, "Quit")->parentWidget();
        EXPECT_NEAR(QRectF(column->geometry()).center().y() / 820.0, c.columnCenter, 1.0 / 820);
        EXPECT_EQ(column->width(), 330);
        EXPECT_NEAR(QRectF(column->geometry()).center().x(), 600, 1);
        ASSERT_NE(muteButton(menu), nullptr);
        EXPECT_EQ(muteButton(menu)->symbol(), "speaker.wave.2.fill");
        // The mute button in the top right corner.
        const QRectF mute = muteButton(menu)->geometry();
        EXPECT_NEAR(mute.center().x(), 1200 - 40, 1);
        EXPECT_NEAR(mute.center().y(), 34, 1);
    }
}

TEST_F(MenuViewTest, NewGameAsksOnlyBeforeReplacingASaveAndContinueResumesIt) {
    // Without a save it starts at once.
    start(env());
    MenuView& first = show<MenuView>();
    click(bar(first, "New Game"));
    EXPECT_EQ(first.confirmation(), nullptr);
    EXPECT_EQ(model->screen(), Screen::playing);
    EXPECT_TRUE(savedMatchesModel());

    newWindow(QSize(1200, 820));
    startWithSave(SaveFile{playedState(7), 12});
    const std::string before = savedBytes();
    MenuView& menu = show<MenuView>();

    // Cancel by button, then by Escape: nothing changes, the file least of all.
    for (const bool byKey : {false, true}) {
        click(bar(menu, "New Game"));
        QMessageBox* box = menu.confirmation();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Start a new game?");
        EXPECT_EQ(box->informativeText(), "This replaces your saved progress (Room 7).");
        EXPECT_EQ(box->buttonRole(answer(box, "Start over")), QMessageBox::DestructiveRole);
        if (byKey) QTest::keyClick(box, Qt::Key_Escape);
        else click(answer(box, "Cancel"));
        settle();
        EXPECT_EQ(menu.confirmation(), nullptr);
        EXPECT_EQ(model->screen(), Screen::menu);
        EXPECT_EQ(model->state(), playedState(7));
        EXPECT_EQ(savedBytes(), before);
    }

    // Continuing resumes the saved room as it was and writes nothing.
    sound.ambientStarts = 0;
    click(bar(menu, "Continue  \u00B7  Room 7"));
    EXPECT_EQ(model->screen(), Screen::playing);
    EXPECT_EQ(model->state(), playedState(7));
    ASSERT_TRUE(model->intro());
    EXPECT_EQ(model->intro()->number, 7);
    EXPECT_EQ(sound.ambientStarts, 1);
    EXPECT_EQ(savedBytes(), before);

    model->returnToMenu();
    click(bar(menu, "New Game"));
    ASSERT_NE(menu.confirmation(), nullptr);
    click(answer(menu.confirmation(), "Start over"));
    EXPECT_EQ(model->screen(), Screen::playing);
    EXPECT_EQ(model->state(), begin(room(1)));
    EXPECT_EQ(model->best(), 12);
    EXPECT_TRUE(savedMatchesModel());
}

TEST_F(MenuViewTest, HelpOpensOverTheMenuAndEscapeClosesIt) {
    start(env());
    MenuView& menu = show<MenuView>();
    const HelpCard* card = menu.findChild<HelpCard*>();
    ASSERT_NE(card, nullptr);
    EXPECT_FALSE(card->isPresented());

    click(bar(menu, "How to Play"));
    EXPECT_TRUE(model->showHelp());
    EXPECT_TRUE(card->isPresented());
    EXPECT_EQ(card->geometry(), menu.rect());

    QTest::keyClick(&menu, Qt::Key_Escape);
    EXPECT_FALSE(model->showHelp());
    EXPECT_TRUE(fadedOut(card));

    // With nothing to close, Escape does nothing at all.
    QTest::keyClick(&menu, Qt::Key_Escape);
    EXPECT_FALSE(model->showHelp());
    EXPECT_EQ(model->screen(), Screen::menu);
}

TEST_F(MenuViewTest, BackdropRunsOnlyWhileTheMenuCanBeSeen) {
    start(env());
    MenuView& menu = show<MenuView>();
    EXPECT_TRUE(menu.isAnimating());

    window->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_FALSE(menu.isAnimating()) << "minimised";
    window->showNormal();
    QCoreApplication::processEvents();
    EXPECT_TRUE(menu.isAnimating()) << "restored";

    window->hide();
    QCoreApplication::processEvents();
    EXPECT_FALSE(menu.isAnimating()) << "window hidden";
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_TRUE(menu.isAnimating()) << "window shown again";

    // As when the game screen takes the menu's place, and back.
    menu.hide();
    EXPECT_FALSE(menu.isAnimating()) << "menu hidden";
    menu.show();
    EXPECT_TRUE(menu.isAnimating()) << "menu shown again";
}

// Notes the art clock at each timer's tick and at each paint of `widget`, so that what the
// window shows can be matched with the backdrop of its moment: the backdrop runs on the wall
// clock, and a frame is drawn at the tick of the menu's frame timer.
class FrameClock final : public QObject {
public:
    explicit FrameClock(QWidget& widget) : m_widget(widget) { qApp->installEventFilter(this); }
    ~FrameClock() override { qApp->removeEventFilter(this); }
    // The tick before the last paint.
    double frameTime() const { return m_painted; }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() == QEvent::Timer && qobject_cast<QTimer*>(receiver)) m_tick = artTimeNow();
        if (event->type() == QEvent::Paint && receiver == &m_widget) m_painted = m_tick;
        return false;
    }

private:
    const QWidget& m_widget;
    double m_tick = 0;
    double m_painted = 0;
};

// What the window shows: the offscreen platform's copy of what was flushed to it, which only
// repainted regions change.
QImage onScreen(QWidget& window) {
    return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST_F(MenuViewTest, TheWindowShowsTheDoorsAsTheyMove) {
    start(env());
    newWindow(QSize(800, 512));
    MenuView& menu = show<MenuView>();
    const FrameClock clock(menu);
    // The door row, between the title (centred at 0.185 of the height) and the bars' glow.
    int barsTop = menu.height();
    for (const MenuBarButton* b : menu.findChildren<MenuBarButton*>())
        if (!b->isHidden()) barsTop = std::min(barsTop, b->mapTo(&menu, QPoint(0, 0)).y());
    const double titleHeight = menuTitleBlockHeight(menu.width());
    const int rowTop = int(0.185 * menu.height() + titleHeight / 2 + menuTitleShadowReach()) + 1;
    const QRect row(0, rowTop, menu.width(), barsTop - int(3 * kMenuBarGlowRadius) - 1 - rowTop);
    const QRect title(0, int(0.185 * menu.height() - titleHeight / 2), menu.width(), int(titleHeight));

    const QImage first = onScreen(*window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return differingPixels(onScreen(*window), first, row, 2) > 100; }, 8000))
        << "the doors stand still on the screen";
    // The art clock counts whole milliseconds: the frame's time is the tick's or the next.
    const QImage shown = onScreen(*window);
    EXPECT_LE(std::min(differingPixels(shown, freshBackdrop(menu.size(), 1, clock.frameTime()), row, 2),
                       differingPixels(shown, freshBackdrop(menu.size(), 1, clock.frameTime() + 0.001), row, 2)),
              8);
    // Above the doors, the title and its shadow.
    EXPECT_GT(differingPixels(shown, freshBackdrop(menu.size(), 1, clock.frameTime()), title, 2),
              title.width() * title.height() / 4);

    // A window made larger shows the backdrop at its new size at once, also where the old
    // picture never reached (the floor's bottom-left corner, clear of the doors and buttons).
    window->resize(1000, 640);
    menu.setGeometry(window->rect());
    QApplication::processEvents();
    const QRect corner(0, menu.height() - 40, 120, 40);
    EXPECT_LE(differingPixels(onScreen(*window), freshBackdrop(menu.size(), 1, clock.frameTime()), corner, 2), 8);
}

TEST_F(MenuViewTest, BarKeepsItsPictureOnlyWhileItLooksTheSame) {
    const auto hovered = [](MenuBarButton& bar) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(&bar, &enter);
        return QTest::qWaitFor([&bar] { return bar.hoverProgress() >= 1; }, 5000);
    };
    // A bar in the given state drawn with nothing kept from before.
    const auto fresh = [&](const QString& title, QSize size, bool down, bool hover) {
        MenuBarButton bar(title, window.get());
        bar.setGeometry(QRect(QPoint(10, 200), size));
        bar.setDown(down);
        bar.show();
        if (hover) {
            EXPECT_TRUE(hovered(bar));
        }
        return bar.grab().toImage();
    };
    auto* bar = new MenuBarButton(QStringLiteral("New Game"), window.get());
    bar->setGeometry(10, 10, 330, 51);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QImage shown = bar->grab().toImage();

    struct Step {
        const char* name;
        std::function<void()> change;
        QString title;
        QSize size;
        bool down;
        bool hover;
    };
    const Step steps[] = {
        {"new title", [&] { bar->setText(QStringLiteral("Quit")); }, "Quit", {330, 51}, false, false},
        {"narrower", [&] { bar->resize(300, 51); }, "Quit", {300, 51}, false, false},
        {"pressed", [&] { bar->setDown(true); }, "Quit", {300, 51}, true, false},
        {"hovered", [&] { EXPECT_TRUE(hovered(*bar)); }, "Quit", {300, 51}, true, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        const QImage now = bar->grab().toImage();
        EXPECT_NE(now, shown);
        EXPECT_LE(largestDifference(now, fresh(step.title, step.size, step.down, step.hover)), 1);
        shown = now;
    }
}

TEST_F(MenuViewTest, MuteSurvivesARestart) {
    const auto openMenu = [this](PlayerSound& output) -> const MenuView& {
        newWindow(QSize(1200, 820));
        start(env(), &output);
        return show<MenuView>();
    };
    {
        Sound player(Sound::Output::none);
        player.setMuted(false);
        PlayerSound output(player);
        const MenuView& menu = openMenu(output);
        click(muteButton(menu));
        EXPECT_TRUE(player.muted());
        EXPECT_TRUE(model->muted());
        EXPECT_EQ(muteButton(menu)->symbol(), "speaker.slash.fill");
        window.reset();
        model.reset();
    }
    // The next start reads the setting back; unmuting is stored as well.
    Sound player(Sound::Output::none);
    EXPECT_TRUE(player.muted());
    PlayerSound output(player);
    const MenuView& menu = openMenu(output);
    EXPECT_EQ(muteButton(menu)->symbol(), "speaker.slash.fill");
    click(muteButton(menu));
    EXPECT_FALSE(Sound(Sound::Output::none).muted());
    window.reset();
    model.reset();
}

// ---------------------------------------------------------------------------------------------
// Pause menu

TEST_F(PauseMenuTest, ShowsWhilePausedAndResumes) {
    QWidget& game = showGameLayersIn7();
    PauseMenu* pause = game.findChild<PauseMenu*>();
    ASSERT_NE(pause, nullptr);
    EXPECT_FALSE(pause->isPresented());

    model->setPaused(true);
    EXPECT_TRUE(pause->isVisible());
    EXPECT_EQ(pause->geometry(), game.rect());
    EXPECT_TRUE(QTest::qWaitFor([pause] { return pause->opacity() >= 1; }, 5000)) << "fades in";
    std::vector<QString> texts;
    for (const TextBlock* t : pause->findChildren<TextBlock*>()) texts.push_back(t->text());
    EXPECT_EQ(texts, (std::vector<QString>{"PAUSED", QString("Room 7 \u00B7 %1").arg(QString::fromStdString(room(7).name))}));
    std::vector<QString> rows;
    for (const GlassButton* b : pause->findChildren<GlassButton*>()) rows.push_back(b->text());
    EXPECT_EQ(rows, (std::vector<QString>{"Resume", "Hint", "Restart this room", "Restart the whole game", "How to play",
                                          "Main menu"}));

    // A click on the card outside its buttons does nothing; one on the dimmed area resumes.
    const QRect card = pause->cardGeometry();
    QTest::mouseClick(pause, Qt::LeftButton, {}, card.topLeft() + QPoint(card.width() / 2, 10));
    EXPECT_TRUE(model->paused());
    QTest::mouseClick(pause, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(model->paused());
    EXPECT_TRUE(pause->testAttribute(Qt::WA_TransparentForMouseEvents)) << "while fading out";
    EXPECT_TRUE(fadedOut(pause));

    model->setPaused(true);
    click(glassButton(*pause, "Resume"));
    EXPECT_FALSE(model->paused());
    EXPECT_EQ(model->state(), playedState(7));
}

TEST_F(PauseMenuTest, RowsActAndSave) {
    struct Case {
        const char* row;
        std::function<void(GameModel&)> check;
    };
    const Case cases[] = {
        {"Hint",  // closes the menu first: a paused model refuses hints
         [](GameModel& m) {
             ASSERT_TRUE(m.toast());
             EXPECT_EQ(m.toast()->kind, Toast::Kind::hint);
         }},
        {"Restart this room",
         [](GameModel& m) {
             EXPECT_EQ(m.state(), begin(room(7)));
             ASSERT_TRUE(m.toast());
             EXPECT_EQ(m.toast()->text, "Room restarted.");
             ASSERT_TRUE(m.intro());
             EXPECT_EQ(m.intro()->number, 7);
         }},
        {"Main menu",
         [](GameModel& m) {
             EXPECT_EQ(m.screen(), Screen::menu);
             EXPECT_TRUE(m.hasSave());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        newWindow(QSize(1200, 820));
        QWidget& game = showGameLayersIn7();
        model->setPaused(true);
        click(glassButton(game, c.row));
        EXPECT_FALSE(model->paused());
        c.check(*model);
        EXPECT_TRUE(savedMatchesModel());
    }
    // The menu's way out leaves the room to continue.
    EXPECT_EQ(barTitles(show<MenuView>()).front(), "Continue  \u00B7  Room 7");
}

TEST_F(PauseMenuTest, AsksBeforeRestartingTheGame) {
    QWidget& game = showGameLayersIn7();
    PauseMenu* pause = game.findChild<PauseMenu*>();
    model->setPaused(true);
    const std::string before = savedBytes();

    click(glassButton(game, "Restart the whole game"));
    QMessageBox* box = pause->confirmation();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Restart from Room 1?");
    EXPECT_EQ(box->informativeText(), "Your progress will be erased and you'll begin again at Room 1.");
    EXPECT_EQ(box->buttonRole(answer(box, "Restart")), QMessageBox::DestructiveRole);
    click(answer(box, "Cancel"));
    settle();
    EXPECT_EQ(pause->confirmation(), nullptr);
    EXPECT_TRUE(pause->isPresented());
    EXPECT_EQ(model->state(), playedState(7));
    EXPECT_EQ(savedBytes(), before);

    click(glassButton(game, "Restart the whole game"));
    ASSERT_NE(pause->confirmation(), nullptr);
    click(answer(pause->confirmation(), "Restart"));
    EXPECT_EQ(model->state(), begin(room(1)));
    EXPECT_EQ(model->best(), 12);
    EXPECT_FALSE(model->paused());
    EXPECT_TRUE(savedMatchesModel());

    // A question left open goes away with the menu.
    model->setPaused(true);
    click(glassButton(game, "Restart the whole game"));
    ASSERT_NE(pause->confirmation(), nullptr);
    model->setPaused(false);
    settle();
    EXPECT_EQ(pause->confirmation(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Help card

TEST_F(HelpCardTest, OpensOverThePauseMenuAndLeavesItOpen) {
    QWidget& game = showGameLayersIn7();
    PauseMenu* pause = game.findChild<PauseMenu*>();
    HelpCard* help = game.findChild<HelpCard*>();
    model->setPaused(true);

    click(glassButton(*pause, "How to play"));
    EXPECT_TRUE(model->showHelp());
    EXPECT_TRUE(model->paused());
    EXPECT_EQ(game.childAt(5, 5), help) << "the help card lies above the pause menu";
    // Every line and the button wrap inside the card's padding.
    EXPECT_EQ(help->cardGeometry().width(), 520);
    EXPECT_EQ(help->cardGeometry().center(), game.rect().center());
    EXPECT_TRUE(outsidePadding(*help, 30).empty());
    // Every heading and line of both cards stands tall enough to read.
    for (const QWidget* card : {static_cast<QWidget*>(pause), static_cast<QWidget*>(help)})
        for (const TextBlock* text : card->findChildren<TextBlock*>())
            EXPECT_GE(text->height(), 12) << text->text().toStdString();

    // On the card nothing happens; on the dimmed area it closes; Got it closes it too.
    const QRect card = help->cardGeometry();
    QTest::mouseClick(help, Qt::LeftButton, {}, card.topLeft() + QPoint(card.width() / 2, 12));
    EXPECT_TRUE(model->showHelp());
    QTest::mouseClick(help, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(model->showHelp());
    EXPECT_TRUE(pause->isPresented());

    const std::string before = savedBytes();
    model->setShowHelp(true);
    click(glassButton(*help, "Got it"));
    EXPECT_FALSE(model->showHelp());
    EXPECT_TRUE(model->paused());
    EXPECT_EQ(savedBytes(), before);
}

// ---------------------------------------------------------------------------------------------
// Ending screen

TEST_F(EndingViewTest, PlayAgainOrLeaveWithNothingToContinue) {
    GameState finished = begin(room(50));
    finished.finished = true;
    startWithSave(SaveFile{finished, 50});
    model->setScreen(Screen::ending);
    click(glassButton(show<EndingView>(), "Main menu"));
    EXPECT_EQ(model->screen(), Screen::menu);
    EXPECT_FALSE(model->hasSave());
    EXPECT_TRUE(savedMatchesModel());
    EXPECT_EQ(barTitles(show<MenuView>()), (std::vector<QString>{"New Game", "How to Play", "Quit"}));

    model->setScreen(Screen::ending);
    click(glassButton(show<EndingView>(), "Play again"));
    EXPECT_EQ(model->screen(), Screen::playing);
    EXPECT_EQ(model->state(), begin(room(1)));
    EXPECT_EQ(model->best(), 50);
    ASSERT_TRUE(model->intro());
    EXPECT_EQ(model->intro()->number, 1);
    EXPECT_TRUE(savedMatchesModel());
}

TEST_F(EndingViewTest, PictureCoversTheScreen) {
    // A tall window scales the stage to its height and cuts the sides.
    EXPECT_EQ(coverStage(QSizeF(1200, 820)), QTransform(1.28125, 0, 0, 1.28125, -40.625, 0));
    start(env(std::nullopt, "ending"));
    for (const QSize size : {QSize(1200, 820), QSize(1600, 600)}) {
        window->resize(size);
        EndingView& ending = show<EndingView>();
        const QImage shot = ending.grab().toImage();
        for (const QPoint corner : {QPoint(0, 0), QPoint(size.width() - 1, 0), QPoint(0, size.height() - 1),
                                    QPoint(size.width() - 1, size.height() - 1)})
            EXPECT_EQ(shot.pixelColor(corner).alpha(), 255) << size.width() << "x" << size.height();
        // The doorway is lit: the gold door 50 stands open in the middle of the picture.
        const QPointF doorway = coverStage(QSizeF(size)).map(QPointF(560, 200));
        EXPECT_GT(shot.pixelColor(doorway.toPoint()).lightness(), 180);
        delete &ending;
    }
}

// ---------------------------------------------------------------------------------------------
// Cards, alerts and the ending at window size

TEST_F(PauseMenuTest, RoomLineWrapsInsideTheCardInEveryRoom) {
    int wrapped = 0;
    for (std::int64_t number = 1; number <= 50; ++number) {
        SCOPED_TRACE(number);
        startIn(number);
        newWindow(QSize(940, 700));
        auto* pause = new PauseMenu(*model, window.get());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        model->setPaused(true);
        QCoreApplication::sendPostedEvents();

        const TextBlock* line = nullptr;
        for (const TextBlock* t : pause->findChildren<TextBlock*>())
            if (t->text().startsWith("Room ")) line = t;
        ASSERT_NE(line, nullptr);
        const std::vector<QString> lines = line->shownLines();
        QStringList words;
        for (const QString& l : lines) {
            EXPECT_LE(textWidth(l, line->font()), line->contentsRect().width()) << l.toStdString();
            words << l;
        }
        EXPECT_EQ(words.join(' '), line->text()) << "no word lost";
        EXPECT_GE(line->contentsRect().height(), std::floor(double(lines.size()) * lineHeight(line->font())));
        EXPECT_TRUE(outsidePadding(*pause, 28).empty()) << "every row stays on the card";
        if (lines.size() > 1) ++wrapped;
    }
    EXPECT_GT(wrapped, 0) << "some room names are too long for one line";
}

TEST_F(PauseMenuTest, ConfirmationsAreStandardAlerts) {
    // Pixels of the destructive red (kDestructiveRed) in a button's picture.
    const auto redPixels = [](QPushButton* button) {
        const QImage image = button->grab().toImage();
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                red += qRed(p) > 180 && qRed(p) - qGreen(p) > 110 && qRed(p) - qBlue(p) > 110;
            }
        return red;
    };
    const auto expectStandard = [&](QMessageBox* box, const QString& action) {
        ASSERT_NE(box, nullptr);
        SCOPED_TRACE(box->text().toStdString());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
        const auto* title = box->findChild<QLabel*>("qt_msgbox_label");
        const auto* message = box->findChild<QLabel*>("qt_msgbox_informativelabel");
        ASSERT_TRUE(title && message);
        EXPECT_TRUE(title->font().bold());
        EXPECT_LE(shownLineCount(*message), 2) << message->width() << " px wide";
        // The destructive action's title is written in red; Cancel keeps the plain text colour.
        EXPECT_GT(redPixels(answer(box, action)), 10);
        EXPECT_EQ(redPixels(answer(box, "Cancel")), 0);
    };
    // The question of the pause menu and the one of the main menu share their shape.
    QWidget& game = showGameLayersIn7();
    model->setPaused(true);
    click(glassButton(game, "Restart the whole game"));
    expectStandard(game.findChild<PauseMenu*>()->confirmation(), "Restart");
    model->returnToMenu();
    settle();
    newWindow(QSize(1200, 820));
    MenuView& menu = show<MenuView>();
    click(bar(menu, "New Game"));
    expectStandard(menu.confirmation(), "Start over");
}

TEST_F(PauseMenuTest, ReturnEscapeAndCancelLeaveTheGameAloneInBothQuestions) {
    // Keys reach the widget holding the keyboard focus in the question's window.
    const auto press = [](Qt::Key key) {
        return [key](QMessageBox* box) { QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, key); };
    };
    const std::pair<const char*, std::function<void(QMessageBox*)>> ways[] = {
        {"Return", press(Qt::Key_Return)},
        {"Enter", press(Qt::Key_Enter)},
        {"Escape", press(Qt::Key_Escape)},
        {"Cancel", [](QMessageBox* box) { click(answer(box, "Cancel")); }},
    };
    const auto answerEveryWayButTheDestructiveOne = [&](const std::function<QMessageBox*()>& ask) {
        const GameState state = model->state();
        const std::string before = savedBytes();
        for (const auto& [name, way] : ways) {
            SCOPED_TRACE(name);
            QMessageBox* box = ask();
            ASSERT_NE(box, nullptr);
            way(box);
            settle();
            EXPECT_EQ(model->state(), state);
            EXPECT_EQ(savedBytes(), before);
        }
    };

    // Something in the bag and in hand, that a restart would take away.
    GameState carrying = playedState(7);
    carrying.inventory = {"key", "coin"};
    carrying.selected = "coin";
    QWidget& game = showGameLayersIn7(carrying);
    model->setPaused(true);
    answerEveryWayButTheDestructiveOne([&] {
        click(glassButton(game, "Restart the whole game"));
        return game.findChild<PauseMenu*>()->confirmation();
    });
    EXPECT_TRUE(model->paused());

    model->returnToMenu();
    settle();
    newWindow(QSize(1200, 820));
    MenuView& menu = show<MenuView>();
    answerEveryWayButTheDestructiveOne([&] {
        click(bar(menu, "New Game"));
        return menu.confirmation();
    });
    EXPECT_EQ(model->screen(), Screen::menu);
}

TEST_F(EndingViewTest, ButtonsStand74AboveTheBottom) {
    start(env(std::nullopt, "ending"));
    for (const QSize size : {QSize(940, 700), QSize(1400, 1000)}) {
        newWindow(size);
        EndingView& ending = show<EndingView>();
        QCoreApplication::sendPostedEvents();
        for (const char* title : {"Play again", "Main menu"}) {
            const GlassButton* b = glassButton(ending, title);
            ASSERT_NE(b, nullptr);
            const int bottom = b->mapTo(&ending, QPoint(0, b->height())).y();
            EXPECT_EQ(ending.height() - bottom, 74) << title << " at " << size.width() << "x" << size.height();
        }
        // Side by side in the middle.
        const int left = glassButton(ending, "Play again")->mapTo(&ending, QPoint(0, 0)).x();
        const GlassButton* mainMenu = glassButton(ending, "Main menu");
        const int right = mainMenu->mapTo(&ending, QPoint(mainMenu->width(), 0)).x();
        EXPECT_NEAR(left + right, size.width(), 1);
    }
}

TEST(MenuCardShadow, FallsOffAsAFortyPointShadowRadius) {
    // A 40-point radius blurs like a Gaussian of deviation 20; beside a long straight edge the
    // shadow's opacity is 0.7 times the normal tail beyond the distance from the edge.
    const QImage image = paintImage(800, 800, [](Canvas& c) { drawCardShadow(c, Rect{200, 200, 400, 400}); });
    for (const int x : {199, 179, 159}) {
        const double distance = 200 - (x + 0.5);  // from the card's left edge to the pixel's centre
        const double expected = 255 * 0.7 * 0.5 * std::erfc(distance / 20 / std::sqrt(2.0));
        EXPECT_NEAR(image.pixelColor(x, 400).alpha(), expected, 4) << x;
    }
}

// The two big titles' light serif: the book face thinned, a good deal lighter yet whole, on the
// book face's advances so the tracking stays as laid out.
TEST(MenuTitles, TheLightSerifDrawsThinnerStrokesOnTheSameAdvances) {
    const QString title = QStringLiteral("YOU ESCAPED");
    const auto ink = [&](FontWeight weight) {
        const QImage image = paintImage(700, 100, [&](Canvas& c) {
            drawTextCentered(c, title, QPointF(350, 50), Font{54, weight, FontDesign::serif}, QColor(Qt::white), 12);
        });
        double sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) sum += qAlpha(image.pixel(x, y));
        return sum;
    };
    const double ratio = ink(FontWeight::light) / ink(FontWeight::regular);
    EXPECT_LT(ratio, 0.85);
    EXPECT_GT(ratio, 0.6);
    EXPECT_DOUBLE_EQ(textWidth(title, Font{54, FontWeight::light, FontDesign::serif}, 12),
                     textWidth(title, Font{54, FontWeight::regular, FontDesign::serif}, 12));
}
