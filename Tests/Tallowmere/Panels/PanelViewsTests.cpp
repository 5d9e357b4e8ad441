// The puzzle-panel overlay and its five panels, driven through their widgets and the keyboard on
// a manual clock with recorded sounds. Rooms come from the catalogue where it holds a panel of
// the kind; panels the catalogue does not have are made by hand.
#include "GameScreenFixture.hpp"
#include "PaintProbe.hpp"

#include <Tallowmere/Panels/PanelViews.hpp>
#include <Tallowmere/Panels/Panels.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <QKeyEvent>

#include <functional>
#include <utility>

using namespace tallowmere;
using namespace tallowmere::testing;
using ostrevan::Panel;
using ostrevan::Sfx;
using ostrevan::Tone;
using What = GameModel::What;

namespace {

// Stands in for the game screen: holds the overlay and closes the panel on Escape.
class ScreenStandIn final : public QWidget {
public:
    explicit ScreenStandIn(GameModel& model) : m_model(model) { setFocusPolicy(Qt::StrongFocus); }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) m_model.setPanelID(std::nullopt);
        else event->ignore();
    }

private:
    GameModel& m_model;
};

void clickAt(QWidget* widget, QPoint at) {
    ASSERT_NE(widget, nullptr);
    QWidget* hit = widget->childAt(at);
    if (!hit) hit = widget;
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(widget, at));
}

// A key press carrying exactly this text.
void typeText(QWidget* widget, const QString& text, Qt::Key key) {
    QTest::sendKeyEvent(QTest::Click, widget, key, text, Qt::NoModifier);
}

// Whether `widget` claims the key ahead of the window's shortcuts.
bool claims(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent override(QEvent::ShortcutOverride, key, modifiers, text);
    QApplication::sendEvent(widget, &override);
    return override.isAccepted();
}

class PanelViewsTest : public GameScreenTest {
protected:
    // Starts playing in `number` with the overlay inside a shown stand-in game screen.
    void openRoom(std::int64_t number) {
        screen.reset();
        startIn(number);
        QObject::connect(model.get(), &GameModel::changed, [this](What what) {
            if (what == What::state) ++stateChanges;
        });
        screen = std::make_unique<ScreenStandIn>(*model);
        screen->resize(1200, 760);
        overlay = new PanelOverlay(*model, screen.get());
        screen->show();
    }

    // Opens `found`'s panel in its room and returns its view as the expected type.
    template <class View>
    View* open(const Found& found) {
        if (!model || model->state().level != found.room) openRoom(found.room);
        model->setPanelID(found.panel->id);
        sound.played.clear();
        stateChanges = 0;
        auto* view = dynamic_cast<View*>(overlay->panelView());
        EXPECT_NE(view, nullptr);
        return view;
    }

    bool solved(const Panel& panel) const { return model->state().flags.contains("solved_" + panel.id); }

    // The solve is reported 0.45 s after the right entry and not a moment earlier, and only once.
    void expectSolveReported(const Panel& panel) {
        clock.advance(0.449);
        EXPECT_FALSE(solved(panel));
        EXPECT_EQ(model->panelID(), panel.id);
        clock.advance(0.001);
        EXPECT_TRUE(solved(panel));
        EXPECT_FALSE(model->panelID());
        clock.advance(0.5);  // short of any door sequence the solve may start
        EXPECT_EQ(stateChanges, 1);
    }

    std::unique_ptr<ScreenStandIn> screen;
    PanelOverlay* overlay = nullptr;
    int stateChanges = 0;
};

const std::vector<Sfx> kTap{Sfx::tap};

Found keypad482() {
    return findPanel<ostrevan::entry::Keypad>([](const Panel& p) { return p.answer == std::vector{4, 8, 2}; });
}

