// The game screen: top bar, inventory bar, toasts, intro card, flash, keys, focus and the order
// of the layers, driven through the real widgets over room 1 on a manual clock.
#include "GameScreenFixture.hpp"
#include "PaintProbe.hpp"

#include <Tallowmere/Art/Icons.hpp>
#include <Tallowmere/Panels/PanelViews.hpp>
#include <Tallowmere/Screens/Cards.hpp>
#include <Tallowmere/Screens/GameView.hpp>
#include <Tallowmere/Screens/InventoryBar.hpp>
#include <Tallowmere/Screens/MenuCards.hpp>
#include <Tallowmere/Screens/StageView.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>
#include <Tallowmere/Widgets/ItemIcon.hpp>
#include <Tallowmere/Widgets/MenuWidgets.hpp>

#include <QEnterEvent>
#include <QPainter>
#include <QUuid>
#include <QHelpEvent>
#include <QToolTip>
#include <QWindow>

#include <functional>

using namespace tallowmere;
using namespace tallowmere::testing;
using ostrevan::Sfx;

namespace {

class GameViewTest : public GameScreenTest {
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
    // A hint wide enough to lie over the floor's things, its capsule in place at once; answers
    // the middle of the first stretch of the capsule's middle line over a prop the stage would
    // ring, from the left.
    std::optional<QPoint> wideHintOverAProp() {
        model->showToast(QString("A hint wide enough to lie over the floor's things. ").repeated(2).trimmed());
        view->toastView()->enter(Motion::instant());
        const QRect capsule = view->toastView()->geometry();
        const StageView& stage = *view->stage();
        std::optional<int> start;
        for (int x = capsule.left() + 4; x < capsule.right() - 4; x += 4) {
            const QPointF point = stage.mapFrom(view.get(), QPointF(x, capsule.center().y()));
            const bool over = propAt(model->level(), model->state().flags, stage.toStage(point)) != nullptr;
            if (over && !start) start = x;
            if (!over && start) return QPoint((*start + x) / 2, capsule.center().y());
        }
        return std::nullopt;
    }
    void press(Qt::Key key, const QString& text = {}) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(view.get(), &down);
        EXPECT_TRUE(down.isAccepted());
    }

    std::unique_ptr<GameView> view;
};

// Counts the paints its watched widget gets.
struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

// The order of the direct children of `parent`, back to front.
int depthOf(const QWidget* parent, const QWidget* child) {
    return int(parent->children().indexOf(const_cast<QWidget*>(child)));
}

}  // namespace

