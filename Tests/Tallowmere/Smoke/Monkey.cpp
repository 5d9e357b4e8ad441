// Plays the real game window at random (run under Xvfb by ctest, on the sanitized build): rounds
// in several rooms and on the main menu, each a few hundred clicks, keys and resizes sent to
// whatever would receive them - an open popup menu, a confirmation, or the window's widget under
// the pointer. Afterwards the save file must load and hold a state the game can resume.
// Usage: tallowmere_monkey; TM_MONKEY_SEED=N repeats a run (each run prints its seed).
#include "PrivateHome.hpp"

#include <Tallowmere/App/TallowmereApp.hpp>
#include <Tallowmere/Audio/Sound.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Platform/Decimal.hpp>
#include <Tallowmere/Screens/GameView.hpp>
#include <Tallowmere/Screens/InventoryBar.hpp>
#include <Tallowmere/Screens/StageView.hpp>

#include <Ostrevan/Engine.hpp>
#include <Ostrevan/Levels.hpp>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace tallowmere;

namespace {

constexpr int kRounds = 8;
constexpr int kActionsPerRound = 400;
// A slow machine or build plays fewer actions (the same ones, in the same order) rather than
// holding up the suite.
constexpr auto kTimeBudget = std::chrono::seconds(100);
constexpr int kFirstRoom = 1;
constexpr QSize kSmallest{700, 500};  // below the window's own minimum, which it keeps
constexpr QSize kLargest{1600, 1100};

int fail(const char* what, std::uint64_t seed) {
    std::fprintf(stderr, "monkey test failed: %s (TM_MONKEY_SEED=%llu repeats it)\n", what,
                 static_cast<unsigned long long>(seed));
    return 1;
}

std::uint64_t chooseSeed() {
    if (const char* given = std::getenv("TM_MONKEY_SEED")) {
        if (const std::optional<std::int64_t> seed = parseDecimal(given); seed && *seed >= 0)
            return static_cast<std::uint64_t>(*seed);
    }
    return std::random_device{}();
}

class Monkey {
public:
    Monkey(std::uint64_t seed, MainWindow& window, GameModel& model)
        : m_random(seed), m_window(window), m_model(model) {}

    // Returns the number of actions played before `deadline`.
    int play(int actions, std::chrono::steady_clock::time_point deadline) {
        for (int i = 0; i < actions; ++i) {
            if (std::chrono::steady_clock::now() >= deadline) return i;
            const int choice = below(100);
            if (choice < 45) clickAnywhere();
            else if (choice < 70) clickSomethingInTheRoom();
            else if (choice < 95) pressKey();
            else resize();
            // Let animations, delays and the door sequence run now and then. Painting is most of
            // the cost, so several actions may go by between two paints.
            if (below(16) == 0) QTest::qWait(below(100));
            else if (below(4) == 0) QCoreApplication::processEvents();
        }
        return actions;
    }

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    // What a real click or key would reach first: a popup menu, then a modal box, then the window.
    QWidget* frontWindow() const {
        if (QWidget* popup = QApplication::activePopupWidget()) return popup;
        if (QWidget* modal = QApplication::activeModalWidget()) return modal;
        return &m_window;
    }

    void clickAt(QWidget* top, QPoint point) {
        QWidget* target = top->childAt(point);
        if (target == nullptr) target = top;
        const Qt::MouseButton button = below(10) == 0 ? Qt::RightButton : Qt::LeftButton;
        const QPoint local = target->mapFrom(top, point);
        QTest::mouseMove(target, local);
        QTest::mouseClick(target, button, Qt::NoModifier, local);
    }

    void clickAnywhere() {
        QWidget* top = frontWindow();
        clickAt(top, QPoint(below(std::max(top->width(), 1)), below(std::max(top->height(), 1))));
    }

