// Plays the real game window through rooms 1 to 10 as a player would, never resizing it, and
// prints the memory the process holds after the first frames and after the walk: the room stretch
// of scripts/memory-check. In each room the pointer wanders over the props, clicks some, picks
// items, opens the help card and the pause menu now and then; the door then leads on.
// Usage: tallowmere_room_walk SECONDS (each room has its share; at least 30 in all). Prints one
// line per figure: "row NAME|RESIDENT MiB|PEAK MiB|LIVE HEAP MiB".
#include "PrivateHome.hpp"

#include <Tallowmere/App/TallowmereApp.hpp>
#include <Tallowmere/Audio/Sound.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Platform/Decimal.hpp>
#include <Tallowmere/Screens/GameView.hpp>
#include <Tallowmere/Screens/InventoryBar.hpp>
#include <Tallowmere/Screens/StageView.hpp>

#include <Ostrevan/Engine.hpp>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <random>
#include <string>

using namespace tallowmere;

namespace {

constexpr int kRooms = 10;
constexpr int kActionMs = 300;       // a player's pace
constexpr int kDoorMs = 2500;        // the door sequence and a moment of the next room
constexpr int kFirstFramesMs = 5000;  // the intro card, then the room's first frames

// A line of /proc/self/status in MiB ("VmRSS", "VmHWM").
long statusMiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (!line.startsWith(prefix)) continue;
        bool ok = false;
        const long kib = line.mid(prefix.size()).trimmed().split(' ').value(0).toLong(&ok);
        return ok ? (kib + 512) / 1024 : -1;
    }
    return -1;
}

void printRow(const std::string& name) {
    const struct mallinfo2 heap = mallinfo2();
    std::printf("row %s|%ld|%ld|%.0f\n", name.c_str(), statusMiB("VmRSS"), statusMiB("VmHWM"),
                double(heap.uordblks + heap.hblkhd) / 1048576);
    std::fflush(stdout);
}

class Walker {
public:
    Walker(MainWindow& window, GameModel& model) : m_window(window), m_model(model) {}

    void playUntil(std::chrono::steady_clock::time_point end) {
        while (std::chrono::steady_clock::now() < end) {
            const int choice = below(100);
            if (choice < 55) hoverProp(false);
            else if (choice < 80) hoverProp(true);
            else if (choice < 88) tapItem();
            else if (choice < 94) m_model.setShowHelp(!m_model.showHelp());
            else m_model.setPaused(!m_model.paused());
            QTest::qWait(kActionMs);
        }
    }

    // Closes what is open and goes through the door to the next room.
    bool leave() {
        m_model.setShowHelp(false);
        m_model.setPaused(false);
        m_model.setPanelID(std::nullopt);
        const std::int64_t room = m_model.state().level;
        m_model.handle({ostrevan::ev::enter()});
        if (!QTest::qWaitFor([&] { return m_model.state().level != room; }, 10 * kDoorMs)) return false;
        QTest::qWait(kDoorMs);
        return true;
    }

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    GameView* game() const { return qobject_cast<GameView*>(m_window.rootView()->currentScreen()); }

    void hoverProp(bool click) {
        GameView* view = game();
        const std::vector<ostrevan::Prop>& props = m_model.level().props;
        if (view == nullptr || props.empty()) return;
        if (m_model.panelID()) m_model.setPanelID(std::nullopt);
        StageView& stage = *view->stage();
        const ostrevan::Rect& r = props[std::size_t(below(int(props.size())))].rect;
        const QPoint point = stage.toWidget(QPointF(r.midX(), r.midY())).toPoint();
        QTest::mouseMove(&stage, point);
        if (click) QTest::mouseClick(&stage, Qt::LeftButton, Qt::NoModifier, point);
    }

    void tapItem() {
        GameView* view = game();
        const int items = int(m_model.state().inventory.size());
        if (view == nullptr || items == 0) return;
        InventoryBar& bar = *view->inventoryBar();
        QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, bar.tileRect(below(items)).center().toPoint());
    }

    std::mt19937 m_random{1};  // the same walk every run
    MainWindow& m_window;
    GameModel& m_model;
};

}  // namespace

int main(int argc, char** argv) {
    const std::optional<std::int64_t> seconds = argc == 2 ? parseDecimal(argv[1]) : std::nullopt;
    if (!seconds || *seconds < 30 || *seconds > 86400) {
        std::fprintf(stderr, "usage: tallowmere_room_walk SECONDS (30 to 86400)\n");
        return 2;
    }
    QTemporaryDir home;
    if (!usePrivateHome(home)) return 1;
    setenv("TM_START_ROOM", "1", 1);

    QApplication app(argc, argv);
    configureApplication(app);
    GameModel model;
    auto& window = *new MainWindow(model, [] { Sound::shared().startAmbient(); });
    window.resize(1200, 820);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    QTest::qWait(kFirstFramesMs);
    printRow("first frames");

    const auto start = std::chrono::steady_clock::now();
    const std::chrono::milliseconds share(*seconds * 1000 / kRooms);
    Walker walker(window, model);
    for (int room = 1; room <= kRooms; ++room) {
        const bool last = room == kRooms;
        walker.playUntil(start + share * room - (last ? std::chrono::milliseconds(0) : std::chrono::milliseconds(kDoorMs)));
        if (!last && !walker.leave()) {
            std::fprintf(stderr, "room walk: the door of room %d led nowhere\n", room);
            return 1;
        }
    }
    printRow("rooms 1-10 in " + std::to_string(*seconds) + " s");
    deleteWindows();
    return 0;
}
