// The game screen: top bar, inventory bar, toasts, intro card, flash, keys, focus and the order
// of the layers, driven through the real widgets over room 1 on a manual clock.
#include "GameScreenFixture.hpp"

#include <Tallowmere/Cards.hpp>
#include <Tallowmere/Draw.hpp>
#include <Tallowmere/HUD.hpp>
#include <Tallowmere/Icons.hpp>
#include <Tallowmere/InventoryBar.hpp>
#include <Tallowmere/MenuView.hpp>
#include <Tallowmere/PanelViews.hpp>
#include <Tallowmere/UI.hpp>

#include <QEnterEvent>
#include <QHelpEvent>
#include <QToolTip>

#include <array>
#include <cmath>

using namespace tallowmere;
using namespace tallowmere::testing;
using ostrevan::Sfx;

namespace {

class HUDTest : public GameScreenTest {
protected:
    GameView& openGame(std::int64_t number, QSize size = QSize(1200, 820)) {
        startIn(number);
        view = std::make_unique<GameView>(*model);
        showAt(*view, size);
        return *view;
    }
    void tapVase() { clickStage(*view->stage(), centreOf(room(1).prop("vase")->rect)); }
    void clickTile(int index) {
        QTest::mouseClick(view->inventoryBar(), Qt::LeftButton, Qt::NoModifier,
                          view->inventoryBar()->tileRect(index).center().toPoint());
    }
    void press(Qt::Key key, const QString& text = {}) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(view.get(), &down);
        EXPECT_TRUE(down.isAccepted());
    }

    std::unique_ptr<GameView> view;
};

// The order of the direct children of `parent`, back to front.
int depthOf(const QWidget* parent, const QWidget* child) {
    return int(parent->children().indexOf(const_cast<QWidget*>(child)));
}

}  // namespace