TEST(GameView, CapitalizeWordsCapitalisesEachWord) {
    const std::pair<QString, QString> cases[] = {
        {"brass key", "Brass Key"}, {"UV torch", "Uv Torch"}, {"", ""}, {"  two  spaces", "  Two  Spaces"},
        {"x-ray film", "X-ray Film"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(capitalizeWords(in), out) << in.toStdString();
}

TEST_F(GameViewTest, TopBarShowsTheRoomAndWorksItsButtons) {
    GameView& game = openGame(7);
    TopBar& bar = *game.topBar();
    EXPECT_EQ(bar.roomLine(), "ROOM 7 OF 50");
    EXPECT_EQ(bar.roomName(), QString::fromStdString(room(7).name));

    // The sound button flips the player, then the model's copy; the icon and tooltip follow.
    for (const bool muted : {true, false}) {
        QTest::mouseClick(bar.soundButton(), Qt::LeftButton);
        EXPECT_EQ(sound.mutedNow, muted);
        EXPECT_EQ(model->muted(), muted);
        EXPECT_EQ(bar.soundButton()->symbol(), muted ? "speaker.slash.fill" : "speaker.wave.2.fill");
        EXPECT_EQ(bar.soundButton()->toolTip(), muted ? "Sound off" : "Sound on");
    }

    EXPECT_EQ(bar.menuButton()->toolTip(), "Pause menu (Esc)");
    EXPECT_EQ(bar.hintButton()->toolTip(), "Get a hint for what you're stuck on (H). Press again for a stronger hint.");

    // Hint works with a panel open; the menu button pauses even then.
    model->setPanelID("some panel");
    QTest::mouseClick(bar.hintButton(), Qt::LeftButton);
    ASSERT_TRUE(model->toast());
    EXPECT_EQ(model->toast()->kind, Toast::Kind::hint);
    QTest::mouseClick(bar.menuButton(), Qt::LeftButton);
    EXPECT_TRUE(model->paused());
}

TEST_F(GameViewTest, InventoryBarShowsTilesCaptionsAndTooltips) {
    GameView& game = openGame(1);
    InventoryBar& bar = *game.inventoryBar();
    EXPECT_EQ(bar.slotCount(), 6);
    EXPECT_EQ(bar.caption(), "Tap things to search the room. Items you find appear here.");

    tapVase();
    EXPECT_EQ(bar.caption(), "Tap an item to pick it up, then tap where to use it.");
    EXPECT_EQ(bar.tileTarget("key").gained, 1) << "a new item glows";
    clock.advance(0.9);
    EXPECT_EQ(bar.tileTarget("key").gained, 0);

    // The tooltip, capitalised, appears over a filled tile only.
    const auto tipAt = [&](int tile) {
        const QPoint at = bar.tileRect(tile).center().toPoint();
        QHelpEvent help(QEvent::ToolTip, at, bar.mapToGlobal(at));
        QApplication::sendEvent(&bar, &help);
        return help.isAccepted() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(0), "Brass Key");
    EXPECT_EQ(tipAt(3), "");

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

TEST_F(GameViewTest, ToastsOfEachKindAppearAndExpire) {
    GameView& game = openGame(1);
    EXPECT_EQ(game.toastView(), nullptr);

    // A look text: info, for max(2.4, 1.4 + 0.045 per character) seconds.
    clickStage(*game.stage(), centreOf(room(1).prop("plant")->rect));
    ASSERT_NE(game.toastView(), nullptr);
    EXPECT_EQ(game.toastView()->toast().kind, Toast::Kind::info);
    clock.advance(toastLifetime(game.toastView()->toast().text) - 0.01);
    EXPECT_NE(game.toastView(), nullptr);
    clock.advance(0.01);
    EXPECT_EQ(game.toastView(), nullptr);

    // A hint: nine seconds.
    QTest::mouseClick(game.topBar()->hintButton(), Qt::LeftButton);
    ASSERT_NE(game.toastView(), nullptr);
    EXPECT_EQ(game.toastView()->toast().kind, Toast::Kind::hint);
    const ToastView* hint = game.toastView();

    // A wrong use replaces it at once: the hint's capsule leaves, the new one enters, and the
    // hint's nine seconds do not keep the new one.
    tapVase();
    model->tapItem("key");
    clickStage(*game.stage(), centreOf(room(1).prop("plant")->rect));
    ASSERT_NE(game.toastView(), nullptr);
    EXPECT_NE(game.toastView(), hint);
    EXPECT_EQ(game.toastView()->toast().kind, Toast::Kind::wrong);
    EXPECT_TRUE(hasIcon(toastSymbol(Toast::Kind::wrong)));
    clock.advance(toastLifetime(game.toastView()->toast().text));
    EXPECT_EQ(game.toastView(), nullptr);
}

TEST_F(GameViewTest, ToastCapsuleFitsItsTextAndSitsOverTheStageFoot) {
    GameView& game = openGame(1, QSize(1200, 820));
    model->showToast("Short.");
    EXPECT_EQ(game.toastView()->lines().size(), 1u);
    EXPECT_LT(game.toastView()->capsuleSize(1000).width(), 200);

    const QString longText = QString("A much longer message ").repeated(8).trimmed();
    model->showToast(longText);
    const ToastView& wrapped = *game.toastView();
    EXPECT_GT(wrapped.lines().size(), 1u);
    EXPECT_LE(wrapped.capsuleSize(1000).width(), 620);
    EXPECT_EQ(QStringList(wrapped.lines().begin(), wrapped.lines().end()).join(' '), longText) << "nothing is cut off";

    // Once in, it is centred over the stage, 30 above the stage area's foot.
    ASSERT_TRUE(QTest::qWaitFor([&] { return game.toastView() && game.toastView()->presence() >= 0.999; }, 3000));
    for (const QSize size : {QSize(1200, 820), QSize(960, 720)}) {
        // A window resized with the toast shown keeps it over the stage's foot.
        game.window()->resize(size);
        QApplication::processEvents();
        const QRect area = game.stage()->geometry();
        const QRect capsule = game.toastView()->geometry();
        EXPECT_NEAR(capsule.bottom(), area.bottom() - 30, 1) << size.width();
        EXPECT_NEAR(capsule.center().x(), area.center().x(), 1) << size.width();
    }
}

TEST_F(GameViewTest, IntroCardShowsForTheRoomAndLetsClicksThrough) {
    GameView& game = openGame(1);
    EXPECT_FALSE(game.introCard()->isVisible());
    model->restartRoom();
    IntroCard& card = *game.introCard();
    ASSERT_TRUE(card.isVisible());
    ASSERT_TRUE(card.intro());
    EXPECT_EQ(card.intro()->number, 1);
    EXPECT_DOUBLE_EQ(card.opacity(), 1);
    EXPECT_GE(card.cardSize(1200).width(), 528);
    EXPECT_EQ(card.geometry(), game.rect());

    // The stage under the card still takes clicks.
    tapVase();
    EXPECT_EQ(model->state().inventory, std::vector<std::string>{"key"});

    clock.advance(2.6);
    EXPECT_FALSE(model->intro());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !card.isVisible(); }, 3000));
}

