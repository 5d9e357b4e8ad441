// The canvas: blur, copies, arcs, gradients and fill rules, probed on small offscreen images.
#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Platform/Canvas.hpp>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <functional>
#include <optional>

#include "PaintProbe.hpp"

namespace tallowmere {
namespace {

using namespace tallowmere::testing;

double totalAlpha(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) sum += alphaAt(image, x, y);
    }
    return sum;
}

// ## Blur

TEST(CanvasBlur, ADotStaysSymmetricAndKeepsItsCoverage) {
    // A narrow blur, and a wide one made at lower resolution whose smaller mask flattens the
    // dot's curve a little more coarsely.
    const struct { double dot, blur, coverage; int size, symmetry; } cases[] = {{8, 4, 0.01, 101, 1}, {10, 13, 0.03, 121, 3}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.blur);
        const int mid = k.size / 2;
        const QPointF centre(mid + 0.5, mid + 0.5);
        const QImage sharp = paintImage(k.size, k.size, [&](Canvas& c) { c.fill(shape::circle(centre, k.dot), black()); });
        const QImage soft = paintImage(k.size, k.size, [&](Canvas& c) {
            c.addBlur(k.blur);
            c.fill(shape::circle(centre, k.dot), black());
        });
        EXPECT_NEAR(totalAlpha(soft), totalAlpha(sharp), totalAlpha(sharp) * k.coverage);
        EXPECT_LT(alphaAt(soft, mid, mid), 255);               // really blurred
        EXPECT_GT(alphaAt(soft, mid, mid + int(k.dot) + 5), 0);  // spread past the dot's edge
        for (int y = mid - 20; y <= mid + 20; ++y) {
            for (int x = mid - 20; x <= mid + 20; ++x) {
                ASSERT_NEAR(alphaAt(soft, x, y), alphaAt(soft, 2 * mid - x, y), k.symmetry) << x << "," << y;
                ASSERT_NEAR(alphaAt(soft, x, y), alphaAt(soft, x, 2 * mid - y), k.symmetry) << x << "," << y;
                ASSERT_NEAR(alphaAt(soft, x, y), alphaAt(soft, y, x), k.symmetry) << x << "," << y;
            }
        }
        for (int d = 4; d <= 40; d += 4) EXPECT_LE(alphaAt(soft, mid + d, mid), alphaAt(soft, mid + d - 4, mid)) << d;
    }
}

TEST(CanvasBlur, FollowsTheTransformScale) {
    // A dot of radius 4 blurred by 2 and drawn at twice the size looks like a dot of radius 8
    // blurred by 4.
    const QImage direct = paintImage(101, 101, [](Canvas& c) {
        c.addBlur(4);
        c.fill(shape::circle({50.5, 50.5}, 8), black());
    });
    const QImage scaled = paintImage(101, 101, [](Canvas& c) {
        c.scale(2, 2);
        c.addBlur(2);
        c.fill(shape::circle({25.25, 25.25}, 4), black());
    });
    for (int x = 30; x <= 70; x += 2) EXPECT_NEAR(alphaAt(scaled, x, 50), alphaAt(direct, x, 50), 3) << x;
}

TEST(CanvasBlur, EachDrawIsBlurredOnItsOwnAndTheClipCutsTheResult) {
    const QImage image = paintImage(100, 40, [](Canvas& c) {
        Canvas soft = c;
        soft.clip(Rect{0, 0, 50, 40});
        soft.addBlur(3);
        soft.fill(shape::rect(Rect{20, 10, 20, 20}), black());
        soft.fill(shape::rect(Rect{45, 10, 20, 20}), black());
    });
    EXPECT_GT(alphaAt(image, 48, 20), 0);
    EXPECT_EQ(alphaAt(image, 52, 20), 0);  // the second square's blur is cut at the clip
    EXPECT_GT(alphaAt(image, 18, 20), 0);  // the first square spreads left
}