TEST(HUD, CapitalizeWordsCapitalisesEachWord) {
    const std::pair<QString, QString> cases[] = {
        {"brass key", "Brass Key"}, {"UV torch", "Uv Torch"}, {"", ""}, {"  two  spaces", "  Two  Spaces"},
        {"x-ray film", "X-ray Film"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(capitalizeWords(in), out) << in.toStdString();
}

TEST_F(HUDTest, TopBarShowsTheRoomAndWorksItsButtons) {
    GameView& game = openGame(7);
    TopBar& bar = *game.topBar();
    EXPECT_EQ(bar.roomLine(), "ROOM 7 OF 50");
    EXPECT_EQ(bar.roomName(), QString::fromStdString(room(7).name));
    EXPECT_EQ(bar.menuButton()->toolTip(), "Pause menu (Esc)");
    EXPECT_EQ(bar.hintButton()->toolTip(), "Get a hint for what you're stuck on (H). Press again for a stronger hint.");
    EXPECT_TRUE(bar.hintButton()->prominent());
    EXPECT_FALSE(bar.soundButton()->prominent());

    // The sound button flips the player, then the model's copy; the icon and tooltip follow.
    for (const bool muted : {true, false}) {
        QTest::mouseClick(bar.soundButton(), Qt::LeftButton);
        EXPECT_EQ(sound.mutedNow, muted);
        EXPECT_EQ(model->muted(), muted);
        EXPECT_EQ(bar.soundButton()->symbol(), muted ? "speaker.slash.fill" : "speaker.wave.2.fill");
        EXPECT_EQ(bar.soundButton()->toolTip(), muted ? "Sound off" : "Sound on");
    }

    // Hint works with a panel open; the menu button pauses even then.
    model->setPanelID("some panel");
    QTest::mouseClick(bar.hintButton(), Qt::LeftButton);
    ASSERT_TRUE(model->toast());
    EXPECT_EQ(model->toast()->kind, Toast::Kind::hint);
    QTest::mouseClick(bar.menuButton(), Qt::LeftButton);
    EXPECT_TRUE(model->paused());
}

TEST_F(HUDTest, InventoryBarShowsTilesCaptionsAndTooltips) {
    GameView& game = openGame(1);
    InventoryBar& bar = *game.inventoryBar();
    EXPECT_EQ(bar.slotCount(), 6);
    EXPECT_EQ(bar.caption(), "Tap things to search the room. Items you find appear here.");
    EXPECT_EQ(bar.tileToolTip(0), "");

    tapVase();
    EXPECT_EQ(bar.caption(), "Tap an item to pick it up, then tap where to use it.");
    EXPECT_EQ(bar.tileToolTip(0), "Brass Key");
    EXPECT_EQ(bar.tileToolTip(1), "");
    EXPECT_EQ(bar.tileTarget("key").gained, 1) << "a new item glows";
    clock.advance(0.9);
    EXPECT_EQ(bar.tileTarget("key").gained, 0);

    // The tooltip appears over a filled tile only.
    QHelpEvent over(QEvent::ToolTip, bar.tileRect(0).center().toPoint(), bar.mapToGlobal(bar.tileRect(0).center().toPoint()));
    QApplication::sendEvent(&bar, &over);
    EXPECT_EQ(QToolTip::text(), "Brass Key");
    QHelpEvent empty(QEvent::ToolTip, bar.tileRect(3).center().toPoint(), bar.mapToGlobal(bar.tileRect(3).center().toPoint()));
    QApplication::sendEvent(&bar, &empty);
    EXPECT_FALSE(empty.isAccepted());

    clickTile(0);
    EXPECT_EQ(model->state().selected, "key");
    EXPECT_EQ(bar.caption(), "Using brass key. Tap something to use it, or another item to combine.");
    EXPECT_EQ(bar.tileTarget("key").selected, 1);
    clickTile(3);  // an empty tile is no button
    EXPECT_EQ(model->state().selected, "key");
    clickTile(0);
    EXPECT_EQ(model->state().selected, std::nullopt);
    EXPECT_EQ(bar.tileTarget("key").selected, 0);

    // While the door opens the click reaches the model, which refuses it.
    model->handle({ostrevan::ev::enter()});
    clickTile(0);
    EXPECT_EQ(model->state().selected, std::nullopt);
}

TEST_F(HUDTest, ToastsOfEachKindAppearAndExpire) {
    GameView& game = openGame(1);
    EXPECT_EQ(game.toastView(), nullptr);

    // A look text: info, for max(2.4, 1.4 + 0.045 per character) seconds.
    clickStage(*game.stage(), centreOf(room(1).prop("plant")->rect));
    ASSERT_NE(game.toastView(), nullptr);
    EXPECT_EQ(game.toastView()->toast().kind, Toast::Kind::info);
    EXPECT_EQ(toastSymbol(Toast::Kind::info), "sparkle");
    EXPECT_EQ(toastColor(Toast::Kind::info), H(0xFFE6A8));
    const double lifetime = toastLifetime(game.toastView()->toast().text);
    clock.advance(lifetime - 0.01);
    EXPECT_NE(game.toastView(), nullptr);
    clock.advance(0.01);
    EXPECT_EQ(game.toastView(), nullptr);

    // A hint: nine seconds.
    QTest::mouseClick(game.topBar()->hintButton(), Qt::LeftButton);
    ASSERT_NE(game.toastView(), nullptr);
    EXPECT_EQ(game.toastView()->toast().kind, Toast::Kind::hint);
    EXPECT_EQ(toastSymbol(Toast::Kind::hint), "lightbulb.fill");
    EXPECT_EQ(toastColor(Toast::Kind::hint), UI::amber());
    ToastView* hint = game.toastView();

    // A wrong use replaces it at once: the hint's capsule leaves, the new one enters.
    tapVase();
    model->tapItem("key");
    clickStage(*game.stage(), centreOf(room(1).prop("plant")->rect));
    ASSERT_NE(game.toastView(), nullptr);
    EXPECT_NE(game.toastView(), hint);
    EXPECT_EQ(game.toastView()->toast().kind, Toast::Kind::wrong);
    EXPECT_EQ(toastSymbol(Toast::Kind::wrong), "xmark.circle.fill");
    EXPECT_EQ(toastColor(Toast::Kind::wrong), H(0xE5474B));
    EXPECT_TRUE(hasIcon(toastSymbol(Toast::Kind::wrong)));
    clock.advance(9);
    EXPECT_EQ(game.toastView(), nullptr);
}

TEST_F(HUDTest, ToastCapsuleFitsItsTextAndSitsOverTheStageFoot) {
    GameView& game = openGame(1, QSize(1200, 820));
    model->showToast("Short.");
    ToastView& toast = *game.toastView();
    EXPECT_EQ(toast.lines().size(), 1u);
    const QSizeF small = toast.capsuleSize(1000);
    EXPECT_LT(small.width(), 200);

    const QString longText = QString("A much longer message ").repeated(8).trimmed();
    model->showToast(longText);
    ToastView& wrapped = *game.toastView();
    EXPECT_GT(wrapped.lines().size(), 1u);
    EXPECT_LE(wrapped.capsuleSize(1000).width(), 620);
    EXPECT_EQ(wrapped.lines().front().split(' ').first(), "A");
    QString joined;
    for (const QString& line : wrapped.lines()) joined += (joined.isEmpty() ? "" : " ") + line;
    EXPECT_EQ(joined, longText) << "nothing is cut off";

    // Once in, it is centred over the stage, 30 above the stage area's foot.
    const QRect stageArea = game.stage()->geometry();
    ASSERT_TRUE(QTest::qWaitFor([&] { return game.toastView() && game.toastView()->presence() >= 0.999; }, 3000));
    const QRect capsule = game.toastView()->geometry();
    EXPECT_NEAR(capsule.bottom() + 1, stageArea.bottom() + 1 - 30, 1);
    EXPECT_NEAR(capsule.center().x(), stageArea.center().x(), 1);
}

TEST_F(HUDTest, IntroCardShowsForTheRoomAndLetsClicksThrough) {
    GameView& game = openGame(1);
    EXPECT_FALSE(game.introCard()->isVisible());
    model->restartRoom();
    IntroCard& card = *game.introCard();
    ASSERT_TRUE(card.isVisible());
    ASSERT_TRUE(card.intro());
    EXPECT_EQ(card.intro()->number, 1);
    EXPECT_EQ(card.intro()->name, QString::fromStdString(room(1).name));
    EXPECT_DOUBLE_EQ(card.opacity(), 1);
    EXPECT_GE(card.cardSize(1200).width(), 528);
    EXPECT_LE(card.cardSize(1200).width(), 1200);
    EXPECT_EQ(card.geometry(), game.rect());

    // The stage under the card still takes clicks.
    tapVase();
    EXPECT_EQ(model->state().inventory, std::vector<std::string>{"key"});

    clock.advance(2.6);
    EXPECT_FALSE(model->intro());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !card.isVisible(); }, 3000));
}