TEST_F(GameViewTest, TheFlashRisesAndFallsDuringTheDoorSequence) {
    GameView& game = openGame(1);
    const FlashLayer& flash = *game.flashLayer();
    EXPECT_TRUE(flash.testAttribute(Qt::WA_TransparentForMouseEvents));
    tapVase();
    clickTile(0);
    clickStage(*game.stage(), centreOf(room(1).prop("door")->rect));
    ASSERT_TRUE(model->doorOpenStart());
    EXPECT_DOUBLE_EQ(flash.targetOpacity(), 0);

    clock.advance(1.15);
    EXPECT_DOUBLE_EQ(flash.targetOpacity(), 1);
    clock.advance(0.45);
    EXPECT_EQ(game.topBar()->roomLine(), "ROOM 2 OF 50");
    clock.advance(0.1);
    EXPECT_DOUBLE_EQ(flash.targetOpacity(), 0);
}

TEST_F(GameViewTest, EscapeAndHFollowTheirPrecedence) {
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

    press(Qt::Key_H, "h");
    ASSERT_TRUE(model->toast());
    EXPECT_EQ(model->toast()->kind, Toast::Kind::hint);
    EXPECT_EQ(sound.played.back(), Sfx::tap);
}

TEST_F(GameViewTest, TheScreenTakesTheKeysBackAfterEveryPanelChange) {
    GameView& game = openGame(1);
    EXPECT_EQ(game.window()->focusWidget(), &game);
    for (const std::optional<std::string>& panel : {std::optional<std::string>("lock"), std::optional<std::string>()}) {
        game.topBar()->menuButton()->setFocus();
        ASSERT_NE(game.window()->focusWidget(), &game);
        model->setPanelID(panel);
        EXPECT_EQ(game.window()->focusWidget(), &game);
    }
}

TEST_F(GameViewTest, LayersStackInOrderAndFillTheScreen) {
    GameView& game = openGame(1);
    model->showToast("Over the stage.");
    const std::vector<const QWidget*> order = {game.stage(),      game.toastView(), game.panelOverlay(), game.introCard(),
                                               game.flashLayer(), game.pauseMenu(), game.helpCard()};
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(depthOf(&game, order[i - 1]), depthOf(&game, order[i])) << "layer " << i;
    game.resize(1000, 760);
    for (std::size_t i = 2; i < order.size(); ++i) EXPECT_EQ(order[i]->geometry(), game.rect()) << "layer " << i;
}

