// The cards over the game screen, as the window shows them.
#include <Tallowmere/Screens/Cards.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include "Art/ReferencePictures.hpp"

#include <gtest/gtest.h>

#include <QTest>
#include <QUuid>

#include <functional>

using namespace tallowmere;

namespace {

// The box of `image` at least as opaque as `alpha`, in logical pixels.
QRect opaqueBox(const QImage& image, int alpha) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) >= alpha) box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

TEST(IntroCard, ShowsItsWholeCardCentredAndFollowsTheWindowsWidth) {
    QWidget window;
    window.resize(1200, 820);
    IntroCard card(&window);
    card.setGeometry(window.rect());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // A line long enough to wrap once more in a narrow window than in a wide one.
    card.setIntro(RoomIntro{QUuid::createUuid(), 7, "Hall", QString("Every portrait watches the door. ").repeated(12)},
                  Motion::instant());
    ASSERT_GT(card.lineRows(480).size(), card.lineRows(1200).size());
    // The card's own fill is more opaque than any of its shadow.
    int wideHeight = 0;
    for (const int width : {1200, 480}) {
        SCOPED_TRACE(width);
        window.resize(width, 820);
        card.setGeometry(window.rect());
        const QSize size = card.cardSize(width).toSize();
        const QRect expected(QPoint((width - size.width()) / 2, (820 - size.height()) / 2), size);
        const QRect shown = opaqueBox(card.grab().toImage(), 150);
        EXPECT_LE((shown.topLeft() - expected.topLeft()).manhattanLength(), 2) << shown.x() << "," << shown.y();
        EXPECT_LE((shown.bottomRight() - expected.bottomRight()).manhattanLength(), 2)
            << shown.width() << "x" << shown.height() << " for " << size.width() << "x" << size.height();
        EXPECT_EQ(window.childAt(expected.center()), nullptr) << "the card takes the clicks meant for the room";
        if (width == 1200) {
            wideHeight = shown.height();
            // Its shadow falls off softly round it, fainter further out.
            const QImage picture = card.grab().toImage();
            const auto alphaOut = [&](int by) { return qAlpha(picture.pixel(expected.left() - by, expected.center().y())); };
            EXPECT_GT(alphaOut(12), 10) << "no shadow round the card";
            EXPECT_GT(alphaOut(3), alphaOut(12));
        } else {
            EXPECT_GT(shown.height(), wideHeight) << "the extra row of the line";
        }
    }
}

TEST(ToastView, ALongToastInANarrowWindowKeepsItsMargins) {
    QWidget window;
    window.resize(500, 400);
    ToastView toast(Toast{QUuid::createUuid(), QString("A much longer message ").repeated(8), Toast::Kind::info}, &window);
    toast.place(window.rect());
    toast.enter(Motion::instant());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_GE(toast.geometry().left(), 30);
    EXPECT_LE(toast.geometry().right() + 1, 500 - 30);
    EXPECT_EQ(toast.geometry().bottom() + 1, 400 - 30);
}

// The room's card and a two-line toast as the player reads them: a line, a margin or a shadow
// that moves shows here.
TEST(CardPictures, IntroCardAndToastMatchTheirReferences) {
    QWidget window;
    window.resize(900, 600);
    IntroCard card(&window);
    card.setGeometry(window.rect());
    ToastView toast(Toast{QUuid::createUuid(), QString("The drawer slides open. ").repeated(3), Toast::Kind::info}, &window);
    toast.place(QRectF(0, 0, 560, 600));
    toast.enter(Motion::instant());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    card.setIntro(RoomIntro{QUuid::createUuid(), 7, "Hall", "Every portrait watches the door."}, Motion::instant());
    ASSERT_EQ(toast.lines().size(), 2u);
    EXPECT_TRUE(tallowmere::testing::matchesReference("cards/intro", card.grab().toImage()));
    EXPECT_TRUE(tallowmere::testing::matchesReference("cards/toast", toast.grab().toImage()));
}

// A repaint of a sliver over a button (the stage's frames beneath the pause card) lays its kept
// look on again; a new state, label or size draws the look anew.
TEST(GlassButton, DrawsItsLookAgainOnlyWhenItsStateLabelOrSizeChanges) {
    QWidget window;
    window.resize(320, 120);
    GlassButton button(QStringLiteral("Resume"), true, false, &window);
    button.setSymbol("play.fill");
    button.setGeometry(QRect(QPoint(20, 20), button.sizeHint()));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.repaint();
    struct Case {
        const char* what;
        std::function<void()> change;
        std::uint64_t drawn;
    };
    const Case cases[] = {
        {"a sliver", [] {}, 0},
        {"pressed", [&] { button.setDown(true); }, 1},
        {"released", [&] { button.setDown(false); }, 1},
        {"disabled, which only fades it", [&] { button.setEnabled(false); }, 0},
        {"a new label", [&] { button.setText(QStringLiteral("Go on")); }, 1},
        {"a new symbol", [&] { button.setSymbol("house.fill"); }, 1},
        {"resized", [&] { button.resize(button.width() + 20, button.height()); }, 1},
    };
    for (const Case& c : cases) {
        const std::uint64_t before = button.looksDrawn();
        c.change();
        window.repaint(QRect(button.pos() + QPoint(2, 2), QSize(6, 6)));
        EXPECT_EQ(button.looksDrawn() - before, c.drawn) << c.what;
    }
}