TEST_F(HUDTest, TheFlashRisesAndFallsDuringTheDoorSequence) {
    GameView& game = openGame(1);
    FlashLayer& flash = *game.flashLayer();
    EXPECT_TRUE(flash.testAttribute(Qt::WA_TransparentForMouseEvents));
    tapVase();
    QTest::mouseClick(game.inventoryBar(), Qt::LeftButton, Qt::NoModifier,
                      game.inventoryBar()->tileRect(0).center().toPoint());
    clickStage(*game.stage(), centreOf(room(1).prop("door")->rect));
    ASSERT_TRUE(model->doorOpenStart());
    EXPECT_DOUBLE_EQ(flash.targetOpacity(), 0);

    clock.advance(1.15);
    EXPECT_DOUBLE_EQ(flash.targetOpacity(), 1);
    clock.advance(0.45);
    EXPECT_EQ(model->state().level, 2);
    EXPECT_EQ(game.topBar()->roomLine(), "ROOM 2 OF 50");
    ASSERT_TRUE(game.introCard()->intro());
    EXPECT_EQ(game.introCard()->intro()->number, 2);
    clock.advance(0.1);
    EXPECT_DOUBLE_EQ(flash.targetOpacity(), 0);
}

TEST_F(HUDTest, EscapeAndHFollowTheirPrecedence) {
    openGame(1);
    press(Qt::Key_Escape);
    EXPECT_TRUE(model->paused());
    press(Qt::Key_H, "h");
    EXPECT_FALSE(model->toast()) << "no hint while paused, yet the key is taken";
    press(Qt::Key_Escape);
    EXPECT_FALSE(model->paused());

    model->setPaused(true);
    model->setShowHelp(true);
    press(Qt::Key_Escape);
    EXPECT_FALSE(model->showHelp());
    EXPECT_TRUE(model->paused());
    press(Qt::Key_Escape);
    EXPECT_FALSE(model->paused());

    model->setPanelID("lock");
    press(Qt::Key_H, "h");
    EXPECT_FALSE(model->toast());
    press(Qt::Key_Escape);
    EXPECT_EQ(model->panelID(), std::nullopt);
    EXPECT_FALSE(model->paused());
    EXPECT_FALSE(model->state().flags.contains("solved_lock"));

    press(Qt::Key_H, "h");
    ASSERT_TRUE(model->toast());
    EXPECT_EQ(model->toast()->kind, Toast::Kind::hint);
    EXPECT_EQ(sound.played.back(), Sfx::tap);
}