// The pause menu, the help card over it and a panel take the pointer's clicks over the stage,
// yet the stage still follows its moves: the pointer's place (a dark room's light) and the held
// item move, no ring, the arrow.
TEST_F(GameViewTest, TheStageFollowsThePointerUnderTheLayersThatCoverIt) {
    GameView& game = openGame(5);
    StageView& stage = *game.stage();
    QWindow* window = game.windowHandle();
    // Events go to the window, which hands them to the widget under the pointer as the real
    // one does (moves over widgets that do not track the pointer are dropped there).
    const auto at = [&](QPointF stagePoint) { return stage.mapTo(&game, stage.toWidget(stagePoint)).toPoint(); };
    const QPointF pad = centreOf(room(5).prop("pad")->rect);
    const QPointF emptyFloor(40, 600);
    // The fridge opens, then gives up its battery.
    for (int tap = 0; tap < 2; ++tap) QTest::mouseClick(window, Qt::LeftButton, {}, at(centreOf(room(5).prop("fridge")->rect)));
    model->tapItem("battery");
    ASSERT_EQ(model->state().selected, "battery");
    ASSERT_NE(room(5).panel("pad"), nullptr);

    struct Layer {
        const char* name;
        std::function<void()> open;
        std::function<bool()> shown;
    };
    const Layer layers[] = {
        {"pause menu", [&] { model->setPaused(true); }, [&] { return model->paused(); }},
        {"help card", [&] { model->setPaused(true), model->setShowHelp(true); }, [&] { return model->showHelp(); }},
        // The game menu's Pause / Resume clears the pause under the help card: it still takes the hover.
        {"help card alone", [&] { model->setPaused(true), model->setShowHelp(true), model->setPaused(false); },
         [&] { return model->showHelp(); }},
        {"panel", [&] { model->setPanelID("pad"); }, [&] { return model->panelID().has_value(); }},
    };
    for (const Layer& layer : layers) {
        QTest::mouseMove(window, at(pad));
        ASSERT_EQ(stage.hover(), "pad") << layer.name;
        layer.open();
        QApplication::processEvents();
        const QPointF point = pad + QPointF(4, 3);
        QTest::mouseMove(window, at(point));
        ASSERT_NE(game.childAt(at(point)), &stage) << layer.name;
        EXPECT_LT(QLineF(stage.mouse(), point).length(), 1.5) << layer.name;
        EXPECT_TRUE(stage.hasMouse()) << layer.name;
        EXPECT_EQ(stage.hover(), std::nullopt) << layer.name;
        EXPECT_EQ(stage.cursor().shape(), Qt::ArrowCursor) << layer.name;
        ASSERT_TRUE(stage.heldItem()->isVisible()) << layer.name;
        const QRectF held(stage.heldItem()->mapTo(&stage, QPoint(0, 0)), QSizeF(stage.heldItem()->size()));
        EXPECT_LT(QLineF(held.center(), stage.toWidget(point) + QPointF(24, 24)).length(), 1.5) << layer.name;
        // Its click stays its own: the backdrop closes it, and the stage deselects nothing.
        QTest::mouseClick(window, Qt::LeftButton, {}, at(emptyFloor));
        EXPECT_FALSE(layer.shown()) << layer.name;
        EXPECT_EQ(model->state().selected, "battery") << layer.name;
        model->setPaused(false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return game.childAt(at(emptyFloor)) == &stage; }, 3000)) << layer.name;
    }

    // With a layer shown, the pointer going onto a bar, or out of the window, leaves the stage:
    // no hover, no held item, the light stays where it left.
    model->setPaused(true);
    QApplication::processEvents();
    for (const bool outOfWindow : {false, true}) {
        QTest::mouseMove(window, at(pad));
        ASSERT_TRUE(stage.hasMouse());
        const QPointF last = stage.mouse();
        if (outOfWindow) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(&game, &leave);
        } else {
            QTest::mouseMove(window, game.inventoryBar()->geometry().center());
        }
        EXPECT_FALSE(stage.hasMouse()) << outOfWindow;
        EXPECT_EQ(stage.hover(), std::nullopt) << outOfWindow;
        EXPECT_EQ(stage.mouse(), last) << outOfWindow;
        EXPECT_FALSE(stage.heldItem()->isVisible()) << outOfWindow;
    }
}

