// The stage view: fitting, the door's swing, the art clock, hit testing, and the pointer and
// clicks of a real widget over room 1 (the vase holds the brass key that opens the door).
#include "GameScreenFixture.hpp"
#include "PaintProbe.hpp"

#include <Tallowmere/Screens/Cards.hpp>
#include <Tallowmere/Screens/GameView.hpp>
#include <Tallowmere/Screens/StageView.hpp>
#include <Tallowmere/Widgets/ItemIcon.hpp>

#include <Tallowmere/Platform/Canvas.hpp>

#include <QPaintEvent>
#include <QPainter>
#include <QBackingStore>
#include <QImage>
#include <QWindow>

#include <cmath>
#include <limits>

using namespace tallowmere;
using namespace tallowmere::testing;
using ostrevan::Level;
using ostrevan::Prop;

namespace {

constexpr double kReference = 978307200;  // 2001-01-01 00:00 UTC

Prop prop(std::string id, ostrevan::Rect rect, int z, bool interactive = true) {
    Prop p{.id = std::move(id), .rect = rect, .z = z};
    if (interactive) p.look = "look";
    return p;
}

// A point of room 1 where no prop takes a click.
QPointF emptyPoint() {
    const QPointF point(30, 620);
    const ostrevan::FlagSet flags(room(1).startFlags.begin(), room(1).startFlags.end());
    EXPECT_EQ(propAt(room(1), flags, point), nullptr);
    return point;
}

using StageViewTest = GameScreenTest;

// The regions `widget` is asked to paint while it is watched.
class PaintRecorder final : public QObject {
public:
    explicit PaintRecorder(QWidget& widget) { widget.installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

}  // namespace

TEST_F(StageViewTest, FitsTheStageCentredInItsSpace) {
    struct Case {
        QSize space;
        double scale;
        QRectF frame;
    };
    const Case cases[] = {
        {{1200, 640}, 1, {100, 0, 1000, 640}},
        {{1000, 800}, 1, {0, 80, 1000, 640}},
        {{500, 640}, 0.5, {0, 160, 500, 320}},
    };
    EXPECT_DOUBLE_EQ(stageScale(QSizeF(0, 0)), 0);
    // Inside the widget the padding is kept free and the rest is the offered space.
    StageView stage(startIn(1), QMarginsF(18, 6, 18, 6));
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(stageScale(c.space), c.scale) << c.space.width() << "x" << c.space.height();
        stage.resize(c.space + QSize(36, 12));
        EXPECT_EQ(stage.stageFrame(), c.frame.translated(18, 6));
        EXPECT_EQ(stage.toStage(stage.toWidget(QPointF(250, 125))), QPointF(250, 125));
    }
}

TEST(StageView, DoorProgressIsASmoothstepOverOneSecond) {
    struct Case {
        std::optional<double> start;
        double now;
        double progress;
    };
    const Case cases[] = {
        {std::nullopt, 5, 0}, {10, 9, 0},      {10, 10, 0},   {10, 10.25, 0.15625},
        {10, 10.5, 0.5},      {10, 11, 1},     {10, 30, 1},   {std::numeric_limits<double>::quiet_NaN(), 10, 0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(doorProgress(c.start, c.now), c.progress) << c.now;
}

TEST(StageView, ArtTimeCountsFrom2001AndWrapsAt20000) {
    EXPECT_DOUBLE_EQ(artTime(kReference), 0);
    EXPECT_DOUBLE_EQ(artTime(kReference + 12.5), 12.5);
    EXPECT_NEAR(artTime(kReference + 19999.5), 19999.5, 1e-6);
    EXPECT_DOUBLE_EQ(artTime(kReference + 20000), 0);
    EXPECT_DOUBLE_EQ(artTime(kReference + 40001), 1);
    EXPECT_DOUBLE_EQ(artTime(kReference - 1), 19999);
}

TEST(StageView, PointerFramesFollowTheScreenButNeverPass60ASecond) {
    const std::pair<double, double> cases[] = {{60, 1000.0 / 60}, {30, 1000.0 / 30}, {50, 20},   {120, 1000.0 / 60},
                                               {144, 1000.0 / 60}, {0, 1000.0 / 60},  {-1, 1000.0 / 60},
                                               {std::numeric_limits<double>::quiet_NaN(), 1000.0 / 60}};
    for (const auto& [screenHz, intervalMs] : cases) EXPECT_DOUBLE_EQ(pointerFrameIntervalMs(screenHz), intervalMs) << screenHz;
}

TEST(StageView, PropAtTakesTheNearestVisibleInteractiveProp) {
    Level level;
    level.props = {
        prop("back", {100, 100, 200, 200}, 0),
        prop("twinA", {400, 100, 100, 100}, 1),
        prop("twinB", {450, 100, 100, 100}, 1),  // same depth, later: wins where they overlap
        prop("small", {700, 100, 20, 20}, 0),    // under 60 wide: an 8-unit margin
        prop("exact", {800, 300, 60, 40}, 0),    // exactly 60 x 40: a 2-unit margin
        prop("short", {700, 400, 100, 39}, 0),   // under 40 high: 8 units
        prop("decor", {150, 150, 50, 50}, 5, false),
        prop("hidden", {200, 200, 50, 50}, 9),
    };
    level.props.back().showWhen = {"shown"};
    const ostrevan::FlagSet none;

    struct Case {
        QPointF point;
        const char* expected;  // nullptr: none
    };
    const Case cases[] = {
        {{150, 150}, "back"},   // a non-interactive prop on top lets the click through
        {{210, 210}, "back"},   // so does a hidden one
        {{420, 150}, "twinA"},
        {{475, 150}, "twinB"},
        {{692, 92}, "small"},   // the grown corner
        {{728 - 1e-9, 110}, "small"},
        {{728, 110}, nullptr},  // the right edge is not inside
        {{710, 128}, nullptr},  // nor the bottom edge
        {{798, 298}, "exact"},
        {{797.9, 320}, nullptr},
        {{862 - 1e-9, 320}, "exact"},
        {{750, 392}, "short"},
        {{990, 630}, nullptr},
    };
    for (const Case& c : cases) {
        const Prop* hit = propAt(level, none, c.point);
        if (c.expected) {
            ASSERT_NE(hit, nullptr) << c.point.x() << "," << c.point.y();
            EXPECT_EQ(hit->id, c.expected) << c.point.x() << "," << c.point.y();
        } else {
            EXPECT_EQ(hit, nullptr) << c.point.x() << "," << c.point.y() << " hit " << hit->id;
        }
    }
    EXPECT_EQ(propAt(level, {"shown"}, {210, 210})->id, "hidden");
    EXPECT_EQ(propAt(Level{}, none, {500, 300}), nullptr);
}

TEST_F(StageViewTest, ClicksReachThePropUnderThePointerInLetterboxedWindows) {
    GameModel& game = startIn(1);
    const QPointF vase = centreOf(room(1).prop("vase")->rect);
    for (const QSize size : {QSize(1300, 700), QSize(700, 1000)}) {
        game.restartRoom();
        StageView stage(game, QMarginsF(18, 6, 18, 6));
        showAt(stage, size);
        clickStage(stage, vase);
        ASSERT_TRUE(game.toast()) << size.width();
        EXPECT_EQ(game.toast()->text, "Something rattles in the vase... a key!");
        EXPECT_EQ(game.state().inventory, std::vector<std::string>{"key"});

        // A click in the letterbox is no click on the stage; one on empty stage deselects.
        game.tapItem("key");
        ASSERT_EQ(game.state().selected, "key");
        QTest::mouseClick(&stage, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        EXPECT_EQ(game.state().selected, "key");
        const auto savedBefore = std::filesystem::last_write_time(savePath());
        clickStage(stage, emptyPoint());
        EXPECT_EQ(game.state().selected, std::nullopt);
        EXPECT_EQ(std::filesystem::last_write_time(savePath()), savedBefore);
    }
}

// The events reach the stage straight, with no turn of the event loop and so no frame between
// them: the pointer state the stage last saw, or showed, is no help in judging the click.
TEST_F(StageViewTest, AClickIsJudgedWhereItsPressAndReleaseAreWhateverThePointerDidAround) {
    GameModel& game = startIn(1);
    StageView stage(game, QMarginsF(18, 6, 18, 6));
    showAt(stage, QSize(1100, 700));
    const QPointF vase = centreOf(room(1).prop("vase")->rect);
    const QPointF empty = emptyPoint();
    const auto send = [&](QEvent::Type type, QPointF stagePoint) {
        const QPointF at = stage.toWidget(stagePoint);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, at, stage.mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&stage, &event);
    };
    struct Case {
        QPointF before;  // where the last move put the pointer
        QPointF click;
        QPointF after;
        bool tapsVase;
    };
    const Case cases[] = {
        {vase, vase, empty, true},    // arrived, clicked and gone at once
        {empty, vase, empty, true},   // the arrival never reported
        {vase, empty, vase, false},   // the ring still on the vase, the click beside it
    };
    for (const Case& c : cases) {
        game.restartRoom();
        send(QEvent::MouseMove, c.before);
        send(QEvent::MouseButtonPress, c.click);
        send(QEvent::MouseButtonRelease, c.click);
        send(QEvent::MouseMove, c.after);
        EXPECT_EQ(game.state().inventory.size(), c.tapsVase ? 1U : 0U)
            << "pointer last at x " << c.before.x() << ", clicked at x " << c.click.x();
    }
}

TEST_F(StageViewTest, HoverAndCursorFollowThePointerUnlessPausedOrInAPanel) {
    GameModel& game = startIn(1);
    StageView stage(game, QMarginsF(18, 6, 18, 6));
    showAt(stage, QSize(1100, 700));
    const QPointF vase = centreOf(room(1).prop("vase")->rect);

    moveOnStage(stage, vase);
    EXPECT_EQ(stage.hover(), "vase");
    EXPECT_EQ(stage.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(stage.hasMouse());
    EXPECT_NEAR(stage.mouse().x(), vase.x(), 1.5);
    EXPECT_EQ(stage.currentScene().hover, "vase");

    moveOnStage(stage, emptyPoint());
    EXPECT_EQ(stage.hover(), std::nullopt);
    EXPECT_EQ(stage.cursor().shape(), Qt::ArrowCursor);

    game.setPaused(true);
    moveOnStage(stage, vase);
    EXPECT_EQ(stage.hover(), std::nullopt);
    EXPECT_EQ(stage.cursor().shape(), Qt::ArrowCursor);
    game.setPaused(false);

    game.setPanelID("nothing");
    moveOnStage(stage, vase + QPointF(1, 1));
    EXPECT_EQ(stage.hover(), std::nullopt);
    game.setPanelID(std::nullopt);

    // The door swinging open does not stop the hover.
    game.handle({ostrevan::ev::enter()});
    moveOnStage(stage, vase);
    EXPECT_EQ(stage.hover(), "vase");
    EXPECT_EQ(stage.cursor().shape(), Qt::PointingHandCursor);

    // Off the stage: no hover, arrow, and the light stays where the pointer left.
    const QPointF last = stage.mouse();
    QTest::mouseMove(&stage, QPoint(2, 2));
    EXPECT_EQ(stage.hover(), std::nullopt);
    EXPECT_FALSE(stage.hasMouse());
    EXPECT_EQ(stage.mouse(), last);
    EXPECT_EQ(stage.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(StageViewTest, TheHeldItemFollowsThePointer) {
    GameModel& game = startIn(1);
    StageView stage(game, QMarginsF(18, 6, 18, 6));
    showAt(stage, QSize(900, 700));
    clickStage(stage, centreOf(room(1).prop("vase")->rect));
    moveOnStage(stage, {300, 200});
    EXPECT_FALSE(stage.heldItem()->isVisible()) << "nothing selected yet";

    game.tapItem("key");
    for (const QPointF point : {QPointF(300, 200), QPointF(820, 560)}) {
        moveOnStage(stage, point);
        ASSERT_TRUE(stage.heldItem()->isVisible());
        const QRect held(stage.heldItem()->mapTo(&stage, QPoint(0, 0)), stage.heldItem()->size());
        const QPointF pointer = stage.toWidget(point).toPoint();
        EXPECT_EQ(held.size(), QSize(50, 50));
        EXPECT_TRUE(stage.heldItem()->parentWidget()->rect().contains(stage.heldItem()->geometry()))
            << "the item is cut off";
        EXPECT_NEAR(QRectF(held).center().x(), pointer.x() + 24, 1.0);
        EXPECT_NEAR(QRectF(held).center().y(), pointer.y() + 24, 1.0);
        EXPECT_EQ(stage.heldItem()->item()->id, "key");
    }

    // The window resized, then unmapped (which the pointer leaves) and mapped again, under a
    // pointer at rest: the item is where the pointer is, not where it was in the room, and the
    // ring is where the pointer is.
    const auto atRestingPointer = [&](const char* after) {
        const QPointF pointer = stage.mapFromGlobal(QPointF(QCursor::pos()));
        const Prop* under = propAt(room(1), game.state().flags, stage.toStage(pointer));
        EXPECT_EQ(stage.hover(), under ? std::optional(under->id) : std::nullopt) << after;
        ASSERT_TRUE(stage.heldItem()->isVisible()) << after;
        const QRectF held(stage.heldItem()->mapTo(&stage, QPoint(0, 0)), QSizeF(stage.heldItem()->size()));
        EXPECT_LT(QLineF(held.center(), pointer + QPointF(24, 24)).length(), 1.5) << after;
    };
    stage.resize(1000, 760);
    atRestingPointer("resized");
    moveOnStage(stage, centreOf(room(1).prop("vase")->rect));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&stage, &leave);
    stage.hide();
    showAt(stage, stage.size());
    QApplication::processEvents();  // the rest of the window system's word on the showing
    ASSERT_EQ(stage.hover(), "vase");
    atRestingPointer("mapped again");

    QTest::mouseMove(&stage, QPoint(1, 1));
    EXPECT_FALSE(stage.heldItem()->isVisible());

    // Shown also while paused.
    game.setPaused(true);
    moveOnStage(stage, {300, 200});
    EXPECT_TRUE(stage.heldItem()->isVisible());
}

TEST_F(StageViewTest, TheHeldItemAndHoverStayWhileAnOverlayCoversTheStage) {
    GameModel& game = startIn(1);
    GameView view(game);
    showAt(view, QSize(1200, 820));
    StageView& stage = *view.stage();
    const QPointF vase = centreOf(room(1).prop("vase")->rect);
    clickStage(stage, vase);
    game.tapItem("key");
    moveOnStage(stage, vase);
    ASSERT_TRUE(stage.heldItem()->isVisible());

    // The pause menu, then the help card, open under a still pointer.
    game.setPaused(true);
    QApplication::processEvents();
    EXPECT_TRUE(stage.heldItem()->isVisible());
    EXPECT_EQ(stage.hover(), "vase");
    game.setPaused(false);
    game.setShowHelp(true);
    QApplication::processEvents();
    EXPECT_TRUE(stage.heldItem()->isVisible());
    game.setShowHelp(false);
    QApplication::processEvents();
    EXPECT_TRUE(stage.heldItem()->isVisible()) << "the pointer is still over the stage";
}

TEST_F(StageViewTest, TheHeldItemIsCutByTheRoundedFrameWithSoftEdges) {
    GameModel& game = startIn(1);
    // At 1400 x 1000 the frame's right edge covers two thirds of its last pixel column.
    for (const QSize size : {QSize(1200, 820), QSize(1400, 1000)}) {
        GameView view(game);
        showAt(view, size);
        StageView& stage = *view.stage();
        stage.setArtClock([] { return 1000.0; });  // the dust stays where it is between the two pictures
        if (game.state().inventory.empty()) clickStage(stage, centreOf(room(1).prop("vase")->rect));
        // Looked at on the whole screen: round the corner the item reaches past the stage widget.
        const QRectF frame = stage.stageFrame().translated(stage.pos());
        // How much of each (device) pixel the rounded frame covers.
        const double dpr = view.devicePixelRatioF();
        QImage coverage((QSizeF(view.size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
        coverage.setDevicePixelRatio(dpr);
        coverage.fill(Qt::transparent);
        {
            QPainter painter(&coverage);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.fillPath(shape::roundedRect(Rect{frame.x(), frame.y(), frame.width(), frame.height()}, 14), Qt::white);
        }
        const auto covered = [&](int x, int y) { return qAlpha(coverage.pixel(x, y)); };
        // The pointer 34 points above and left of the bottom-right corner (the item's middle
        // lies over the corner), then beside the right edge.
        for (const QPointF pointer : {QPointF(1000, 640) - QPointF(34, 34) / stage.scale(), QPointF(1000 - 30 / stage.scale(), 300)}) {
            game.clearSelection();
            moveOnStage(stage, pointer);
            const QImage without = view.grab().toImage();
            game.tapItem("key");
            moveOnStage(stage, pointer);
            ASSERT_TRUE(stage.heldItem()->isVisible());
            const QImage with = view.grab().toImage();
            const auto change = [&](int x, int y) { return pixelDifference(with.pixel(x, y), without.pixel(x, y)); };

            // Past the frame nothing changes; in it the item shows.
            int outside = 0;
            int inside = 0;
            const QPointF corner = QPointF(stage.heldItem()->mapTo(&view, QPoint(-16, -16))) * dpr;
            const QRect area = QRectF(corner, QSizeF(82, 82) * dpr).toRect();
            ASSERT_TRUE(with.rect().contains(area) && coverage.rect().contains(area)) << size.width() << " at " << pointer.x();
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x) {
                    outside += covered(x, y) == 0 && change(x, y) > 0;
                    inside += covered(x, y) == 255 && change(x, y) > 0;
                }
            EXPECT_EQ(outside, 0) << size.width() << " at " << pointer.x();
            EXPECT_GT(inside, 100) << size.width() << " at " << pointer.x();

            // A soft edge: a pixel the frame covers in part changes about that part of what
            // its fully covered neighbour inside does (a little more, as the backdrop it is
            // mixed with is darker than the room); a hard one as much.
            double edge = 0;
            double softened = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.right(); x > area.left(); --x) {
                    if (covered(x, y) == 0 || covered(x, y) == 255 || covered(x - 1, y) != 255) continue;
                    edge += change(x, y);
                    softened += covered(x, y) / 255.0 * change(x - 1, y);
                    break;
                }
            }
            EXPECT_LE(edge, 1.65 * softened + 20) << size.width() << " at " << pointer.x();
        }
    }
}

TEST_F(StageViewTest, TheRoomIsRenderedOnTheClockNotOnEveryRepaint) {
    GameModel& game = startIn(1);
    StageView stage(game, QMarginsF(18, 6, 18, 6));
    showAt(stage, QSize(1100, 700));
    WAIT_UNTIL(stage.ticking());
    WAIT_UNTIL(stage.framesRendered() >= 2);

    // Pointer moves and repaints between two ticks reuse the rendered room. (A move that takes
    // the hover ring elsewhere is shown at once: these stay on one prop.)
    const ostrevan::Rect door = room(1).prop("door")->rect;
    moveOnStage(stage, centreOf(door));
    WAIT_UNTIL(!stage.pointerFramePending());
    stage.repaint();
    // The moves are handed to the stage and the repaints made at once, with no turn of the event
    // loop between them, so no tick of the frame clock can fall between, however busy the
    // machine: not one room may be rendered.
    const std::uint64_t rendered = stage.framesRendered();
    for (int i = 0; i < 10; ++i) {
        const QPointF at = stage.toWidget({door.x + 5 + (door.w - 10) * i / 9, door.midY()});
        QMouseEvent move(QEvent::MouseMove, at, stage.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&stage, &move);
        stage.repaint();
    }
    EXPECT_EQ(stage.hover(), "door");
    EXPECT_EQ(stage.framesRendered(), rendered);

    // The clock stops while the stage cannot be seen and starts again when it can.
    stage.showMinimized();
    WAIT_UNTIL(!stage.ticking());
    stage.showNormal();
    WAIT_UNTIL(stage.ticking());
    stage.hide();
    EXPECT_FALSE(stage.ticking());
    stage.show();
    WAIT_UNTIL(stage.ticking());
}

TEST_F(StageViewTest, TheStagePaintsTheScreensBackgroundUnderItsFrame) {
    GameModel& game = startIn(1);
    GameView view(game);
    showAt(view, QSize(1200, 820));
    StageView& stage = *view.stage();
    const QImage own = view.grab().toImage();
    stage.setBackdrop({});  // the screen paints under the stage again
    const QImage parents = view.grab().toImage();

    const QRect area = stage.geometry();
    const QRect frame = stage.stageFrame().translated(area.topLeft()).toAlignedRect();
    int worst = 0;
    int differing = 0;
    int compared = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (frame.contains(x, y)) continue;
            const int difference = pixelDifference(own.pixel(x, y), parents.pixel(x, y));
            worst = std::max(worst, difference);
            differing += difference > 0;
            ++compared;
        }
    // A gradient step may round the other way here and there; a shifted background would
    // differ along whole bands.
    EXPECT_LE(worst, 1);
    EXPECT_LE(differing, compared / 100) << differing << " of " << compared;
    // Under the frame its shadow darkens the background; beyond its reach it is gone.
    const int x = frame.left() + 40;
    const int near = qGray(own.pixel(x, frame.bottom() + 4));
    const int far = qGray(own.pixel(x, frame.bottom() + 60));
    EXPECT_LT(near, far) << "no shadow under the stage";
}

TEST_F(StageViewTest, ATickRepaintsOnlyWhatChangedYetTheWindowShowsTheWholeFrame) {
    for (const std::int64_t number : {1, 38}) {
        GameModel& game = startIn(number);
        StageView stage(game, QMarginsF(18, 6, 18, 6));
        showAt(stage, QSize(1013, 655));  // a stage frame off the pixel grid
        WAIT_UNTIL(stage.framesRendered() >= 2);
        for (int i = 0; i < 12; ++i) {
            moveOnStage(stage, {200.0 + 50 * i, 250.0 + 10 * i});
            QTest::qWait(30);
            stage.tick();
            QApplication::processEvents();
        }
        // And repaints of spots on the rim, along an edge and where a corner curves.
        const QRectF frame = stage.stageFrame();
        for (const QPointF spot : {QPointF(frame.center().x(), frame.top()), QPointF(frame.left() + 5, frame.top() + 5)})
            stage.repaint(QRect((spot - QPointF(2, 2)).toPoint(), QSize(4, 4)));
        // What the window holds after the partial repaints is what a whole repaint of the same
        // frame paints.
        const QImage shown = shownOnScreen(stage, stage.rect());
        ASSERT_FALSE(shown.isNull());
        EXPECT_EQ(differingPixels(shown, stage.grab().toImage().convertToFormat(shown.format())), 0) << "room " << number;
    }
}


TEST_F(StageViewTest, APointerMoveShowsTheDarkRoomsLightBeforeTheNextTick) {
    GameModel& game = startIn(38);  // dark until its light is turned on
    GameView view(game);
    showAt(view, QSize(1200, 820));
    StageView& stage = *view.stage();
    stage.setArtClock([] { return 1000.0; });
    WAIT_UNTIL(stage.framesRendered() >= 2);
    stage.setTickInterval(3'600'000);  // no tick near any move
    const QPointF left(250, 330);
    const QPointF right(750, 330);
    const std::uint64_t before = stage.framesRendered();
    moveOnStage(stage, left);
    WAIT_UNTIL(stage.framesRendered() > before);
    // With no tick to come, only the move's own frame can show the light where it went.
    const std::uint64_t rendered = stage.framesRendered();
    moveOnStage(stage, right);
    WAIT_UNTIL(stage.framesRendered() > rendered);

    const QRect area = stage.geometry();
    const QImage shown = shownOnScreen(view, area);
    ASSERT_FALSE(shown.isNull());
    const auto grey = [&](QPointF stagePoint) {
        return qGray(shown.pixel((stage.toWidget(stagePoint) * view.devicePixelRatioF()).toPoint()));
    };
    EXPECT_GT(grey(right), 2 * grey(left) + 10) << "lit where the pointer went, dark where it was";
    EXPECT_EQ(differingPixels(shown, shownAfterWholeRepaint(view, area)), 0);
}

// The rounded frame cuts the room only at its rim: where the shape covers a pixel whole the room
// shows as it is, and where it covers part, what lies under the frame shows through.
TEST_F(StageViewTest, TheFrameCutsTheRoomOnlyAtItsRim) {
    // Sizes whose frame edges fall inside pixels, across the frame and down it.
    for (const QSize size : {QSize(1100, 655), QSize(1013, 655)}) {
        GameModel& game = startIn(1);
        StageView stage(game, QMarginsF(18, 6, 18, 6));
        stage.setArtClock([] { return 1000.0; });
        showAt(stage, size);
        WAIT_UNTIL(stage.framesRendered() >= 1);
        const auto over = [&stage](QColor colour) {
            stage.setBackdrop([colour](QPainter& painter, const QRectF& all) { painter.fillRect(all, colour); });
            return stage.grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        const QImage onBlack = over(Qt::black);
        const QImage onWhite = over(Qt::white);

        const double dpr = onBlack.devicePixelRatio();
        const QRectF frame = stage.stageFrame();
        const Rect framePx{frame.x() * dpr, frame.y() * dpr, frame.width() * dpr, frame.height() * dpr};
        QImage cover(onBlack.size(), QImage::Format_ARGB32_Premultiplied);
        cover.fill(Qt::transparent);
        {
            QPainter painter(&cover);
            painter.setRenderHint(QPainter::Antialiasing);
            // The frame's shape, its corner radius 14, a hair smaller: a pixel it covers whole
            // is covered whatever a rounding error in the last bit.
            painter.fillPath(shape::roundedRect(insetBy(framePx, 0.01, 0.01), 14 * dpr), Qt::black);
        }
        int seenThroughInside = 0;
        int hiddenAtRim = 0;
        const QRect area = QRectF(framePx.x, framePx.y, framePx.w, framePx.h).toAlignedRect() & onBlack.rect();
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const int covered = qAlpha(cover.pixel(x, y));
                const bool showsThrough = onBlack.pixel(x, y) != onWhite.pixel(x, y);
                seenThroughInside += covered == 255 && showsThrough;
                hiddenAtRim += covered > 0 && covered < 192 && !showsThrough;
            }
        EXPECT_EQ(seenThroughInside, 0) << size.width();
        EXPECT_EQ(hiddenAtRim, 0) << size.width();
        // The rim's faint line lies along the edge, over the room.
        const QImage room = SceneRenderer().render(stage.currentScene(), area.size(), dpr);
        const int middle = area.width() / 2;
        EXPECT_GT(qGray(onBlack.pixel(area.left() + middle, area.top())), qGray(room.pixel(middle, 0)) + 2) << size.width();
    }
}

// A move in the dark, between ticks, repaints the light's old and new places and nothing else of
// the window, at every pixel density.
TEST_F(StageViewTest, APointerMoveInTheDarkRepaintsOnlyWhereTheLightWasAndIs) {
    GameModel& game = startIn(38);
    GameView view(game);
    showAt(view, QSize(1200, 820));
    StageView& stage = *view.stage();
    stage.setArtClock([] { return 1000.0; });
    const QPointF from(250, 330);
    const QPointF to(700, 420);
    moveOnStage(stage, from);
    WAIT_UNTIL(stage.framesRendered() >= 2 && !stage.pointerFramePending());
    stage.tick();
    QApplication::processEvents();

    // The clock stands still: whatever else a tick might render is the same as before.
    PaintRecorder recorder(stage);
    moveOnStage(stage, to);
    stage.tick();  // shows the move now, as its own frame would
    QApplication::processEvents();

    // The light's reach (175 stage units) with the renderer's margins round it.
    const double reach = 190 * stage.scale();
    const auto square = [&](QPointF centre) {
        const QPointF c = stage.toWidget(centre);
        return QRectF(c.x() - reach, c.y() - reach, 2 * reach, 2 * reach).toAlignedRect();
    };
    const QRegion lights = QRegion(square(from)) + square(to);
    EXPECT_TRUE(recorder.painted.contains(stage.toWidget(from).toPoint()));
    EXPECT_TRUE(recorder.painted.contains(stage.toWidget(to).toPoint()));
    EXPECT_TRUE((recorder.painted - lights).isEmpty());
}

// With the pointer resting on a prop in the dark, a tick repaints the ring's pulsing band and
// leaves the prop's middle alone, at every pixel density.
TEST_F(StageViewTest, ATickWithThePointerOnAPropRepaintsOnlyTheRingsBand) {
    GameModel& game = startIn(38);
    GameView view(game);
    showAt(view, QSize(1200, 820));
    StageView& stage = *view.stage();
    double time = 1000;
    stage.setArtClock([&time] { return time; });
    clock.advance(3);  // the room's intro card gone
    // The frame lies on whole pixels of the window, though the stage's own place may not.
    const double dpr = stage.devicePixelRatioF();
    const QRectF inWindow(QPointF(stage.mapTo(&view, QPoint(0, 0))) * dpr + stage.stageFrame().topLeft() * dpr,
                          stage.stageFrame().size() * dpr);
    for (const double edge : {inWindow.left(), inWindow.top(), inWindow.width(), inWindow.height()})
        EXPECT_NEAR(edge, std::round(edge), 1e-6) << "frame " << inWindow.x() << ", " << inWindow.y() << " at " << dpr;
    const ostrevan::Rect door = room(38).prop("door")->rect;
    moveOnStage(stage, centreOf(door));
    WAIT_UNTIL(stage.framesRendered() >= 2 && !stage.pointerFramePending());
    ASSERT_EQ(stage.hover(), std::optional<std::string>("door"));
    stage.tick();  // the light's move shown
    QApplication::processEvents();

    PaintRecorder recorder(stage);
    time += 0.1;
    stage.tick();
    QApplication::processEvents();
    const QRect middle = QRectF(stage.toWidget({door.minX() + 50, door.minY() + 60}),
                                stage.toWidget({door.maxX() - 50, door.maxY() - 60})).toAlignedRect();
    EXPECT_TRUE(recorder.painted.contains(stage.toWidget({door.minX() - 4, door.midY()}).toPoint()));
    EXPECT_FALSE(recorder.painted.intersects(middle));
}

// At stage sizes whose edges fall inside pixels, the window after many ticks with dust drifting,
// and the light, the ring and the held item following the pointer round the rim, is what one
// whole repaint paints, rim and corners included.
TEST_F(StageViewTest, AfterManyPartialRepaintsTheWindowIsAWholeRepaint) {
    for (const QSize size : {QSize(940, 700), QSize(1400, 1000)}) {
        for (const std::int64_t number : {1, 31, 38}) {
            GameModel& game = startIn(number);
            GameView view(game);
            showAt(view, size);
            StageView& stage = *view.stage();
            double time = 1000;
            stage.setArtClock([&time] { return time; });
            if (number == 1) {
                clickStage(stage, centreOf(room(1).prop("vase")->rect));
                game.tapItem("key");
                // Only the stage and its rim count here; the toast's glass has tests of its own.
                for (ToastView* toast : view.findChildren<ToastView*>()) toast->hide();
            }
            WAIT_UNTIL(stage.framesRendered() >= 2);
            for (int i = 0; i < 160; ++i) {
                const double turn = i * 0.21;
                moveOnStage(stage, {500 + 492 * std::cos(turn), 320 + 312 * std::sin(turn)});
                if (i % 2 == 0) {
                    time += 0.5;
                    stage.tick();
                }
                QApplication::processEvents();
            }
            const QImage shown = shownOnScreen(view, view.rect());
            ASSERT_FALSE(shown.isNull());
            const QImage whole = view.grab().toImage().convertToFormat(shown.format());
            EXPECT_EQ(differingPixels(shown, whole), 0) << "room " << number << " at " << size.width();
        }
    }
}
