// The room scene: door lamp and light pool, darkness round the pointer, flags that show and hide
// props, the hover ring and the renderer's caches.
#include <Tallowmere/Model/Scene.hpp>

#include <Tallowmere/Art/RoomArt.hpp>

#include <Ostrevan/Levels.hpp>
#include <Ostrevan/Themes.hpp>

#include "PaintProbe.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <QImage>
#include <QPainter>
#include <QRegion>

namespace tallowmere {
namespace {

using ostrevan::FlagSet;
using ostrevan::Level;

constexpr QSize kStagePixels{1000, 640};

Level testRoom(std::int64_t id, const ostrevan::Theme& theme = ostrevan::Themes::cream) {
    Level level;
    level.id = id;
    level.theme = theme;
    level.door = ostrevan::DoorStyle::wood;
    level.requires_ = {"unlocked"};
    level.props = {ostrevan::Prop{.id = "box", .rect = {100, 150, 80, 80}, .art = ostrevan::art::Vase{}, .hideWhen = {"box_gone"}},
                   // The door stands at its fixed place whatever its rect.
                   ostrevan::Prop{.id = "door", .rect = {0, 0, 10, 10}, .hideWhen = {"no_door"}}};
    return level;
}

struct Frame {
    FlagSet flags;
    std::optional<std::string> hover;
    QPointF mouse{500, 300};
    bool dark = false;
    double time = 1.3;
};

QImage render(const Level& level, const Frame& frame, SceneRenderer& renderer) {
    return renderer.render(RoomScene{level, frame.flags, frame.time, 0, frame.hover, frame.mouse, frame.dark}, kStagePixels);
}
QImage render(const Level& level, const Frame& frame) {
    SceneRenderer fresh;
    return render(level, frame, fresh);
}

int brightness(QRgb pixel) { return qRed(pixel) + qGreen(pixel) + qBlue(pixel); }

// ## Door

TEST(SceneDoor, LockedLampIsRedAndTheUnlockFlagTurnsItGreenAndLightsThePool) {
    const Level room = testRoom(3);
    const QImage locked = render(room, {});
    const QImage unlocked = render(room, {{"unlocked"}});
    const QPoint bulb(500, 109);
    EXPECT_GT(qRed(locked.pixel(bulb)), 170);
    EXPECT_LT(qGreen(locked.pixel(bulb)), 110);
    EXPECT_GT(qGreen(unlocked.pixel(bulb)), 170);
    EXPECT_LT(qRed(unlocked.pixel(bulb)), 150);
    const QPoint pool(500, 470);
    EXPECT_GT(brightness(unlocked.pixel(pool)), brightness(locked.pixel(pool)) + 20);

    Level open = room;
    open.requires_.clear();  // nothing to do: unlocked from the start
    EXPECT_EQ(render(open, {}).pixel(bulb), unlocked.pixel(bulb));
}

TEST(SceneDoor, AHiddenDoorPropDrawsNoDoor) {
    Level bare = testRoom(3);
    bare.props.pop_back();
    const Level room = testRoom(3);
    const QPoint leaf(540, 300);
    EXPECT_NE(render(room, {}).pixel(leaf), render(bare, {}).pixel(leaf));
    EXPECT_EQ(render(room, {{"no_door"}}).pixel(leaf), render(bare, {}).pixel(leaf));
}

TEST(SceneDoor, AnOpeningDoorSwingsOpenOnTheKeptFrameToo) {
    const Level room = testRoom(3);
    const FlagSet unlocked{"unlocked"};
    const auto at = [&](SceneRenderer& renderer, double doorOpen) {
        return renderer.render(RoomScene{room, unlocked, 1.3, doorOpen, {}, {500, 300}, false}, kStagePixels);
    };
    SceneRenderer kept;
    const QImage shut = at(kept, 0);
    const QImage opening = at(kept, 0.7);
    const QPoint leaf(540, 300);
    EXPECT_NE(opening.pixel(leaf), shut.pixel(leaf));
    SceneRenderer fresh;
    EXPECT_EQ(opening.pixel(leaf), at(fresh, 0.7).pixel(leaf));
}

// ## Darkness

TEST(SceneDark, BlackAwayFromThePointerAndLitAtIt) {
    const Level room = testRoom(4);
    const QPointF pointer(220, 260);
    const QImage lit = render(room, {.mouse = pointer});
    const QImage dark = render(room, {.mouse = pointer, .dark = true});
    for (QPoint far : {QPoint(850, 200), QPoint(700, 560), QPoint(40, 600), QPoint(500, 250)})
        EXPECT_LE(brightness(dark.pixel(far)), brightness(lit.pixel(far)) / 8 + 6) << far.x() << "," << far.y();
    const QPoint near = pointer.toPoint();
    EXPECT_NEAR(brightness(dark.pixel(near)), brightness(lit.pixel(near)), 9);
    EXPECT_GT(brightness(dark.pixel(near)), 300);
}

// ## Hover ring

TEST(SceneHover, RingsOnlyAVisiblePropThatExists) {
    const Level room = testRoom(5);
    const QPoint ringEdge(96, 190);  // the box's left edge, grown by 4
    const QRgb plain = render(room, {}).pixel(ringEdge);
    const QRgb ringed = render(room, {.hover = "box"}).pixel(ringEdge);
    EXPECT_GT(brightness(ringed), brightness(plain) + 60);
    EXPECT_GT(qRed(ringed), qBlue(ringed));  // warm
    EXPECT_EQ(render(room, {.flags = {"box_gone"}, .hover = "box"}).pixel(ringEdge),
              render(room, {.flags = {"box_gone"}}).pixel(ringEdge));
    EXPECT_EQ(render(room, {.hover = "nothing"}).pixel(ringEdge), plain);
    // The ring shows over the darkness too.
    const QRgb darkRing = render(room, {.hover = "box", .mouse = {900, 500}, .dark = true}).pixel(ringEdge);
    EXPECT_GT(brightness(darkRing), 300);
}

// ## Renderer

TEST(SceneRenderer, KeepsTheShellOfARoomNumberAndRedrawsForANewOne) {
    SceneRenderer renderer;
    const QPoint wall(150, 250);
    const QRgb cream = render(testRoom(5, ostrevan::Themes::cream), {}, renderer).pixel(wall);
    const QRgb charcoal = render(testRoom(6, ostrevan::Themes::charcoal), {}).pixel(wall);
    ASSERT_NE(cream, charcoal);
    EXPECT_EQ(render(testRoom(5, ostrevan::Themes::charcoal), {}, renderer).pixel(wall), cream);
    EXPECT_EQ(render(testRoom(6, ostrevan::Themes::charcoal), {}, renderer).pixel(wall), charcoal);
}

TEST(SceneRenderer, AFrameAtTwiceThePixelDensityHasTheAskedPixelsAndRatio) {
    const Level room = testRoom(8);
    const RoomScene scene{room, {"unlocked"}, 2.5, 0.4, "box", {300, 200}, true};
    const QImage sharp = SceneRenderer().render(scene, {1000, 640}, 2);
    EXPECT_EQ(sharp.size(), QSize(1000, 640));
    EXPECT_EQ(sharp.devicePixelRatio(), 2);
}

TEST(SceneRenderer, FitsTheStageIntoTheTargetAndDrawsNothingOutside) {
    EXPECT_EQ(fitStage({0, 0, 1200, 640}), QRectF(100, 0, 1000, 640));
    EXPECT_EQ(fitStage({0, 0, 500, 640}), QRectF(0, 160, 500, 320));
    EXPECT_EQ(fitStage({10, 20, 0, 0}), QRectF(10, 20, 0, 0));

    QImage window(1200, 820, QImage::Format_ARGB32_Premultiplied);
    window.fill(Qt::transparent);
    QPainter painter(&window);
    SceneRenderer renderer;
    const Level room = testRoom(7);
    renderer.draw(painter, QRectF(0, 0, 1200, 820), RoomScene{room, {}, 0, 0, std::nullopt, {500, 300}, false});
    painter.end();
    EXPECT_EQ(qAlpha(window.pixel(600, 20)), 0);  // above the 1200 x 768 stage at y 26
    EXPECT_EQ(qAlpha(window.pixel(600, 30)), 255);
    EXPECT_EQ(qAlpha(window.pixel(600, 800)), 0);
}

// ## Still props

template <std::size_t... I>
std::vector<ostrevan::Art> everyArtCase(std::index_sequence<I...>) {
    return {ostrevan::Art(std::in_place_index<I>)...};
}

QImage drawAt(const ostrevan::Art& art, double time) {
    QImage image(120, 120, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    {
        Level one = testRoom(1);
        one.props = {ostrevan::Prop{.id = "p", .rect = {10, 10, 100, 100}, .art = art}};
        drawPropsLayer(Canvas(painter), one, {}, time, 0);
    }
    painter.end();
    return image;
}

TEST(SceneStill, OnlyArtMarkedAnimatedChangesWithTheTime) {
    namespace a = ostrevan::art;
    using ostrevan::Tone;
    std::vector<ostrevan::Art> cases = everyArtCase(std::make_index_sequence<ostrevan::kArtCaseCount>());
    // Payloads that bring out the moving parts.
    cases.insert(cases.end(), {a::Tv{"42", true}, a::Tv{std::nullopt, true}, a::TvFlash{{Tone::red, Tone::blue}},
                               a::Sockets{{Tone::red, std::nullopt}}, a::GearSlot{true}, a::Glow{"7"},
                               a::Panel{ostrevan::face::Screen{"OK"}}, a::FishTank{true}, a::Fountain{true},
                               a::Clock{3, 40}, a::Lamps{{true, false}}, a::Radio{true, "88.1"},
                               a::FloorLamp{true}, a::Window{true}, a::Item{ostrevan::ItemKind::torch, {}}});
    for (const ostrevan::Art& art : cases) {
        if (artAnimates(art)) continue;
        SCOPED_TRACE("art case " + std::to_string(art.index()));
        const QImage still = drawAt(art, 0);
        EXPECT_EQ(drawAt(art, 1.37), still);
        EXPECT_EQ(drawAt(art, 7.9), still);
    }
}

TEST(SceneRenderer, StillPropsKeptBetweenFramesMatchAFreshDrawingAndFollowTheFlags) {
    const Level room = testRoom(4);
    SceneRenderer kept;
    render(room, {.time = 0.5}, kept);
    const Frame later{.time = 2.25};
    EXPECT_EQ(render(room, later, kept), render(room, later));
    const Frame gone{.flags = {"box_gone"}, .time = 2.25};
    EXPECT_EQ(render(room, gone, kept), render(room, gone));
    EXPECT_NE(render(room, gone), render(room, later));
}

// ## Frames kept between calls

// Moving art of every kind, a still vase in front of the fish tank, and a locked door.
Level movingRoom() {
    namespace a = ostrevan::art;
    Level level = testRoom(9, ostrevan::Themes::teal);
    level.props = {
        ostrevan::Prop{.id = "tv", .rect = {120, 100, 150, 110}, .art = a::Tv{"42", true}},
        ostrevan::Prop{.id = "tank", .rect = {600, 420, 170, 150}, .art = a::FishTank{true}, .z = 1},
        ostrevan::Prop{.id = "fountain", .rect = {300, 430, 160, 150}, .art = a::Fountain{true}, .z = 1},
        ostrevan::Prop{.id = "vase", .rect = {650, 480, 60, 90}, .art = a::Vase{}, .z = 2},
        ostrevan::Prop{.id = "clock", .rect = {700, 120, 100, 100}, .art = a::Clock{3, 40}},
        ostrevan::Prop{.id = "glow", .rect = {820, 200, 90, 100}, .art = a::Glow{"58"}},
        ostrevan::Prop{.id = "gear", .rect = {250, 250, 80, 80}, .art = a::GearSlot{true}},
        ostrevan::Prop{.id = "sockets", .rect = {40, 280, 120, 40}, .art = a::Sockets{{ostrevan::Tone::red, std::nullopt}}},
        ostrevan::Prop{.id = "door", .rect = {0, 0, 10, 10}},
    };
    return level;
}

// The props as the room draws them, each followed by an unseen fill whose clip, opacity and
// erasing blend stay on the painter, as a drawing's last clipped fill leaves them; at the instant
// `strayAt` also a stroke across the stage, where no measuring of a prop looked.
PropDrawer misbehaving(double strayAt = -1) {
    return [strayAt](const Canvas& canvas, const Level& level, const ostrevan::Prop& prop, const FlagSet& flags,
                     double time, double doorOpen) {
        drawProp(canvas, level, prop, flags, time, doorOpen);
        if (time == strayAt) canvas.stroke(shape::line({0, 320}, {1000, 320}), QColor(Qt::white), 6);
        Canvas clipped = canvas;
        clipped.clip(shape::ellipse(prop.rect));
        clipped.setOpacity(0.5);
        clipped.setBlendMode(BlendMode::destinationOut);
        clipped.fill(shape::rect(prop.rect), QColor(Qt::transparent));
    };
}

// A frame is the room drawn straight through one canvas, however the renderer composed it and
// whatever a prop's drawing leaves on the painter: the fountain is the last drawn afresh, under a
// still vase and the darkness.
TEST(SceneRenderer, AFrameIsTheRoomDrawnStraightWhateverADrawingLeavesOnThePainter) {
    const Level room = movingRoom();
    for (const bool dark : {false, true}) {
        const RoomScene scene{room, {"unlocked"}, 1.3, 0, {}, {200, 150}, dark};
        const QImage straight = testing::paintImage(1000, 640, [&](Canvas& canvas) {
            drawRoomShell(canvas, room.theme);
            drawPropsLayer(canvas, room, scene.flags, scene.time, 0);
            drawOverlayLayer(canvas, room, scene.flags, scene.time, {}, scene.mouse, dark);
            drawVignette(canvas);
        });
        EXPECT_LE(testing::largestDifference(SceneRenderer().render(scene, kStagePixels), straight), 2) << dark;
        EXPECT_LE(testing::largestDifference(SceneRenderer(misbehaving()).render(scene, kStagePixels), straight), 2) << dark;
    }
}

// Every moving prop of every room, in each of its states, drawn at close instants over its whole
// cycle, paints nothing outside the bounds the renderer measures for it at a few: there the
// renderer would cut it. The instants are laid on one picture of the prop's surroundings, where
// whatever strays past the bounds at any of them stays. A picture drawn again a whole number of
// pixels away lands on the same pixels, so it is drawn once.
TEST(SceneRenderer, EveryMovingPropKeepsToTheBoundsMeasuredForItAtEveryInstant) {
    constexpr int kInstantsPerSecond = 60;
    constexpr int kSeconds = 8;
    constexpr double kSurroundings = 80;  // stage units round the prop's rect
    const QRect whole(QPoint(0, 0), kStagePixels);
    std::vector<std::pair<ostrevan::Art, Rect>> drawn;
    for (const Level& level : ostrevan::Levels::all()) {
        for (const ostrevan::Prop& prop : level.props) {
            std::vector<FlagSet> showings = {{}};
            for (const ostrevan::PropState& state : prop.states) showings.emplace_back(state.flags.begin(), state.flags.end());
            for (const FlagSet& flags : showings) {
                const ostrevan::Art& art = prop.currentArt(flags);
                const Rect& r = prop.rect;
                const Rect alike{r.x - std::floor(r.x), r.y - std::floor(r.y), r.w, r.h};
                if (!artAnimates(art) || std::find(drawn.begin(), drawn.end(), std::pair(art, alike)) != drawn.end()) continue;
                drawn.emplace_back(art, alike);
                const QRect bounds = movingPropBounds(level, prop, flags, kStagePixels);
                const QRect around = toQRectF(insetBy(prop.rect, -kSurroundings, -kSurroundings)).toAlignedRect() & whole;
                if (bounds.contains(around)) continue;
                QImage image(around.size(), QImage::Format_ARGB32_Premultiplied);
                image.fill(Qt::transparent);
                // On the pool, as the renderer paints: from here Qt would hand every large fill to it.
                runOnPool([&] {
                    QPainter painter(&image);
                    painter.translate(-around.topLeft());
                    const Canvas canvas(painter);
                    for (int i = 0; i < kSeconds * kInstantsPerSecond; ++i)
                        drawProp(canvas, level, prop, flags, double(i) / kInstantsPerSecond, 0);
                });
                QRect strays;
                for (int y = 0; y < image.height(); ++y) {
                    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                    for (int x = 0; x < image.width(); ++x)
                        if (qAlpha(line[x]) != 0 && !bounds.contains(around.topLeft() + QPoint(x, y)))
                            strays |= QRect(around.topLeft() + QPoint(x, y), QSize(1, 1));
                }
                EXPECT_TRUE(strays.isEmpty()) << "room " << level.id << ", " << prop.id << " paints " << strays.x() << ","
                                              << strays.y() << " " << strays.width() << "x" << strays.height()
                                              << " outside its bounds " << bounds.x() << "," << bounds.y() << " "
                                              << bounds.width() << "x" << bounds.height();
            }
        }
    }
}

// One renderer is handed frame after frame as play would hand them: time running on, the pointer
// and the hover moving, darkness coming and going, a flag, the door opening, another size and
// another room. Each frame it keeps must be the frame a fresh renderer draws for that instant, also
// when the moving room's props misbehave: a stroke straying past a prop at one instant is gone at
// the next.
TEST(SceneRenderer, AKeptFrameIsTheFrameAFreshRendererDraws) {
    const std::vector<ostrevan::Level>& rooms = ostrevan::Levels::all();
    const Level moving = movingRoom();
    struct Step {
        const Level* level;
        RoomScene scene;
        QSize pixels;
        const char* what;
    };
    for (const Level* first : {&moving, &rooms[0], &rooms[37]}) {
        const Level& other = first == &moving ? rooms[0] : moving;
        const FlagSet start(first->startFlags.begin(), first->startFlags.end());
        FlagSet unlocked = start;
        unlocked.insert(first->requires_.begin(), first->requires_.end());
        const std::string propA = first->props.front().id;
        const std::string propB = first->props[first->props.size() / 2].id;
        const auto at = [&](double time, QPointF mouse, std::optional<std::string> hover, bool dark, const char* what,
                            const FlagSet& flags, QSize pixels = kStagePixels, double doorOpen = 0,
                            const Level* level = nullptr) {
            const Level& shown = level ? *level : *first;
            return Step{&shown, RoomScene{shown, flags, time, doorOpen, std::move(hover), mouse, dark}, pixels, what};
        };
        const std::vector<Step> steps = {
            at(10, {500, 300}, {}, false, "first frame", start),
            at(10 + 1.0 / 24, {500, 300}, {}, false, "time runs on", start),
            at(10 + 2.0 / 24, {620, 360}, {}, false, "the pointer moves", start),
            at(10 + 2.0 / 24, {620, 360}, propA, false, "a prop is hovered, time stands", start),
            at(10 + 3.0 / 24, {640, 380}, propB, false, "the hover moves on", start),
            at(12.7, {640, 380}, propB, false, "time jumps, the motes wrap", start),
            at(12.75, {300, 220}, propB, true, "the dark falls", start),
            at(12.8, {340, 250}, propB, true, "the pointer moves in the dark", start),
            at(12.85, {820, 520}, {}, true, "it sweeps across, no hover", start),
            at(12.9, {820, 520}, {}, true, "only time runs in the dark", start),
            // The light alone moves, over the edges of what is drawn afresh and of the ring.
            at(12.9, {600, 200}, propB, true, "a prop is hovered in the dark, time stands", start),
            at(12.9, {350, 235}, propB, true, "the light moves on, time stands", start),
            at(12.9, {700, 400}, propB, true, "and on", start),
            at(12.9, {100, 420}, propB, true, "and back", start),
            at(12.9, {100, 420}, propA, true, "the ring goes round another prop, time stands", start),
            at(12.95, {820, 520}, propA, false, "light again", start),
            at(13.0, {820, 520}, propA, false, "the door unlocks", unlocked),
            at(13.05, {400, 300}, {}, false, "time runs on, unlocked", unlocked),
            // The stage's size in a 1200 x 820 window: a scale that is no simple fraction.
            at(13.1, {400, 300}, {}, false, "another size", unlocked, {1164, 745}),
            at(13.15, {420, 310}, propA, false, "time runs on at that size", unlocked, {1164, 745}),
            at(13.17, {440, 330}, propA, true, "the dark at that size", unlocked, {1164, 745}),
            at(13.19, {520, 360}, propA, true, "the pointer moves at that size", unlocked, {1164, 745}),
            at(13.2, {420, 310}, {}, false, "the door opens", unlocked, kStagePixels, 0.4),
            at(13.25, {420, 310}, {}, false, "further", unlocked, kStagePixels, 0.7),
            at(13.3, {420, 310}, {}, false, "another room", {}, kStagePixels, 0, &other),
            at(13.35, {430, 300}, {}, false, "time runs on there", {}, kStagePixels, 0, &other),
        };
        const auto renderer = [&] { return first == &moving ? SceneRenderer(misbehaving(10 + 1.0 / 24)) : SceneRenderer(); };
        SceneRenderer kept = renderer();
        for (const Step& step : steps) {
            SCOPED_TRACE("room " + std::to_string(first->id) + ": " + step.what);
            const QImage frame = kept.render(step.scene, step.pixels);
            ASSERT_LE(testing::largestDifference(frame, renderer().render(step.scene, step.pixels)), 1);
        }
    }
}

// A pulse of the ring over a still room lays the ring afresh on its band alone, on the room kept
// beneath it; the prop's middle is repainted only where dust drifts. Whatever changes is repainted.
TEST(SceneRenderer, APulseOfTheRingRepaintsOnlyItsBand) {
    Level room = testRoom(5);
    room.props[0].rect = {40, 200, 240, 300};
    const QRect middle(110, 270, 100, 160);  // well inside the box, out of the ring's reach
    const QPoint onRing(36, 350);            // the ring's line on the box's left edge
    for (const bool dark : {false, true}) {
        SCOPED_TRACE(dark ? "dark" : "lit");
        const Frame before{.hover = "box", .mouse = {150, 350}, .dark = dark, .time = 2.0};
        Frame after = before;
        after.time = 2.1;
        SceneRenderer renderer;
        render(room, before, renderer);
        const QImage kept = render(room, after, renderer);
        QRegion repainted;
        QRegion recomposed;
        for (const QRect& area : renderer.repaintedAreas()) repainted += area;
        for (const QRect& area : renderer.recomposedAreas()) recomposed += area;
        EXPECT_TRUE(repainted.contains(onRing));
        EXPECT_FALSE(recomposed.contains(onRing)) << "the room under the ring composed again";
        EXPECT_TRUE(((repainted & middle) - recomposed).isEmpty()) << "the ring's whole rectangle repainted";

        const QImage fresh = render(room, after);
        const QImage old = render(room, before);
        int missed = 0;
        for (int y = 0; y < fresh.height(); ++y)
            for (int x = 0; x < fresh.width(); ++x) missed += fresh.pixel(x, y) != old.pixel(x, y) && !repainted.contains(QPoint(x, y));
        EXPECT_EQ(missed, 0) << "pixels changed outside the repainted areas";
        EXPECT_LE(testing::largestDifference(kept, fresh), 1);
    }
}

// The window rarely shows the stage at 1:1: a frame at another scale must be the 1:1 frame
// resampled. Compared as means over 40x40-unit cells, so anti-aliased edges average out while a
// layer drawn at the wrong size (a shifted vignette, a seam) does not.
TEST(SceneRenderer, AFrameAtAnotherScaleIsTheFullSizeFrameResampled) {
    const Level room = testRoom(5, ostrevan::Themes::slate);
    const Frame frame{.time = 0.75};
    const QImage full = render(room, frame);
    constexpr int kCell = 40;
    for (const double scale : {0.8, 1.4}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        const QSize pixels(qRound(1000 * scale), qRound(640 * scale));
        SceneRenderer renderer;
        const QImage scaled = renderer.render(RoomScene{room, frame.flags, frame.time, 0, {}, frame.mouse, false}, pixels)
                                  .scaled(kStagePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        double worst = 0;
        for (int cy = 0; cy < 640; cy += kCell) {
            for (int cx = 0; cx < 1000; cx += kCell) {
                double sum[2][3] = {};
                for (int y = cy; y < cy + kCell; ++y) {
                    for (int x = cx; x < cx + kCell; ++x) {
                        const QRgb a = full.pixel(x, y);
                        const QRgb b = scaled.pixel(x, y);
                        sum[0][0] += qRed(a), sum[0][1] += qGreen(a), sum[0][2] += qBlue(a);
                        sum[1][0] += qRed(b), sum[1][1] += qGreen(b), sum[1][2] += qBlue(b);
                    }
                }
                for (int c = 0; c < 3; ++c)
                    worst = std::max(worst, std::abs(sum[0][c] - sum[1][c]) / (kCell * kCell));
            }
        }
        EXPECT_LT(worst, 2.5);
    }
}

}  // namespace
}  // namespace tallowmere
