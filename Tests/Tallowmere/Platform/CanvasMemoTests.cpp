// The pictures the canvas keeps between frames, of text and of blurred shapes: each cache counts
// what it really holds, keeps to its budget however many sizes a window takes, and lets go of
// what no window draws any more.
#include <Tallowmere/Platform/Canvas.hpp>
#include <Tallowmere/Platform/Runtime.hpp>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QResizeEvent>
#include <QString>
#include <QWindow>

#include <malloc.h>

#include <cmath>
#include <functional>
#include <optional>

#include "PaintProbe.hpp"

namespace tallowmere {
namespace {

// Bytes the C library's allocator has handed out on this thread's arena and in mapped chunks;
// nothing where a sanitizer's allocator stands in for it.
std::optional<double> heapInUse() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return std::nullopt;
#else
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
#endif
}

// Texts drawn as a window of another size shows them, at `scale`: each time new pictures. Blurred,
// they go through the blurred masks instead, keyed by every point of their outlines.
void drawTexts(double scale, double fontSize, double blur = 0) {
    testing::paintImage(int(400 * scale), int(100 * scale), [&](Canvas& canvas) {
        canvas.scale(scale, scale);
        canvas.addBlur(blur);
        for (int i = 0; i < 4; ++i)
            canvas.drawText(QStringLiteral("Room %1").arg(i), {50.0 + 100 * i, 50}, Font{fontSize}, QColor(Qt::white));
    });
}

// How far the heap grew while `draw` ran beyond what `use` counted, in bytes.
double uncountedGrowth(const std::function<CacheUse()>& use, const std::function<void()>& draw) {
    const std::optional<double> heapBefore = heapInUse();
    const double countedBefore = double(use().bytes);
    draw();
    return heapBefore ? *heapInUse() - *heapBefore - (double(use().bytes) - countedBefore) : 0;
}

TEST(CanvasMemo, TheKeptPicturesCountWhatTheyHoldAndKeepToTheirBudget) {
    constexpr int kScales = 80;
    // The outlines and the faces are worked out once, not per size.
    drawTexts(1, 14);
    drawTexts(1, 14, 1.5);
    // Small texts at many sizes (320 pictures, some 3 KiB each), plain and blurred: the heap grows by
    // what is counted. The allocator keeps a few small chunks of each size freed meanwhile, which
    // it counts as used: up to some 250 KiB.
    const double texts = uncountedGrowth(keptTextUse, [] {
        for (int i = 1; i <= kScales; ++i) drawTexts(1 + i / 64.0, 14);
    });
    constexpr double kLeeway = 512 * 1024;
    EXPECT_LT(std::abs(texts), kLeeway) << "bytes kept beside the pictures of text";
    const double masks = uncountedGrowth(blurredMaskUse, [] {
        for (int i = 1; i <= kScales; ++i) drawTexts(1 + i / 64.0, 14, 1.5);
    });
    EXPECT_LT(std::abs(masks), kLeeway) << "bytes kept beside the blurred masks";

    // Large texts at many sizes: far more than either budget, of which each keeps no more.
    for (int i = 1; i <= kScales; ++i) drawTexts(2 + i / 16.0, 40, i % 2 == 0 ? 0 : 0.5);
    for (const CacheUse& use : {keptTextUse(), blurredMaskUse()}) {
        EXPECT_GT(use.entries, 0U);
        EXPECT_LE(use.bytes, use.budget);
    }

    // Once a window has another size, or is gone, what nothing drew since goes.
    forgetUnusedPictures();
    drawTexts(1.5, 14);
    forgetUnusedPictures();
    EXPECT_EQ(keptTextUse().entries, 4U);
    EXPECT_EQ(blurredMaskUse().entries, 0U);
}

// A game window takes `size`, as the platform tells it.
void resizeWindow(QWindow& window, QSize size) {
    QResizeEvent event(size, window.size());
    QCoreApplication::sendEvent(&window, &event);
}

// Draws plain and blurred texts at `scale`; true when every picture was kept already.
bool drawnFromKept(double scale) {
    const std::size_t texts = keptTextUse().entries, masks = blurredMaskUse().entries;
    drawTexts(scale, 14);
    drawTexts(scale, 14, 1.5);
    return keptTextUse().entries == texts && blurredMaskUse().entries == masks;
}

TEST(CanvasMemo, AReleaseKeepsWhatWasDrawnSinceTheWindowsLastChange) {
    QWindow window;
    while (runPendingMemoryRelease()) {}
    drawnFromKept(1);
    resizeWindow(window, {1300, 900});
    drawnFromKept(1.25);
    ASSERT_TRUE(runPendingMemoryRelease()) << "a game window's new size starts a release";
    EXPECT_EQ(keptTextUse().entries, 4U) << "only the new size's texts stay";
    EXPECT_EQ(blurredMaskUse().entries, 4U) << "only the new size's masks stay";
    EXPECT_TRUE(drawnFromKept(1.25));

    // A drag: the first release comes while the corner still moves, the second a second after
    // it, when the window is at rest and draws nothing new.
    resizeWindow(window, {1400, 950});
    drawnFromKept(1.5);
    resizeWindow(window, {1500, 1000});
    drawnFromKept(1.75);
    ASSERT_TRUE(runPendingMemoryRelease());
    ASSERT_TRUE(runPendingMemoryRelease()) << "the window changed during the first second";
    EXPECT_FALSE(runPendingMemoryRelease());
    EXPECT_EQ(keptTextUse().entries, 4U);
    EXPECT_EQ(blurredMaskUse().entries, 4U);
    EXPECT_TRUE(drawnFromKept(1.75)) << "what the window shows at rest stays kept";
}

}  // namespace
}  // namespace tallowmere