// Pad order "1" ... "9", "⌫", "0", "C".
GlassButton* digitKey(KeypadPanel* pad, int digit) {
    return pad->keys().at(digit == 0 ? 10 : std::size_t(digit - 1));
}
void enter(KeypadPanel* pad, std::initializer_list<int> digits) {
    for (const int d : digits) click(digitKey(pad, d));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Shared rules

TEST(PanelShake, SwingsTwiceAndRestsAtWholeValues) {
    const std::pair<double, double> cases[] = {
        {0, 0}, {0.125, 10}, {0.25, 0}, {0.375, -10}, {0.5, 0}, {0.625, 10}, {0.875, -10}, {1, 0}, {2.125, 10},
    };
    for (const auto& [shake, offset] : cases) EXPECT_NEAR(shakeOffset(shake), offset, 1e-9) << shake;
}

TEST(PanelColorGrid, ColumnsFollowThePaletteSize) {
    const std::pair<std::size_t, int> cases[] = {{0, 0}, {1, 1}, {4, 4}, {5, 3}, {6, 3}, {7, 4}, {8, 4}};
    for (const auto& [size, columns] : cases) EXPECT_EQ(colorColumns(size), columns) << size;
}

// ---------------------------------------------------------------------------------------------
// Overlay

TEST_F(PanelViewsTest, OverlayShowsTheViewOfEachKind) {
    const std::pair<Found, const char*> cases[] = {
        {findPanel<ostrevan::entry::Keypad>(), "tallowmere::KeypadPanel"},
        {findPanel<ostrevan::entry::Letters>(), "tallowmere::LettersPanel"},
        {findPanel<ostrevan::entry::Dials>(), "tallowmere::DialsPanel"},
        {findPanel<ostrevan::entry::Switches>(), "tallowmere::SwitchesPanel"},
        {findPanel<ostrevan::entry::Colors>(), "tallowmere::ColorsPanel"},
    };
    for (const auto& [found, viewType] : cases) {
        ASSERT_NE(found.panel, nullptr);
        SCOPED_TRACE(found.panel->id);
        openRoom(found.room);
        model->setPanelID("no-such-panel");  // an id the room does not know shows nothing
        EXPECT_EQ(overlay->panelView(), nullptr);
        EXPECT_FALSE(overlay->isVisible());

        model->setPanelID(found.panel->id);
        PanelView* view = overlay->panelView();
        ASSERT_NE(view, nullptr);
        EXPECT_STREQ(view->metaObject()->className(), viewType);
        EXPECT_TRUE(overlay->isVisible());
        EXPECT_EQ(overlay->geometry(), screen->rect());
        EXPECT_DOUBLE_EQ(overlay->cardRect().width(), 380);
        EXPECT_TRUE(overlay->cardRect().contains(QRectF(view->geometry()).adjusted(16, 16, -16, -16)));
    }
}

TEST_F(PanelViewsTest, EveryWayOutClosesUnsolvedAndReopeningStartsFresh) {
    const Found found = keypad482();
    KeypadPanel* pad = open<KeypadPanel>(found);
    clickAt(overlay, overlay->cardRect().topLeft().toPoint() + QPoint(12, 12));  // on the card, off its controls
    EXPECT_EQ(model->panelID(), found.panel->id);
    EXPECT_EQ(overlay->closeButton()->toolTip(), "Close (Esc)");

    const std::function<void()> waysOut[] = {
        [&] { clickAt(overlay, QPoint(5, 5)); },       // the backdrop
        [&] { click(overlay->closeButton()); },         // the close button
        [&] { QTest::keyClick(pad, Qt::Key_Escape); },  // not the pad's key: the game screen's
    };
    for (const auto& leave : waysOut) {
        pad = open<KeypadPanel>(found);
        EXPECT_TRUE(pad->digits().empty());
        EXPECT_EQ(pad->rejections(), 0);
        QTest::keyClick(pad, Qt::Key_4);
        enter(pad, {8, 1});  // wrong: the shake and the pending reset belong to this showing
        leave();
        EXPECT_FALSE(model->panelID());
        EXPECT_EQ(overlay->panelView(), nullptr);
    }
    clock.advance(1);
    EXPECT_FALSE(solved(*found.panel));
    KeypadPanel* again = open<KeypadPanel>(found);
    EXPECT_TRUE(again->digits().empty());
    EXPECT_EQ(again->rejections(), 0);
}

TEST_F(PanelViewsTest, TypingPanelsHoldTheKeyboardOverTheGameScreen) {
    const Found found = keypad482();
    openRoom(found.room);
    // The game screen takes the focus on every panel change, here after the overlay opened.
    QObject::connect(model.get(), &GameModel::changed, screen.get(), [this](What what) {
        if (what == What::panelID) screen->setFocus();
    });
    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    screen->setFocus();

    model->setPanelID(found.panel->id);
    EXPECT_EQ(QApplication::focusWidget(), overlay->panelView());
    model->setPanelID(std::nullopt);
    EXPECT_EQ(QApplication::focusWidget(), screen.get());
}

// The panel gives up the keys only as it goes, after its overlay: the overlay must hear nothing
// of it by then (the sanitizers watch).
TEST_F(PanelViewsTest, AnOverlayGoesWhileItsTypingPanelHoldsTheKeys) {
    for (const Found& found : {keypad482(), findPanel<ostrevan::entry::Letters>()}) {
        ASSERT_NE(found.panel, nullptr);
        SCOPED_TRACE(found.panel->id);
        openRoom(found.room);
        screen->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
        model->setPanelID(found.panel->id);
        ASSERT_EQ(QApplication::focusWidget(), overlay->panelView());
        delete std::exchange(overlay, nullptr);
        model->setPanelID(std::nullopt);
    }
}

TEST_F(PanelViewsTest, DelayedSolveOutlivesTheOverlayButNotTheRoom) {
    const Found found = keypad482();
    enter(open<KeypadPanel>(found), {4, 8, 2});
    model->setPanelID(std::nullopt);
    clock.advance(0.45);
    EXPECT_TRUE(solved(*found.panel)) << "closing the overlay does not cancel the solve";

    model->restartRoom();
    enter(open<KeypadPanel>(found), {4, 8, 2});
    model->restartRoom();
    clock.advance(1);
    EXPECT_FALSE(solved(*found.panel)) << "a solve never lands in a restarted room";

    enter(open<KeypadPanel>(found), {4, 8, 2});
    model->newGame();
    clock.advance(1);
    EXPECT_EQ(model->state(), ostrevan::Engine::begin(room(1)));
}

// ---------------------------------------------------------------------------------------------
// Keypad

TEST_F(PanelViewsTest, KeypadWrongCodeShakesAndEmptiesRightCodeSolvesOnce) {
    const Found found = keypad482();
    KeypadPanel* pad = open<KeypadPanel>(found);
    enter(pad, {4, 8, 1});
    EXPECT_EQ(sound.played, (std::vector{Sfx::tap, Sfx::tap, Sfx::tap, Sfx::wrong}));
    EXPECT_EQ(pad->rejections(), 1);

    // Full until the reset: a fourth digit is refused silently.
    sound.played.clear();
    click(digitKey(pad, 5));
    QTest::keyClick(pad, Qt::Key_5);
    EXPECT_EQ(pad->digits(), (std::vector{4, 8, 1}));
    EXPECT_TRUE(sound.played.empty());
    clock.advance(0.449);
    EXPECT_EQ(pad->digits().size(), 3u);
    clock.advance(0.001);
    EXPECT_TRUE(pad->digits().empty());

    // Mending a wrong code during the delay submits again; each attempt's reset still comes.
    enter(pad, {4, 8, 1});
    clock.advance(0.2);
    QTest::keyClick(pad, Qt::Key_Backspace);
    QTest::keyClick(pad, Qt::Key_3);
    EXPECT_EQ(pad->rejections(), 3);
    clock.advance(0.25);  // the first reset empties the entry
    EXPECT_TRUE(pad->digits().empty());
    QTest::keyClick(pad, Qt::Key_4);
    clock.advance(0.2);  // and the second one what was typed since
    EXPECT_TRUE(pad->digits().empty());

    // The right code: digits, delete and clear are refused from then on.
    sound.played.clear();
    enter(pad, {4, 8, 2});
    EXPECT_TRUE(pad->isSolved());
    click(digitKey(pad, 1));
    click(pad->keys()[9]);   // ⌫
    click(pad->keys()[11]);  // C
    QTest::keyClick(pad, Qt::Key_Backspace);
    EXPECT_EQ(pad->digits(), (std::vector{4, 8, 2}));
    EXPECT_EQ(sound.played, (std::vector{Sfx::tap, Sfx::tap, Sfx::tap}));
    expectSolveReported(*found.panel);
}

TEST_F(PanelViewsTest, KeypadTakesDigitsOfEveryKindAndDeletes) {
    KeypadPanel* pad = open<KeypadPanel>(keypad482());
    QTest::keyClick(pad, Qt::Key_4, Qt::KeypadModifier);
    typeText(pad, QString(QChar(0x0668)), Qt::Key_8);  // Arabic-Indic eight
    EXPECT_EQ(pad->digits(), (std::vector{4, 8}));
    QTest::keyClick(pad, Qt::Key_Delete);
    QTest::keyClick(pad, Qt::Key_Backspace);
    QTest::keyClick(pad, Qt::Key_Backspace);  // on an empty entry: still the pad's key
    QTest::keyClick(pad, Qt::Key_Return);
    QTest::keyClick(pad, Qt::Key_A);
    EXPECT_TRUE(pad->digits().empty());
    EXPECT_EQ(sound.played, (std::vector{Sfx::tap, Sfx::tap}));

    click(digitKey(pad, 7));
    click(pad->keys()[11]);  // C empties without a sound
    EXPECT_TRUE(pad->digits().empty());
    EXPECT_EQ(sound.played.size(), 3u);

    // The pad's keys are not a shortcut's to take; the hint key is not the pad's.
    EXPECT_TRUE(claims(pad, Qt::Key_4, Qt::NoModifier, "4"));
    EXPECT_FALSE(claims(pad, Qt::Key_H, Qt::NoModifier, "h"));
}

TEST_F(PanelViewsTest, KeypadKeysDoNotOverlapAndEdgesPressTheirOwnDigit) {
    KeypadPanel* pad = open<KeypadPanel>(keypad482());
    const auto& keys = pad->keys();
    ASSERT_EQ(keys.size(), 12u);
    for (std::size_t a = 0; a < keys.size(); ++a) {
        EXPECT_EQ(keys[a]->size(), QSize(102, 66));  // label 66 x 46 plus the glass padding
        const QRect inOverlay(keys[a]->mapTo(overlay, QPoint(0, 0)), keys[a]->size());
        EXPECT_TRUE(overlay->cardRect().contains(QRectF(inOverlay))) << a;
        for (std::size_t b = a + 1; b < keys.size(); ++b)
            EXPECT_FALSE(keys[a]->geometry().intersects(keys[b]->geometry())) << a << " and " << b;
    }
    // Just inside the right edge of "1", the left edge of "2" and the bottom edge of "5".
    const std::pair<QPoint, int> probes[] = {
        {digitKey(pad, 1)->geometry().topRight() + QPoint(-1, 20), 1},
        {digitKey(pad, 2)->geometry().topLeft() + QPoint(1, 20), 2},
        {digitKey(pad, 5)->geometry().bottomLeft() + QPoint(30, -1), 5},
    };
    for (const auto& [at, digit] : probes) {
        clickAt(pad, at);
        ASSERT_FALSE(pad->digits().empty());
        EXPECT_EQ(pad->digits().back(), digit);
    }
}

// ---------------------------------------------------------------------------------------------
// Switches

TEST_F(PanelViewsTest, SwitchesWrongKeepsTheSwitchesRightSolvesOnce) {
    const Found found = findPanel<ostrevan::entry::Switches>();
    auto* panel = open<SwitchesPanel>(found);
    const auto& answer = found.panel->answer;
    ASSERT_EQ(panel->switches().size(), answer.size());
    click(panel->switches()[0]);
    click(panel->switches()[0]);
    EXPECT_EQ(sound.played, (std::vector{Sfx::tap, Sfx::tap}));
    click(panel->switches()[1]);
    const std::vector<bool> pattern = panel->on();
    ASSERT_NE(std::vector<int>(pattern.begin(), pattern.end()), answer) << "pick another wrong pattern";

    sound.played.clear();
    click(panel->tryButton());
    click(panel->tryButton());  // again during the shake
    EXPECT_EQ(sound.played, (std::vector{Sfx::wrong, Sfx::wrong}));
    EXPECT_EQ(panel->rejections(), 2);
    clock.advance(1);
    EXPECT_EQ(panel->on(), pattern);

    // The lamps and labels above and below a switch take no clicks.
    clickAt(panel, QPoint(panel->width() / 2, PanelView::kBleed + 4));
    EXPECT_EQ(panel->on(), pattern);

    for (std::size_t i = 0; i < answer.size(); ++i) {
        if (panel->on()[i] != (answer[i] == 1)) click(panel->switches()[i]);
    }
    sound.played.clear();
    click(panel->tryButton());
    EXPECT_TRUE(panel->isSolved());
    click(panel->switches().front());
    click(panel->tryButton());
    EXPECT_TRUE(sound.played.empty()) << "\"Try it\" is silent, and then nothing flips";
    expectSolveReported(*found.panel);
}

// ---------------------------------------------------------------------------------------------
// Letters

TEST_F(PanelViewsTest, LettersTurnAndTakeTypingUnderTheCursor) {
    auto* lock = open<LettersPanel>(findPanel<ostrevan::entry::Letters>(
        [](const Panel& p) { return std::get<ostrevan::entry::Letters>(p.kind).count <= 5; }));
    const int last = int(lock->letters().size()) - 1;
    EXPECT_EQ(lock->cellRect(0).width(), 50);
    EXPECT_EQ(lock->letters(), std::vector<int>(std::size_t(last + 1), 0));

    QTest::keyClick(lock, Qt::Key_Left);
    EXPECT_EQ(lock->cursor(), 0);
    QTest::keyClick(lock, Qt::Key_Down);  // A steps down to Z
    EXPECT_EQ(lock->letters()[0], 25);
    QTest::keyClick(lock, Qt::Key_Up);  // and Z up to A
    EXPECT_EQ(lock->letters()[0], 0);
    click(lock->downButton(1));
    EXPECT_EQ(lock->letters()[1], 25);
    EXPECT_EQ(lock->cursor(), 0);  // chevrons leave the cursor
    clickAt(lock, lock->cellRect(1).center());
    EXPECT_EQ(lock->cursor(), 1);
    for (int i = 0; i <= last + 2; ++i) QTest::keyClick(lock, Qt::Key_Right);
    EXPECT_EQ(lock->cursor(), last);
    EXPECT_EQ(sound.played, (std::vector{Sfx::tap, Sfx::tap, Sfx::tap}));

    // Typing writes and moves on, then keeps overwriting the last wheel.
    for (int i = 0; i < last; ++i) QTest::keyClick(lock, Qt::Key_Left);
    sound.played.clear();
    for (int i = 0; i <= last; ++i) QTest::keyClick(lock, 'c');
    EXPECT_EQ(lock->cursor(), last);
    QTest::keyClick(lock, 'a');
    QTest::keyClick(lock, 'T', Qt::ShiftModifier);
    typeText(lock, QString(QChar(0x00E9)), Qt::Key_Eacute);  // é: swallowed, no sound
    EXPECT_EQ(lock->letters().front(), 'C' - 'A');
    EXPECT_EQ(lock->letters().back(), 'T' - 'A');
    EXPECT_EQ(lock->cursor(), last);
    EXPECT_EQ(sound.played, std::vector<Sfx>(std::size_t(last + 3), Sfx::tap));
}

TEST_F(PanelViewsTest, LettersWrongWordStaysAndRightWordSolves) {
    const Found found = findPanel<ostrevan::entry::Letters>();
    auto* lock = open<LettersPanel>(found);
    QTest::keyClick(lock, Qt::Key_Return);
    QTest::keyClick(lock, Qt::Key_Return);
    EXPECT_EQ(sound.played, (std::vector{Sfx::wrong, Sfx::wrong}));
    EXPECT_EQ(lock->rejections(), 2);
    clock.advance(1);
    EXPECT_EQ(lock->letters(), std::vector<int>(found.panel->answer.size(), 0));

    for (int letter : found.panel->answer) QTest::keyClick(lock, char('a' + letter));
    click(lock->tryButton());
    EXPECT_TRUE(lock->isSolved());

    // Solved: chevrons, arrows up and down and Return do nothing; typing still writes.
    sound.played.clear();
    const std::vector<int> word = lock->letters();
    click(lock->upButton(0));
    QTest::keyClick(lock, Qt::Key_Up);
    QTest::keyClick(lock, Qt::Key_Return);
    EXPECT_EQ(lock->letters(), word);
    EXPECT_TRUE(sound.played.empty());
    QTest::keyClick(lock, Qt::Key_Left);
    QTest::keyClick(lock, word[std::size_t(lock->cursor())] == 25 ? 'a' : 'z');
    EXPECT_NE(lock->letters(), word);
    EXPECT_EQ(sound.played, kTap);
    expectSolveReported(*found.panel);
}

TEST_F(PanelViewsTest, LettersOfSixWheelsAreNarrowAndClaimTheirKeys) {
    auto* lock = open<LettersPanel>(findPanel<ostrevan::entry::Letters>(
        [](const Panel& p) { return std::get<ostrevan::entry::Letters>(p.kind).count >= 6; }));
    EXPECT_EQ(lock->cellRect(0).width(), 42);
    EXPECT_TRUE(claims(lock, Qt::Key_H, Qt::NoModifier, "h"));
    EXPECT_FALSE(claims(lock, Qt::Key_R, Qt::ControlModifier, "\x12"));
    QTest::keyClick(lock, Qt::Key_Escape);
    EXPECT_FALSE(model->panelID());
}

// ---------------------------------------------------------------------------------------------
// Dials

TEST_F(PanelViewsTest, DialsWrapWrongKeepsRightSolves) {
    const Found found = findPanel<ostrevan::entry::Dials>();
    auto* dials = open<DialsPanel>(found);
    const auto& faces = std::get<ostrevan::entry::Dials>(found.panel->kind).faces;
    ASSERT_EQ(dials->values(), std::vector<int>(faces.size(), 0));

    click(dials->downButton(0));
    EXPECT_EQ(dials->values()[0], int(faces[0].size()) - 1);
    click(dials->upButton(0));
    EXPECT_EQ(dials->values()[0], 0);
    EXPECT_EQ(sound.played, (std::vector{Sfx::tap, Sfx::tap}));

    ASSERT_NE(dials->values(), found.panel->answer);
    click(dials->tryButton());
    EXPECT_EQ(dials->rejections(), 1);
    clock.advance(1);
    EXPECT_EQ(dials->values(), std::vector<int>(faces.size(), 0));

    for (std::size_t i = 0; i < faces.size(); ++i) {
        for (int step = 0; step < found.panel->answer[i]; ++step) click(dials->upButton(i));
    }
    click(dials->tryButton());
    EXPECT_TRUE(dials->isSolved());
    sound.played.clear();
    const std::vector<int> set = dials->values();
    click(dials->upButton(0));
    click(dials->tryButton());
    EXPECT_EQ(dials->values(), set);
    EXPECT_TRUE(sound.played.empty());
    expectSolveReported(*found.panel);
}

TEST(PanelDialFace, SymbolNamesArePicturesAndOtherNamesWords) {
    const auto render = [](const std::string& name) {
        return paintImage(78, 80, [&](Canvas& c) { drawDialFace(c, name, Rect{0, 0, 78, 80}); });
    };
    const QImage moon = render("moon");
    EXPECT_NE(moon, render("Moon"));
    // The moon is a crescent 0.7 x 78 across on the left: its left horn's edge is inked.
    EXPECT_GT(qAlpha(moon.pixel(39 - 24, 40)), 200);
    EXPECT_EQ(qAlpha(moon.pixel(39 + 20, 40)), 0);
}

// ---------------------------------------------------------------------------------------------
// Colours

TEST_F(PanelViewsTest, ColorsWrongPressLocksThenThrowsTheAttemptAway) {
    const Found found = findPanel<ostrevan::entry::Colors>([](const Panel& p) { return p.answer.size() >= 3; });
    auto* colors = open<ColorsPanel>(found);
    const auto& answer = found.panel->answer;
    const int wrongThird = answer[2] == 0 ? 1 : 0;
    const auto press = [&](int ball) { click(colors->balls()[std::size_t(ball)]); };

    press(answer[0]);
    press(answer[1]);
    press(wrongThird);
    EXPECT_EQ(sound.played, (std::vector{Sfx::tap, Sfx::tap, Sfx::tap, Sfx::wrong}));
    EXPECT_EQ(colors->pressed(), (std::vector{answer[0], answer[1], wrongThird}));
    EXPECT_TRUE(colors->isLocked());

    sound.played.clear();
    press(answer[0]);  // locked: silently ignored
    EXPECT_EQ(colors->pressed().size(), 3u);
    EXPECT_TRUE(sound.played.empty());
    clock.advance(0.45);
    EXPECT_TRUE(colors->pressed().empty());
    EXPECT_FALSE(colors->isLocked());

    for (int ball : answer) press(ball);
    EXPECT_TRUE(colors->isSolved());
    EXPECT_EQ(sound.played, std::vector<Sfx>(answer.size(), Sfx::tap));
    press(0);
    EXPECT_EQ(colors->pressed().size(), answer.size());
    expectSolveReported(*found.panel);
}

TEST_F(PanelViewsTest, ColorsRepeatedColourIsPressedTwiceAndDotsFollowTheAnswer) {
    openRoom(1);
    const std::vector<Tone> palette = {Tone::red, Tone::green, Tone::blue};
    const Panel panel{"twice", "Twice", ostrevan::entry::Colors{palette}, {2, 2, 0, 2, 1}, {}};
    ColorsPanel colors(*model, panel, palette, screen.get());
    colors.show();
    for (int ball : panel.answer) click(colors.balls()[std::size_t(ball)]);
    EXPECT_TRUE(colors.isSolved());
    EXPECT_EQ(colors.pressed(), panel.answer);

    // The first press wrong: its colour shows in the first dot until the reset.
    ColorsPanel fresh(*model, panel, palette, screen.get());
    fresh.show();
    click(fresh.balls()[0]);
    EXPECT_EQ(fresh.pressed(), std::vector{0});
    EXPECT_TRUE(fresh.isLocked());
    clock.advance(0.45);
    EXPECT_TRUE(fresh.pressed().empty());
}

// ---------------------------------------------------------------------------------------------
// Room data that breaks its own rules is never handled, but it must not crash a panel.

TEST_F(PanelViewsTest, DegeneratePanelsStayHarmless) {
    openRoom(1);
    const auto make = [](ostrevan::PanelKind kind, std::vector<int> answer) {
        return Panel{"odd", "", std::move(kind), std::move(answer), {}};
    };
    KeypadPanel pad(*model, make(ostrevan::entry::Keypad{0}, {}), 0, screen.get());
    pad.press(1);
    EXPECT_TRUE(pad.digits().empty());

    DialsPanel dials(*model, make(ostrevan::entry::Dials{{{}, {"sun"}}}, {0, 0}), {{}, {"sun"}}, screen.get());
    dials.bump(0, 1);  // no faces: refused silently
    dials.bump(1, 1);  // one face: turns onto itself
    EXPECT_EQ(dials.values(), (std::vector{0, 0}));
    EXPECT_EQ(sound.played, kTap);
    sound.played.clear();
    DialsPanel none(*model, make(ostrevan::entry::Dials{}, {}), {}, screen.get());
    EXPECT_TRUE(none.values().empty());

    SwitchesPanel switches(*model, make(ostrevan::entry::Switches{}, {}), {}, screen.get());
    switches.flip(0);
    EXPECT_TRUE(switches.on().empty());

    ColorsPanel colors(*model, make(ostrevan::entry::Colors{{Tone::red}}, {}), {Tone::red}, screen.get());
    colors.press(0);  // past the end of an empty answer: a wrong press
    colors.press(5);  // no such ball
    EXPECT_TRUE(colors.isLocked());
    EXPECT_EQ(sound.played, (std::vector{Sfx::tap, Sfx::wrong}));
    for (QWidget* panel : std::initializer_list<QWidget*>{&pad, &dials, &none, &switches, &colors})
        EXPECT_FALSE(panel->grab().isNull());  // and paints
}