// The toast takes the clicks on its capsule, yet the stage follows the pointer's moves over it
// (the light's place and the held item move, no ring, the arrow), and the capsule's glass frosts
// the held item beneath it as it does the room.
TEST_F(GameViewTest, TheStageFollowsThePointerOverTheToastWhoseGlassFrostsTheHeldItem) {
    // Room 3's rug lies under the capsule; rolled back, it gives the small key. The whole window
    // lies on the headless screen, where the application can tell which widget is under a point.
    GameView& game = openGame(3, QSize(780, 580));
    StageView& stage = *game.stage();
    stage.setArtClock([] { return 0.0; });  // frames rendered between two looks are alike
    QWindow* window = game.windowHandle();
    model->tapProp("rug");
    model->tapProp("pick_small");
    model->tapItem("small");
    ASSERT_EQ(model->state().selected, "small");
    const std::optional<QPoint> overProp = wideHintOverAProp();
    ASSERT_TRUE(overProp) << "no prop under the capsule";
    ToastView& toast = *game.toastView();
    const QRect capsule = toast.geometry();
    const auto heldCentre = [&] {
        return QRectF(stage.heldItem()->mapTo(&game, QPoint(0, 0)), QSizeF(stage.heldItem()->size())).center();
    };
    QTest::mouseMove(window, capsule.topLeft() - QPoint(0, 40));
    ASSERT_TRUE(stage.hasMouse());
    for (const QPoint point : {*overProp, capsule.center(), capsule.topRight() + QPoint(-8, 4)}) {
        QTest::mouseMove(window, point);
        ASSERT_EQ(game.childAt(point), &toast);
        EXPECT_TRUE(stage.hasMouse()) << point.x();
        EXPECT_LT(QLineF(stage.toWidget(stage.mouse()), stage.mapFrom(&game, QPointF(point))).length(), 1.5) << point.x();
        EXPECT_EQ(stage.hover(), std::nullopt) << point.x();
        EXPECT_EQ(stage.cursor().shape(), Qt::ArrowCursor) << point.x();
        EXPECT_EQ(toast.cursor().shape(), Qt::ArrowCursor) << point.x();
        ASSERT_TRUE(stage.heldItem()->isVisible()) << point.x();
        EXPECT_LT(QLineF(heldCentre(), QPointF(point) + QPointF(24, 24)).length(), 1.5) << point.x();
    }
    // Its click stays its own: the stage deselects nothing.
    QTest::mouseClick(window, Qt::LeftButton, {}, capsule.center());
    EXPECT_EQ(model->state().selected, "small");

    // Off the capsule in one jump into the inventory bar, past the strip of stage below it: the
    // held item goes, as after the same jump from the stage.
    const QPoint bar = game.inventoryBar()->geometry().center();
    QCursor::setPos(game.mapToGlobal(bar));
    ASSERT_EQ(QApplication::widgetAt(game.mapToGlobal(bar)), game.inventoryBar());
    QTest::mouseMove(window, bar);
    EXPECT_FALSE(stage.hasMouse());
    EXPECT_FALSE(stage.heldItem()->isVisible());
    // Back on it; an Enter that says nothing of where, as anyone may send, moves nothing.
    QTest::mouseMove(window, capsule.center());
    ASSERT_TRUE(stage.hasMouse());
    const QPointF rest = stage.mouse();
    QEvent bareEnter(QEvent::Enter);
    QApplication::sendEvent(&toast, &bareEnter);
    EXPECT_TRUE(stage.hasMouse());
    EXPECT_EQ(stage.mouse(), rest);

    // The held item under the capsule's left end, then under its right: the glass shows it move.
    // Moves handed straight to the capsule, so no frame of the room is rendered between.
    const auto glassWithHeldAt = [&](QPoint point) {
        QMouseEvent move(QEvent::MouseMove, toast.mapFrom(&game, QPointF(point)), QPointF(point),
                         game.mapToGlobal(QPointF(point)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&toast, &move);
        return game.grab(capsule).toImage();
    };
    const QImage left = glassWithHeldAt(capsule.topLeft() + QPoint(30, 2));
    const QImage right = glassWithHeldAt(capsule.topRight() + QPoint(-90, 2));
    ASSERT_EQ(left.size(), right.size());
    // The columns over each place, text and all: only the glass beneath the text can differ.
    const int h = left.height();
    EXPECT_GT(differingPixels(left, right, QRect(30, 0, 50, h)), 500) << "the item is not in the glass where it came from";
    EXPECT_GT(differingPixels(left, right, QRect(left.width() - 100, 0, 50, h)), 500) << "the item is not in the glass where it went";
}

// Looking again for the pointer at rest where it really is (the window resized, or mapped
// again), the stage rings the prop beneath it only where nothing covers the stage: not under a
// hint's capsule, nor under the help card.
TEST_F(GameViewTest, LookingAgainForThePointerTheStageRingsNothingUnderALayer) {
    // The whole window lies on the headless screen (800 x 600), where the application can tell
    // which widget is under a point.
    GameView& game = openGame(3, QSize(780, 580));
    StageView& stage = *game.stage();
    const std::optional<QPoint> overProp = wideHintOverAProp();
    ASSERT_TRUE(overProp) << "no prop under the capsule";
    const QPoint global = game.mapToGlobal(*overProp);
    const std::string prop =
        propAt(model->level(), model->state().flags, stage.toStage(stage.mapFrom(&game, QPointF(*overProp))))->id;

    struct Cover {
        const char* name;
        std::function<void()> open;
        QWidget* layer;  // null: the stage itself is under the pointer
    };
    const Cover covers[] = {
        {"capsule", [] {}, game.toastView()},
        {"help card", [&] { model->setShowHelp(true); }, game.helpCard()},
        {"nothing", [&] { model->setShowHelp(false), game.toastView()->leave(Motion::instant()); }, nullptr},
    };
    for (const Cover& cover : covers) {
        cover.open();
        QApplication::processEvents();
        QCursor::setPos(global);
        const QWidget* under = QApplication::widgetAt(global);
        ASSERT_TRUE(cover.layer ? cover.layer == under || cover.layer->isAncestorOf(under) : under == &stage) << cover.name;
        for (const bool remap : {false, true}) {
            stage.losePointer();
            if (remap) {
                game.hide();
                game.show();
                ASSERT_TRUE(QTest::qWaitForWindowExposed(&game));
                QApplication::processEvents();  // the rest of the window system's word on the showing
            } else {
                game.resize(game.size() + QSize(2, 0));
            }
            const char* after = remap ? " mapped again" : " resized";
            EXPECT_TRUE(stage.hasMouse()) << cover.name << after;
            EXPECT_EQ(stage.hover(), cover.layer ? std::nullopt : std::optional(prop)) << cover.name << after;
        }
    }
}

// What the capsule shows on the screen itself follows the room beneath it, as a capsule made
// afresh over it shows it: dust drifting under it is seen through the glass, also where the glass
// blurs a mote past the little the stage repaints round it, and where motes drift under its rim,
// which each part painted again shows but once. It is painted once a tick at most, and where
// the dust leaves it still at times, only when its glass changed, and its glass blurred again
// only round what changed.
TEST_F(GameViewTest, TheToastsGlassOnScreenFollowsTheRoomBeneath) {
    struct Stretch {
        std::int64_t room;
        int ticks;
        bool stillAtTimes;  // some ticks change nothing beneath the capsule
    };
    // Room 27's dust drifts under the capsule's rim all the time.
    for (const Stretch stretch : {Stretch{1, 40, true}, Stretch{27, 60, false}}) {
        SCOPED_TRACE(stretch.room);
        view.reset();
        GameView& game = openGame(stretch.room);
        StageView& stage = *game.stage();
        double time = 1000;
        stage.setArtClock([&time] { return time; });
        model->showToast(QString("A hint wide enough to lie over the floor's things. ").repeated(2).trimmed());
        ToastView& toast = *game.toastView();
        toast.enter(Motion::instant());
        WAIT_UNTIL(stage.framesRendered() >= 2);
        QApplication::processEvents();
        const std::uint64_t beforeWhole = toast.glassPixelsBlurred();
        toast.showOver(&stage);  // a glass made whole again
        toast.repaint();
        const std::uint64_t wholeBlur = toast.glassPixelsBlurred() - beforeWhole;
        PaintCounter paints;
        toast.installEventFilter(&paints);
        const QRect capsule = toast.geometry();
        int painted = 0;
        for (int i = 0; i < stretch.ticks; ++i) {
            time += 0.25;
            paints.count = 0;
            stage.tick();
            QApplication::processEvents();  // the window's repaint and the capsule's queued look
            shownOnScreen(game, capsule);
            EXPECT_LE(paints.count, 1) << "tick " << i;
            painted += paints.count;
        }
        EXPECT_GT(painted, 0) << "the dust drifting beneath never reached the glass";
        if (stretch.stillAtTimes) {
            EXPECT_LT(painted, stretch.ticks) << "painted on ticks that changed nothing beneath it";
            EXPECT_LT(toast.glassPixelsBlurred() - beforeWhole - wholeBlur, std::uint64_t(painted) * wholeBlur / 2)
                << "the glass was blurred whole again";
        }
        const QImage shown = shownOnScreen(game, capsule);
        ToastView fresh(toast.toast(), &game);
        fresh.showOver(&stage);
        fresh.stackUnder(game.panelOverlay());
        fresh.place(stage.geometry());
        fresh.enter(Motion::instant());
        toast.hide();
        ASSERT_EQ(fresh.geometry(), capsule);
        const QImage whole = shownAfterWholeRepaint(game, capsule);
        EXPECT_EQ(largestDifference(shown, whole), 0) << differingPixels(shown, whole) << " pixels differ";
    }
}

// The held key sliding under the capsule's lower half, and a frame of the room falling due just
// as the glass reads the stage round the key again: after each partial repaint the capsule shows
// what a whole repaint shows, along its bottom edge too, where it falls inside a device pixel,
// and beyond the part the glass read, where the frame moved the dust drifting beneath.
TEST_F(GameViewTest, TheToastsGlassOnScreenFollowsTheHeldItemAndFramesFallingDue) {
    GameView& game = openGame(1);
    StageView& stage = *game.stage();
    constexpr double kDrifting = 18265;  // motes drift through the glass of the first hint all the time
    double time = kDrifting;
    stage.setArtClock([&time] { return time; });
    tapVase();
    clickTile(0);
    press(Qt::Key_H, "h");
    ToastView& toast = *game.toastView();
    toast.enter(Motion::instant());
    QApplication::processEvents();
    const QRect capsule = toast.geometry();
    // A point more all round holds the device pixels its edges fall inside.
    const auto offWhole = [&, around = capsule.adjusted(-1, -1, 1, 1)] {
        const QImage shown = shownOnScreen(game, around);
        toast.showOver(&stage);  // a glass made whole again
        return largestDifference(shown, shownAfterWholeRepaint(game, around));
    };
    // Every other one of 15 stops along it.
    for (int i = 1; i < 15; i += 2) {
        // The key's centre lies 24 right of and below the pointer.
        const int x = capsule.left() + 20 + i * (capsule.width() - 40) / 14;
        QTest::mouseMove(game.windowHandle(), QPoint(x, capsule.bottom() - capsule.height() / 4) - QPoint(24, 24));
        QApplication::processEvents();
        EXPECT_EQ(offWhole(), 0) << "the key under the capsule at stop " << i;
        // Put down, the key leaves the glass, and the room's next frame falls due.
        time = kDrifting + 0.25 * (i + 1);
        model->tapItem("key");
        QApplication::processEvents();
        EXPECT_EQ(offWhole(), 0) << "a frame due as the key left the glass at stop " << i;
        model->tapItem("key");
    }
}

// The same pause menu, paused again after a door and after a new game, names the room of the
// moment, not the one it first showed.
TEST_F(GameViewTest, ThePauseCardNamesTheRoomOfTheMoment) {
    GameView& game = openGame(1);
    const auto shownLine = [&] {
        for (const TextBlock* text : game.pauseMenu()->findChildren<TextBlock*>())
            if (text->text().startsWith("Room ")) return text->text();
        return QString();
    };
    const auto lineOf = [](std::int64_t number) {
        return QString("Room %1 \u00B7 %2").arg(number).arg(QString::fromStdString(room(number).name));
    };
    model->setPaused(true);
    EXPECT_EQ(shownLine(), "Room 1 \u00B7 Welcome");
    model->setPaused(false);
    tapVase();
    clickTile(0);
    clickStage(*game.stage(), centreOf(room(1).prop("door")->rect));
    clock.advance(1.6);
    model->setPaused(true);
    EXPECT_EQ(shownLine(), lineOf(2)) << "after the door";
    model->newGame();
    model->setPaused(true);
    EXPECT_EQ(shownLine(), lineOf(1)) << "after a new game";
}

// ## The shared look: item icon square, glass buttons and icons

TEST(GameViewStyle, ItemIconInsetsBySixPercent) {
    const std::pair<ostrevan::Rect, ostrevan::Rect> cases[] = {
        {{0, 0, 50, 50}, {3, 3, 44, 44}},
        {{0, 0, 64, 64}, {3.84, 3.84, 56.32, 56.32}},
        {{0, 0, 100, 50}, {6, 3, 88, 44}},
        {{10, 20, 50, 50}, {13, 23, 44, 44}},
    };
    for (const auto& [frame, inner] : cases) {
        const ostrevan::Rect r = itemIconRect(frame);
        EXPECT_EQ(QRectF(r.x, r.y, r.w, r.h), QRectF(inner.x, inner.y, inner.w, inner.h));  // fuzzy compare
    }
}

TEST_F(GameViewTest, ToastGlassBlursAndDarkensTheStageBehind) {
    // A capsule straddling the stage frame's left edge: the dark screen round the stage on its
    // left, room 1's wall on its right.
    GameView& game = openGame(1, QSize(1200, 820));
    const QRect frame = game.stage()->stageFrame().toRect().translated(game.stage()->pos());
    auto* toast = new ToastView(Toast{QUuid::createUuid(), QStringLiteral("Frosted glass over the stage."), Toast::Kind::info}, &game);
    toast->showOver(game.stage());
    toast->place(QRectF(frame.left() - 200, 0, 400, frame.top() + 200));
    toast->enter(Motion::instant());
    toast->hide();
    const QImage bare = shownOnScreen(game, game.rect());
    toast->show();
    const QImage glazed = shownOnScreen(game, game.rect());
    // A row of device pixels in the capsule's top padding, clear of its rim, icon and text.
    const double dpr = game.devicePixelRatioF();
    const int row = int((toast->geometry().top() + 5) * dpr);
    const auto steepest = [&](const QImage& shot) {
        int step = 0;
        for (int x = int((frame.left() - 30) * dpr); x < int((frame.left() + 30) * dpr); ++x)
            step = std::max(step, std::abs(qGray(shot.pixel(x + 1, row)) - qGray(shot.pixel(x, row))));
        return step;
    };
    // Through the 0.55 black alone the edge would keep 0.45 of its step.
    EXPECT_LT(steepest(glazed), 0.45 * steepest(bare) / 2) << "the edge shows sharp through the glass";
    const QPoint wall(int((frame.left() + 40) * dpr), row);
    EXPECT_NEAR(qGray(glazed.pixel(wall)), 0.45 * qGray(bare.pixel(wall)), 12) << "the wall, darkened by the fill";
}

TEST(GameViewStyle, GlassButtonHoverComesAndGoes) {
    GlassButton hint(QStringLiteral("Hint"), true, true);
    hint.resize(hint.sizeHint());
    hint.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&hint));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&hint, &enter);
    ASSERT_TRUE(QTest::qWaitFor([&] { return hint.hoverProgress() >= 1; }, 3000));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&hint, &leave);
    ASSERT_TRUE(QTest::qWaitFor([&] { return hint.hoverProgress() <= 0; }, 3000));
}

TEST(GameViewStyle, EveryIconDrawsAndUnknownNamesDrawNothing) {
    const auto inked = [](std::string_view name) {
        const QImage image = iconPixmap(name, 24, Qt::white).toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 128;
        return count;
    };
    for (const std::string_view name : kIconNames) {
        EXPECT_GT(inked(name), 20) << name;
        EXPECT_LT(inked(name), 24 * 24 * 3 / 4) << name;
    }
    EXPECT_EQ(inked("no.such.symbol"), 0);
}