TEST(CanvasBlur, AStraightEdgeSpreadsWithSigmaEqualToTheRadius) {
    // Black left of x 50 blurred by r: coverage 0.5 erfc(d / (r sqrt 2)) at distance d past the
    // edge. Half or twice that spread is far outside the tolerance at 3.5 to 6.5 units out.
    for (double r : {4.0, 13.0}) {
        const QImage image = paintImage(120, 20, [&](Canvas& c) {
            c.addBlur(r);
            c.fill(shape::rect(Rect{-100, -100, 150, 220}), black());
        });
        for (int x = 40; x <= 60; ++x) {
            const double d = x + 0.5 - 50;
            const double want = 255 * 0.5 * std::erfc(d / (r * std::sqrt(2.0)));
            EXPECT_NEAR(alphaAt(image, x, 10), want, 4) << "radius " << r << " at " << x;
        }
    }
}

// Kept blurred, a picture whose parts change is blurred again only round them, and shows what
// a whole blur of it shows, on copies reduced by every factor and not a whole one.
TEST(CanvasBlur, APictureBlursEveryChannelWithTheGivenSigmaAndInPartAsWhole) {
    // Red left of x 80, as the straight edge above; wide blurs are made on a smaller copy.
    QImage picture(160, 120, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter(&picture).fillRect(0, 0, 80, 120, QColor(255, 0, 0));
    for (double sigma : {4.0, 8.0, 13.0}) {
        const QImage soft = blurredImage(picture, sigma);
        for (int x = 70; x <= 90; ++x) {
            const double want = 255 * 0.5 * std::erfc((x + 0.5 - 80) / (sigma * std::sqrt(2.0)));
            const QRgb p = soft.pixel(x, 60);
            EXPECT_NEAR(qAlpha(p), want, 4) << "sigma " << sigma << " at " << x;
            EXPECT_EQ(qRed(p), qAlpha(p)) << "sigma " << sigma << " at " << x;
            EXPECT_EQ(qGreen(p) + qBlue(p), 0) << "sigma " << sigma << " at " << x;
        }
    }
    for (double sigma : {2.0, 8.0, 10.0, 16.0}) {
        KeptBlur kept;
        kept.blurWhole(picture, sigma);
        QImage changed = picture;
        const QRegion parts = QRegion(20, 20, 3, 3) + QRect(130, 100, 5, 2) + QRect(0, 115, 4, 5);
        QPainter painter(&changed);
        for (const QRect& part : parts) painter.fillRect(part, QColor(40, 200, 90));
        painter.end();
        kept.blurChanged(changed, parts);
        EXPECT_EQ(largestDifference(kept.result(), blurredImage(changed, sigma)), 0) << "sigma " << sigma;
    }
}

// ## Copies

void drawWithClipTransformAndBlur(Canvas canvas) {
    canvas.clip(Rect{0, 0, 10, 10});
    canvas.translate(30, 30);
    canvas.scale(0.5, 0.5);
    canvas.addBlur(6);
    canvas.setBlendMode(BlendMode::destinationOut);
    canvas.fill(shape::rect(Rect{0, 0, 5, 5}), black());
}

TEST(CanvasCopies, NothingLeaksIntoTheCaller) {
    const QImage image = paintImage(60, 60, [](Canvas& c) {
        drawWithClipTransformAndBlur(c);
        Canvas local = c;
        local.clip(Rect{0, 0, 5, 5});
        local.rotateDegrees(30);
        c.fill(shape::rect(Rect{20, 20, 20, 20}), H(0xFF0000));
    });
    // Unclipped, untransformed, sharp and blended normally.
    EXPECT_EQ(image.pixel(20, 20), qRgba(255, 0, 0, 255));
    EXPECT_EQ(image.pixel(39, 39), qRgba(255, 0, 0, 255));
    EXPECT_EQ(alphaAt(image, 19, 30), 0);
    EXPECT_EQ(alphaAt(image, 40, 30), 0);
}

// A copy's own opacity lays its drawing on as the same colour that much fainter would, blurred
// or not, over whatever opacity the painter had, which it keeps.
TEST(CanvasCopies, AnOpacityOfItsOwnLaysTheDrawingOnFainter) {
    for (const double blur : {0.0, 4.0}) {
        const auto dot = [blur](double opacity, double alpha) {
            return paintImage(60, 60, [=](Canvas& c) {
                Canvas faint = c;
                faint.addBlur(blur);
                faint.setOpacity(opacity);
                faint.fill(shape::ellipse(Rect{15, 15, 30, 30}), H(0xE0A040, 0, alpha));
            }, Qt::white);
        };
        EXPECT_LE(testing::largestDifference(dot(0.4, 1), dot(1, 0.4)), 1) << "blur " << blur;
    }
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setOpacity(0.7);
    {
        Canvas faint(painter);
        faint.setOpacity(0.5);
        faint.fill(shape::rect(Rect{0, 0, 10, 10}), black());
    }
    EXPECT_DOUBLE_EQ(painter.opacity(), 0.7);
}

TEST(CanvasCopies, ACopyKeepsItsOwnClipWhileTheCallerDrawsBetween) {
    const QImage image = paintImage(40, 20, [](Canvas& c) {
        Canvas left = c;
        left.clip(Rect{0, 0, 20, 20});
        c.fill(shape::rect(Rect{30, 0, 10, 20}), H(0x0000FF));  // the painter's clip changes hands
        left.fill(shape::rect(Rect{0, 0, 40, 20}), H(0x00FF00));
    });
    EXPECT_EQ(image.pixel(10, 10), qRgba(0, 255, 0, 255));
    EXPECT_EQ(image.pixel(25, 10), qRgba(0, 0, 0, 0));
    EXPECT_EQ(image.pixel(35, 10), qRgba(0, 0, 255, 255));

    // A bound cuts at its device pixels and leaves what lies inside it as drawn without it, where
    // a clip path or a stroke reaches past it too.
    const auto bounded = [](std::optional<QRect> bound) {
        return paintImage(40, 20, [&](Canvas& c) {
            if (bound) c.bound(*bound);
            Canvas round = c;
            round.clip(shape::ellipse(Rect{12, 1, 26, 18}));
            round.fill(shape::rect(Rect{0, 0, 40, 20}), H(0x00FF00));
            c.stroke(shape::polygon({{1, 18}, {39, 2}, {39, 18}}), H(0x0000FF), 2);
        });
    };
    const QImage cut = bounded(QRect(0, 0, 30, 20));
    EXPECT_EQ(differingPixels(cut, bounded(std::nullopt), QRect(0, 0, 30, 20)), 0);
    EXPECT_TRUE(isBlank(cut.copy(30, 0, 10, 20)));
}

TEST(CanvasCopies, ThePainterIsHandedBackAsItWasGivenAndItsClipStaysTheOuterClip) {
    QImage image(40, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(3, 4);
    painter.setClipRect(QRect(0, 0, 17, 16));
    {
        Canvas canvas(painter);
        canvas.fill(shape::rect(Rect{-3, -4, 40, 20}), H(0x00FF00));
        Canvas turned = canvas;
        turned.rotateDegrees(45);
        turned.clip(Rect{0, 0, 5, 5});
        turned.fill(shape::rect(Rect{0, 0, 4, 4}), H(0x0000FF));
    }
    EXPECT_EQ(painter.worldTransform(), QTransform::fromTranslate(3, 4));
    EXPECT_EQ(painter.clipBoundingRect(), QRectF(0, 0, 17, 16));
    painter.end();
    EXPECT_EQ(alphaAt(image, 10, 10), 255);
    EXPECT_EQ(alphaAt(image, 30, 10), 0);
}

// ## Geometry

TEST(CanvasGeometry, ArcsAndRotationsTurnClockwiseOnScreen) {
    QPainterPath arc;
    addArc(arc, {50, 50}, 40, 0, 90);  // from the right, through the lower right, to the bottom
    EXPECT_NEAR(arc.pointAtPercent(0).x(), 90, 0.01);
    EXPECT_NEAR(arc.pointAtPercent(1).y(), 90, 0.01);
    const QImage image = paintImage(100, 100, [&](Canvas& c) { c.stroke(arc, black(), 4); });
    const int d = int(50 + 40 * std::cos(M_PI / 4));
    EXPECT_GT(alphaAt(image, d, d), 128);
    EXPECT_EQ(alphaAt(image, d, 100 - d), 0);

    QPainterPath back;
    addArc(back, {50, 50}, 40, 0, -90);  // decreasing angles go over the top
    EXPECT_NEAR(back.pointAtPercent(0.5).y(), 50 - 40 * std::sin(M_PI / 4), 0.5);

    const QImage turned = paintImage(100, 100, [](Canvas& c) {
        c.translate(50, 50);
        c.rotateDegrees(90);
        c.fill(shape::rect(Rect{20, -3, 20, 6}), black());  // +x turns to +y
    });
    EXPECT_EQ(alphaAt(turned, 50, 80), 255);
    EXPECT_EQ(alphaAt(turned, 80, 50), 0);
}

TEST(CanvasGeometry, FillsUseTheNonZeroRuleUnlessAskedOtherwise) {
    QPainterPath twice;
    twice.addRect(10, 10, 20, 20);
    twice.addRect(10, 10, 20, 20);  // Qt's own default would cancel the overlap
    const QImage nonZero = paintImage(40, 40, [&](Canvas& c) { c.fill(twice, black()); });
    const QImage evenOdd = paintImage(40, 40, [&](Canvas& c) { c.fill(twice, black(), FillRule::evenOdd); });
    EXPECT_EQ(alphaAt(nonZero, 20, 20), 255);
    EXPECT_EQ(alphaAt(evenOdd, 20, 20), 0);
}

TEST(CanvasGeometry, ContinuousCornersStayInsideTheRectAndFillItsMiddle) {
    const Rect box{10, 10, 80, 60};
    const QPainterPath path = shape::roundedRect(box, 12);
    EXPECT_TRUE(toQRectF(box).adjusted(-0.01, -0.01, 0.01, 0.01).contains(path.boundingRect()));
    EXPECT_TRUE(path.contains(QPointF(50, 11)));   // a straight edge
    EXPECT_FALSE(path.contains(QPointF(11, 11)));  // a cut corner
    EXPECT_TRUE(path.contains(QPointF(14, 14)));
    // Tight corners fall back to circles that still close the shape.
    EXPECT_TRUE(shape::roundedRect(Rect{0, 0, 16, 7}, 4).contains(QPointF(8, 3.5)));
    EXPECT_TRUE(QRectF(-0.01, -0.01, 16.02, 7.02).contains(shape::roundedRect(Rect{0, 0, 16, 7}, 4).boundingRect()));
}

// ## Paints

TEST(CanvasPaints, RadialGradientsHoldTheirEndColoursInsideAndOutside) {
    const QImage image = paintImage(120, 120, [](Canvas& c) {
        c.fill(shape::rect(Rect{0, 0, 120, 120}), radial({60, 60}, 20, 40, {clear(), black()}));
    });
    EXPECT_EQ(alphaAt(image, 60, 60), 0);
    EXPECT_EQ(alphaAt(image, 60 + 15, 60), 0);
    EXPECT_NEAR(alphaAt(image, 60 + 30, 60), 128, 10);
    EXPECT_EQ(alphaAt(image, 60 + 50, 60), 255);
    EXPECT_EQ(alphaAt(image, 1, 1), 255);
}

TEST(CanvasPaints, LinearGradientsRunFromStartToEnd) {
    const Rect box{0, 0, 10, 100};
    const QImage image = paintImage(10, 100, [&](Canvas& c) { c.fill(shape::rect(box), vertical(box, {clear(), black()})); });
    EXPECT_LT(alphaAt(image, 5, 1), 8);
    EXPECT_NEAR(alphaAt(image, 5, 50), 128, 6);
    EXPECT_GT(alphaAt(image, 5, 98), 247);
}

TEST(CanvasText, IsCentredOnItsPoint) {
    const QImage image = paintImage(200, 100, [](Canvas& c) {
        c.drawText("HHHH", {100, 50}, Font{30, FontWeight::bold, FontDesign::rounded}, black());
    });
    int left = 200, right = -1, top = 100, bottom = -1;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (alphaAt(image, x, y) < 128) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    ASSERT_GE(right, 0);
    EXPECT_NEAR((left + right) / 2.0, 100, 2);
    EXPECT_NEAR((top + bottom) / 2.0, 50, 4);  // capitals sit a little above the line box's middle
    EXPECT_NEAR(measureText("HHHH", Font{60}).width(), 2 * measureText("HHHH", Font{30}).width(), 0.5);
}


// The stroke of "8" at 40 units: the ink across the row through its upper bowl, shared by the
// bowl's two sides.
double strokeOfEight(const Font& font) {
    const QImage image = paintImage(120, 120, [&](Canvas& c) { c.drawText("8", {60, 60}, font, black()); });
    int top = 120, bottom = -1;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (alphaAt(image, x, y) < 128) continue;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (bottom < 0) return 0;
    const int row = top + (bottom - top) / 4;
    double ink = 0;
    for (int x = 0; x < 120; ++x) ink += alphaAt(image, x, row) / 255.0;
    return ink / 2;
}

// Text in one colour is laid on from a kept picture: drawn twice, over a backdrop, at several
// densities and places that fall inside pixels, it is pixel for pixel the text filled as it is
// (a gradient of one colour takes the fill).
TEST(CanvasText, AKeptPictureOfTextIsTheFilledText) {
    const QColor ink(236, 180, 90, 230);
    const LinearGradient sameInk{{0, 0}, {0, 0}, {{1, ink}}};
    for (const double dpr : {1.0, 1.25, 2.0}) {
        for (const QPointF at : {QPointF(100, 40), QPointF(100.3, 40.7)}) {
            const auto draw = [&](const Paint& paint) {
                QImage image(QSize(240, 100) * dpr, QImage::Format_ARGB32_Premultiplied);
                image.setDevicePixelRatio(dpr);
                image.fill(QColor(30, 60, 90));
                QPainter painter(&image);
                painter.translate(0.5, 0);
                Canvas canvas(painter);
                for (int i = 0; i < 2; ++i) canvas.drawText("Room 38 · Blackout", at, Font{21, FontWeight::bold, FontDesign::rounded}, paint);
                painter.end();
                return image;
            };
            EXPECT_EQ(testing::largestDifference(draw(ink), draw(sameInk)), 0) << "at " << dpr << ", " << at.x();
        }
    }
}

TEST(CanvasText, EachWeightReadsAsItsOwnInEveryDesign) {
    const struct { const char* what; FontDesign design; bool condensed; } designs[] = {
        {"rounded", FontDesign::rounded, false}, {"serif", FontDesign::serif, false},
        {"serif condensed", FontDesign::serif, true}, {"monospaced", FontDesign::monospaced, false},
        {"standard", FontDesign::standard, false}};
    const FontWeight weights[] = {FontWeight::regular, FontWeight::semibold, FontWeight::bold, FontWeight::heavy,
                                  FontWeight::black};
    for (const auto& d : designs) {
        SCOPED_TRACE(d.what);
        double last = 0;
        for (const FontWeight weight : weights) {
            const double stroke = strokeOfEight(Font{40, weight, d.design, d.condensed});
            EXPECT_GT(stroke, last + 0.25) << int(weight);
            last = stroke;
        }
        const Font bold{40, FontWeight::bold, d.design, d.condensed};
        const Font heavy{40, FontWeight::heavy, d.design, d.condensed};
        EXPECT_GT(strokeOfEight(heavy), 1.15 * strokeOfEight(bold)) << "visibly heavier";
        EXPECT_GT(measureText("HEAVY", heavy).width(), measureText("HEAVY", bold).width());
    }
    // The condensed serif is narrower; the rounded design takes the arrows it lacks from Comfortaa.
    const Font serif{40, FontWeight::heavy, FontDesign::serif};
    EXPECT_LT(measureText("PLAQUE", Font{40, FontWeight::heavy, FontDesign::serif, true}).width(),
              0.93 * measureText("PLAQUE", serif).width());
    EXPECT_EQ(fontFace(Font{15, FontWeight::heavy, FontDesign::rounded}).families,
              (QStringList{"Quicksand", "Comfortaa"}));
}

}  // namespace
}  // namespace tallowmere