TEST_F(HUDTest, TheScreenTakesTheKeysBackAfterEveryPanelChange) {
    GameView& game = openGame(1);
    EXPECT_EQ(game.window()->focusWidget(), &game);
    game.topBar()->menuButton()->setFocus();
    ASSERT_NE(game.window()->focusWidget(), &game);
    model->setPanelID("lock");
    EXPECT_EQ(game.window()->focusWidget(), &game);
    game.topBar()->menuButton()->setFocus();
    model->setPanelID(std::nullopt);
    EXPECT_EQ(game.window()->focusWidget(), &game);
}

TEST_F(HUDTest, LayersStackInOrderAndFillTheScreen) {
    GameView& game = openGame(1);
    model->showToast("Over the stage.");
    const QWidget* order[] = {game.stage(),   game.toastView(), game.panelOverlay(), game.introCard(),
                              game.flashLayer(), game.pauseMenu(), game.helpCard()};
    for (std::size_t i = 1; i < std::size(order); ++i)
        EXPECT_LT(depthOf(&game, order[i - 1]), depthOf(&game, order[i])) << "layer " << i;
    game.resize(1000, 760);
    for (const QWidget* layer : {static_cast<const QWidget*>(game.panelOverlay()), static_cast<const QWidget*>(game.introCard()),
                                 static_cast<const QWidget*>(game.flashLayer()), static_cast<const QWidget*>(game.pauseMenu()),
                                 static_cast<const QWidget*>(game.helpCard())})
        EXPECT_EQ(layer->geometry(), game.rect());
}

// ## The shared look: palette, item icon square, easing, glass buttons and icons

TEST(HUDStyle, ItemIconInsetsBySixPercent) {
    const std::pair<ostrevan::Rect, ostrevan::Rect> cases[] = {
        {{0, 0, 50, 50}, {3, 3, 44, 44}},
        {{0, 0, 64, 64}, {3.84, 3.84, 56.32, 56.32}},
        {{0, 0, 100, 50}, {6, 3, 88, 44}},
        {{10, 20, 50, 50}, {13, 23, 44, 44}},
    };
    for (const auto& [frame, inner] : cases) {
        const ostrevan::Rect r = itemIconRect(frame);
        EXPECT_NEAR(r.x, inner.x, 1e-9);
        EXPECT_NEAR(r.y, inner.y, 1e-9);
        EXPECT_NEAR(r.w, inner.w, 1e-9);
        EXPECT_NEAR(r.h, inner.h, 1e-9);
    }
    EXPECT_EQ(UI::bg(), H(0x0E0C0B));
    EXPECT_EQ(UI::good(), H(0x4FE08A));
}

TEST(HUDStyle, MotionsStartAtZeroAndSettleAtOne) {
    const Motion motions[] = {Motion::easeIn(0.3), Motion::easeOut(0.12), Motion::easeInOut(0.3),
                              Motion::spring(0.28, 0.6), Motion::spring(0.3, 1)};
    for (const Motion& m : motions) {
        EXPECT_NEAR(m.progress(0), 0, 1e-9);
        EXPECT_DOUBLE_EQ(m.progress(m.duration()), 1);
        EXPECT_NEAR(m.progress(m.duration() * 0.999), 1, 0.01);
    }
    EXPECT_GT(easing::easeOut(0.5), 0.5);
    EXPECT_LT(easing::easeIn(0.5), 0.5);
    EXPECT_NEAR(easing::easeInOut(0.5), 0.5, 1e-6);
    // An underdamped spring overshoots on the way.
    double peak = 0;
    for (double t = 0; t < 0.5; t += 0.005) peak = std::max(peak, easing::spring(t, 0.28, 0.6));
    EXPECT_GT(peak, 1.05);
    EXPECT_DOUBLE_EQ(Motion::instant().duration(), 0);

    AnimatedValue value(0);
    value.animateTo(1, Motion::instant());
    EXPECT_DOUBLE_EQ(value.value(), 1);
    value.animateTo(0, Motion::easeOut(0.2));
    EXPECT_DOUBLE_EQ(value.target(), 0);
    EXPECT_TRUE(value.isRunning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return value.value() == 0; }, 3000));
}