    // Random points rarely hit the room's things; aim at a prop or an inventory tile instead.
    void clickSomethingInTheRoom() {
        auto* game = qobject_cast<GameView*>(m_window.rootView()->currentScreen());
        if (game == nullptr || frontWindow() != &m_window) return clickAnywhere();
        const std::vector<ostrevan::Prop>& props = m_model.level().props;
        const int items = static_cast<int>(m_model.state().inventory.size());
        if (items > 0 && below(3) == 0) {
            InventoryBar& bar = *game->inventoryBar();
            const QPoint tile = bar.tileRect(below(items)).center().toPoint();
            QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, tile);
        } else if (!props.empty()) {
            StageView& stage = *game->stage();
            const ostrevan::Rect& r = props[static_cast<std::size_t>(below(static_cast<int>(props.size())))].rect;
            const QPoint point = stage.toWidget(QPointF(r.midX(), r.midY())).toPoint();
            QTest::mouseMove(&stage, point);
            QTest::mouseClick(&stage, Qt::LeftButton, Qt::NoModifier, point);
        }
    }

    void pressKey() {
        static constexpr Qt::Key kShortcuts[] = {Qt::Key_H, Qt::Key_R, Qt::Key_P, Qt::Key_M};
        QWidget* top = frontWindow();
        QWidget* target = QApplication::focusWidget();
        if (target == nullptr || target->window() != top) target = top;
        const int choice = below(10);
        if (choice < 4) {
            QTest::keyClick(target, static_cast<char>('a' + below(26)));
        } else if (choice < 7) {
            QTest::keyClick(target, static_cast<char>('0' + below(10)));
        } else if (choice == 7) {
            QTest::keyClick(target, below(2) == 0 ? Qt::Key_Escape : Qt::Key_Return);
        } else if (choice == 8) {
            QTest::keyClick(target, 'h');
        } else {
            QTest::keyClick(target, kShortcuts[below(4)], Qt::ControlModifier);
        }
    }

    void resize() {
        m_window.resize(kSmallest.width() + below(kLargest.width() - kSmallest.width()),
                        kSmallest.height() + below(kLargest.height() - kSmallest.height()));
    }

    std::mt19937_64 m_random;
    MainWindow& m_window;
    GameModel& m_model;
};

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t seed = chooseSeed();
    std::printf("monkey seed %llu\n", static_cast<unsigned long long>(seed));
    std::fflush(stdout);

    QTemporaryDir home;
    if (!usePrivateHome(home)) return fail("no temporary folder", seed);

    QApplication app(argc, argv);
    configureApplication(app);
    std::mt19937_64 rooms(seed);
    const auto start = std::chrono::steady_clock::now();
    int played = 0;
    const auto roomCount = static_cast<int>(ostrevan::Levels::all().size());
    for (int round = 0; round < kRounds; ++round) {
        // The first round starts on the main menu with no save; the others in a random room.
        if (round == 0) {
            unsetenv("TM_START_ROOM");
        } else {
            const int room = std::uniform_int_distribution<int>(kFirstRoom, roomCount)(rooms);
            setenv("TM_START_ROOM", std::to_string(room).c_str(), 1);
        }
        GameModel model;
        // Not deleted on close, so the monkey's own window outlives a "Close Window" it clicks.
        auto& window = *new MainWindow(model, [] { Sound::shared().startAmbient(); });
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) return fail("the window never showed", seed);
        // Each round has its share of the time, so every room gets played.
        const auto deadline = start + kTimeBudget * (round + 1) / kRounds;
        played += Monkey(seed + static_cast<std::uint64_t>(round), window, model).play(kActionsPerRound, deadline);
        // Close whatever the monkey left open before the window goes.
        for (int tries = 0; tries < 10; ++tries) {
            QWidget* front = QApplication::activePopupWidget();
            if (front == nullptr) front = QApplication::activeModalWidget();
            if (front == nullptr) break;
            front->close();
            QCoreApplication::processEvents();
        }
        // With those that "New Window" may have opened over this round's model, it goes before
        // the model.
        deleteWindows();
    }

    const std::optional<ostrevan::SaveFile> saved = ostrevan::SaveStore::load(home.filePath("save.json").toStdString());
    if (!saved) return fail("the save file does not load", seed);
    if (saved->state.level < kFirstRoom || saved->state.level > roomCount) return fail("the saved room is not a room", seed);
    unsetenv("TM_START_ROOM");
    GameModel resumed;
    if (!resumed.hasSave()) return fail("the game does not see its save", seed);
    std::printf("monkey test passed: %d of %d actions in %d rounds, saved in room %lld\n", played,
                kRounds * kActionsPerRound, kRounds, static_cast<long long>(saved->state.level));
    std::fflush(stdout);
    return 0;
}
