// Blurred shapes and text drawn again: what was made for one draw must not stand in for another
// that differs in shape, place, pen, colour or face.
#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Platform/Canvas.hpp>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "PaintProbe.hpp"

namespace tallowmere {
namespace {

using namespace tallowmere::testing;

// Sizes no other test draws, so every first draw here is made from scratch.
constexpr double kTextSize = 31.7;
constexpr double kBlur = 2.3;

QImage blurredText(const QString& text, QPointF centre, const QColor& colour, FontWeight weight = FontWeight::heavy,
                   double shift = 0) {
    return paintImage(120, 80, [&](Canvas& c) {
        c.translate(shift, 0);
        c.addBlur(kBlur);
        c.drawText(text, centre, Font{kTextSize, weight, FontDesign::rounded}, colour);
    });
}

QImage blurredRing(double width) {
    return paintImage(120, 80, [&](Canvas& c) {
        c.addBlur(kBlur);
        c.stroke(shape::roundedRect(Rect{30.3, 20.3, 57, 37}, 6), black(), width);
    });
}

TEST(CanvasRepeat, ABlurredDrawAgainIsTheSameAndAnyChangeShows) {
    const QPointF centre(60, 40);
    const QImage first = blurredText("71", centre, black());
    EXPECT_EQ(blurredText("71", centre, black()), first);
    EXPECT_NE(blurredText("17", centre, black()), first);                 // another shape
    EXPECT_NE(blurredText("71", centre, black(), FontWeight::heavy, 0.5), first);  // the same shape half a pixel over
    EXPECT_NE(blurredText("71", centre, black(), FontWeight::regular), first);  // another face

    // The same mask in another colour, compared where the text is densest.
    QPoint densest;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            if (alphaAt(first, x, y) > alphaAt(first, densest.x(), densest.y())) densest = QPoint(x, y);
    const QImage red = blurredText("71", centre, H(0xDE3F3F));
    EXPECT_EQ(alphaAt(red, densest.x(), densest.y()), alphaAt(first, densest.x(), densest.y()));
    EXPECT_GT(qRed(red.pixel(densest)), qBlue(red.pixel(densest)) + 80);

    EXPECT_NE(blurredRing(3), blurredRing(2));  // another pen
}

}  // namespace
}  // namespace tallowmere