TEST(HUDStyle, GlassButtonsFollowTheirSizeAndStateTables) {
    const GlassMetrics compact = glassMetrics(true);
    const GlassMetrics normal = glassMetrics(false);
    EXPECT_EQ(compact.font.size, 13);
    EXPECT_EQ(normal.font.size, 15);
    EXPECT_EQ(compact.font.weight, FontWeight::semibold);
    EXPECT_EQ(compact.font.design, FontDesign::rounded);
    EXPECT_EQ((std::array{compact.padX, compact.padY, compact.radius}), (std::array{12.0, 7.0, 10.0}));
    EXPECT_EQ((std::array{normal.padX, normal.padY, normal.radius}), (std::array{18.0, 10.0, 12.0}));
    EXPECT_EQ(glassLabelColor(true), H(0x1A1208));
    EXPECT_EQ(glassSlabTop(true), UI::amber());
    EXPECT_EQ(glassSlabBottom(false), UI::panel());
    // Pressing wins over hovering; the rim follows the hover alone.
    EXPECT_DOUBLE_EQ(glassBrightness(true, 1), -0.1);
    EXPECT_DOUBLE_EQ(glassBrightness(false, 1), 0.06);
    EXPECT_DOUBLE_EQ(glassBrightness(false, 0), 0);
    EXPECT_DOUBLE_EQ(glassRimOpacity(0), 0.14);
    EXPECT_DOUBLE_EQ(glassRimOpacity(1), 0.35);

    // The label sets the size: padding round the text; a minimum label frame wins when larger.
    GlassButton key(QStringLiteral("7"), false, false);
    key.setLabelMinimumSize(QSizeF(66, 46));
    EXPECT_EQ(key.sizeHint(), QSize(66 + 36, 46 + 20));
    GlassButton hint(QStringLiteral("Hint"), true, true);
    GlassButton bare(QStringLiteral("Hint"), true, true);
    hint.setSymbol("lightbulb.fill");
    EXPECT_GT(hint.sizeHint().width(), bare.sizeHint().width());
    EXPECT_EQ(bare.sizeHint().width(), int(std::ceil(textWidth("Hint", compact.font) + 24)));

    // Clicks reach the action; the pointer brings the hover look in.
    int clicks = 0;
    QObject::connect(&hint, &GlassButton::clicked, [&] { ++clicks; });
    hint.resize(hint.sizeHint());
    hint.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&hint));
    QTest::mouseClick(&hint, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&hint, &enter);
    EXPECT_TRUE(hint.isHovering());
    ASSERT_TRUE(QTest::qWaitFor([&] { return hint.hoverProgress() >= 1; }, 3000));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&hint, &leave);
    EXPECT_FALSE(hint.isHovering());

    // Disabled: drawn at 0.4 over the normal look.
    const QImage on = hint.grab().toImage();
    hint.setEnabled(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return hint.hoverProgress() <= 0; }, 3000));
    const QImage off = hint.grab().toImage();
    const QPoint mid(hint.width() / 2, 3);
    EXPECT_NE(on.pixel(mid), off.pixel(mid));
}

TEST(HUDStyle, EveryIconDrawsAndUnknownNamesDrawNothing) {
    for (const std::string_view name : kIconNames) {
        const QImage image = iconPixmap(name, 24, Qt::white).toImage();
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) inked += qAlpha(image.pixel(x, y)) > 128;
        EXPECT_GT(inked, 20) << name;
        EXPECT_LT(inked, 24 * 24 * 3 / 4) << name;
        EXPECT_TRUE(hasIcon(name));
    }
    // The symbols the screens ask for by name.
    for (const char* name : {"line.3.horizontal", "speaker.wave.2.fill", "speaker.slash.fill", "lightbulb.fill", "sparkle",
                             "xmark.circle.fill", "xmark", "hand.tap.fill", "square.grid.2x2.fill", "link",
                             "lock.open.fill", "moon.fill", "door.left.hand.open", "play.fill", "arrow.counterclockwise",
                             "arrow.triangle.2.circlepath", "questionmark.circle", "house.fill", "chevron.up",
                             "chevron.down"})
        EXPECT_TRUE(hasIcon(name)) << name;
    const QImage unknown = iconPixmap("no.such.symbol", 24, Qt::white).toImage();
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) ASSERT_EQ(qAlpha(unknown.pixel(x, y)), 0);
}
