// The session ending under the real game while the save of an action is on its way to a slow
// disk: a logout's SIGTERM, a closed terminal's SIGHUP (twice, as the terminal and its shell send
// it, and once more while the save is waited for) and Ctrl+C's SIGINT end it only once the save
// is written, and then by that signal, as a shell expects; a SIGHUP the game was started to ignore (nohup) is ignored; on a disk that does
// not answer, a second Ctrl+C after the game says it waits ends it at once, and on one that takes
// no time the game says nothing; the X server going away lets the save finish before the process
// ends. Each time the disk keeps what it is given, the key taken from room 1's vase is in the
// save file and no temporary file is left.
// Each round runs the game as a child of this program, on an Xvfb display of its own.
// Usage: tallowmere_session_end XVFB (the game it starts: tallowmere_session_end --game FD DISK)
#include "PrivateHome.hpp"

#include <Tallowmere/App/CommandLine.hpp>
#include <Tallowmere/App/TallowmereApp.hpp>
#include <Tallowmere/Model/SaveWriter.hpp>
#include <Tallowmere/Screens/StageView.hpp>

#include <Ostrevan/Levels.hpp>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <xcb/xcb.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tallowmere;
namespace fs = std::filesystem;

namespace {

// How long the disk holds each save; the session ends as soon as the save begins, and the game
// would be long gone within this time if nothing waited for the save.
constexpr auto kSlowDisk = std::chrono::seconds(2);
// Only a hung game or server takes this long.
constexpr auto kPatience = std::chrono::seconds(60);
constexpr const char* kSaveWaitTold = "Tallowmere: waiting for the save to be written";
constexpr const char* kCtrlCAgainTold = "Tallowmere: waiting for the save to be written; press Ctrl+C again to quit without it";

// The disk under the game: slow (kSlowDisk); held, which answers only once the test lets it go
// (or goes); or one that takes no time and keeps nothing (so no fsync of the machine's own disk
// can be slow).
enum class Disk { slow, held, instant };
constexpr const char* kDiskNames[] = {"slow", "held", "instant"};
constexpr int kNoStage = 3;
constexpr int kDisplayAttempts = 10;
constexpr int kRoundAttempts = 3;
constexpr const char* kSavedNothing = "the game saved nothing";

int fail(const std::string& what) {
    std::fprintf(stderr, "session end test failed: %s\n", what.c_str());
    return 1;
}

// ---------------------------------------------------------------------------------------------
// The game, in the child

// Clicks room 1's vase once the window shows, as a player would.
void clickTheVaseOnceShown() {
    QTimer::singleShot(0, [] {
        MainWindow* window = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<MainWindow*>(widget)) window = found;
        auto* stage = window ? window->findChild<StageView*>() : nullptr;
        if (!stage || !QTest::qWaitForWindowExposed(window)) {
            QCoreApplication::exit(kNoStage);
            return;
        }
        const ostrevan::Rect r = ostrevan::Levels::all().front().prop("vase")->rect;
        const QPoint vase = stage->toWidget(QPointF(r.midX(), r.midY())).toPoint();
        QTest::mouseMove(stage, vase);
        QTest::mouseClick(stage, Qt::LeftButton, Qt::NoModifier, vase);
    });
}

// The game as the player starts it, on `disk`, which tells the test on `testFd` when a save
// begins and, held, waits there for the test to let it go.
int runGame(char* program, int testFd, Disk disk) {
    SaveWriter::setDefaultWrite([testFd, disk](const ostrevan::SaveFile& file, const fs::path& path) {
        char byte = 0;
        [[maybe_unused]] const ssize_t told = ::write(testFd, &byte, 1);
        if (disk == Disk::instant) return;
        if (disk == Disk::held) [[maybe_unused]] const ssize_t letGo = ::read(testFd, &byte, 1);
        else std::this_thread::sleep_for(kSlowDisk);
        ostrevan::SaveStore::write(file, path);
    });
    qAddPreRoutine(clickTheVaseOnceShown);
    char* args[] = {program, nullptr};
    return CommandLine::run(1, args);
}

// ---------------------------------------------------------------------------------------------
// The session, in this process

// How a child starts: its output goes to /dev/null when `quiet`, its stderr to `errFd` when
// given, and it ignores SIGHUP when started by `nohup`.
struct Start {
    bool quiet = false;
    int errFd = -1;
    bool nohup = false;
};

// Runs `args`, passing `keptFd` on. -1 on failure.
pid_t start(const std::vector<std::string>& args, int keptFd, Start how) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    // As a terminal starts it, whatever this test was started with (a shell's background job
    // ignores SIGINT).
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) std::signal(signal, SIG_DFL);
    if (how.nohup) std::signal(SIGHUP, SIG_IGN);
    ::fcntl(keptFd, F_SETFD, 0);
    if (how.quiet) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
    }
    if (how.errFd >= 0) ::dup2(how.errFd, STDERR_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

bool readable(int fd) {
    pollfd wait{fd, POLLIN, 0};
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(kPatience).count();
    return ::poll(&wait, 1, int(ms)) == 1;
}

// Waits for `pid` to end; kills it when it hangs. Its wait status, or nothing if it hung.
std::optional<int> ended(pid_t pid) {
    const auto giveUp = std::chrono::steady_clock::now() + kPatience;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > giveUp) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status;
}

// An Xvfb server on a display number no one uses; the server is -1 if it did not start.
struct Display {
    pid_t server = -1;
    std::string name;
};

// The next display number to try. A server that takes the lowest free number, as -displayfd
// has it do, can take the number of one still going away, which then removes the socket the new
// server made: that server runs on, and no client reaches it. Other programs' servers come and go
// on low numbers (-displayfd counts from 0, xvfb-run -a from 99), so this test's own take numbers
// far above them, from one its process id picks, each start a new one.
int nextDisplayNumber() {
    constexpr int kFirst = 1000;
    constexpr int kCount = 20000;
    static int next = int(::getpid() % kCount);
    const int number = kFirst + next;
    next = (next + 1) % kCount;
    return number;
}

// Whether a client can connect to `name` now.
bool reachable(const std::string& name) {
    xcb_connection_t* connection = xcb_connect(name.c_str(), nullptr);
    const bool connected = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return connected;
}

Display startXvfb(const std::string& xvfb) {
    for (int attempt = 0; attempt < kDisplayAttempts; ++attempt) {
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0) return {};
        const std::string name = ":" + std::to_string(nextDisplayNumber());
        // A number taken by a server of someone else's makes this one end at once.
        const pid_t server = start({xvfb, name, "-displayfd", std::to_string(ready[1]), "-screen", "0", "1400x1000x24",
                                    "-nolisten", "tcp"},
                                   ready[1], Start{.quiet = true});
        ::close(ready[1]);
        char text[16];
        const bool up = server > 0 && readable(ready[0]) && ::read(ready[0], text, sizeof text) > 0;
        ::close(ready[0]);
        if (up && reachable(name)) return {server, name};
        if (server > 0) {
            ::kill(server, SIGKILL);
            ::waitpid(server, nullptr, 0);
        }
    }
    return {};
}

std::string statusText(int status) {
    if (WIFSIGNALED(status)) return "was killed by signal " + std::to_string(WTERMSIG(status));
    return "ended with status " + std::to_string(WEXITSTATUS(status));
}

// Reads `fd` onto `text` until `line` has come, or nothing more does (the end of the file when
// `line` is empty).
void readUntil(int fd, std::string& text, const std::string& line = {}) {
    char chunk[256];
    ssize_t got = 0;
    while ((line.empty() || text.find(line) == std::string::npos) && readable(fd) &&
           (got = ::read(fd, chunk, sizeof chunk)) > 0)
        text.append(chunk, std::size_t(got));
}

// One way of ending the session.
struct Round {
    const char* ending;
    // Sent to the game in turn, 5 ms apart, once its save has begun; none: the X server ends.
    std::vector<int> sent;
    // Sent once the game says it waits for the save.
    std::vector<int> sentWhileWaiting;
    // The signal the game must end by; 0: the game exits, with its own status.
    int endsBy = 0;
    bool nohup = false;
    // Instant: the game must say nothing of waiting.
    Disk disk = Disk::slow;
    // For a held disk: let go once the signals sent while waiting are in. If not, one more
    // Ctrl+C must end the game at once, without the save.
    bool letGo = false;
};

// One round: the game saves the vase's key, and the session ends. What went wrong, or empty.
std::string playRound(const std::string& self, const std::string& xvfb, const Round& round) {
    QTemporaryDir home;
    if (!usePrivateHome(home)) return "no temporary folder";
    const Display display = startXvfb(xvfb);
    if (display.server < 0) return "Xvfb did not start";
    setenv("DISPLAY", display.name.c_str(), 1);
    int disk[2];
    int err[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, disk) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        return "no pipe";
    const pid_t game = start({self, "--game", std::to_string(disk[1]), kDiskNames[int(round.disk)]}, disk[1],
                             Start{.errFd = err[1], .nohup = round.nohup});
    ::close(disk[1]);
    ::close(err[1]);
    char byte = 0;
    const bool saved = game > 0 && readable(disk[0]) && ::read(disk[0], &byte, 1) == 1;
    std::string told;
    if (saved) {
        for (const int signal : round.sent) {
            ::kill(game, signal);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (round.sent.empty()) ::kill(display.server, SIGTERM);
        if (!round.sentWhileWaiting.empty()) {
            readUntil(err[0], told, kSaveWaitTold);
            if (told.find(kSaveWaitTold) != std::string::npos)
                for (const int signal : round.sentWhileWaiting) ::kill(game, signal);
        }
        if (round.letGo) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the signals land first
            ::send(disk[0], &byte, 1, MSG_NOSIGNAL);
        }
    }
    const std::optional<int> status = game > 0 ? ended(game) : std::nullopt;
    ::close(disk[0]);
    readUntil(err[0], told);
    ::close(err[0]);  // only now: a write to a pipe no one reads would end the game
    std::fputs(told.c_str(), stderr);
    ::kill(display.server, SIGTERM);
    ::waitpid(display.server, nullptr, 0);

    if (!saved) return kSavedNothing;
    if (!round.sentWhileWaiting.empty() && told.find(kSaveWaitTold) == std::string::npos)
        return "the game did not say that it waits for the save";
    if (round.disk == Disk::held && !round.letGo && told.find(kCtrlCAgainTold) == std::string::npos)
        return "the game did not say that Ctrl+C again quits without the save";
    if (round.disk == Disk::instant && told.find(kSaveWaitTold) != std::string::npos)
        return "the game said it waits for a save already written";
    if (!status) return "the game did not end";
    const bool rightEnd = round.endsBy != 0 ? WIFSIGNALED(*status) && WTERMSIG(*status) == round.endsBy
                                            : WIFEXITED(*status);
    if (!rightEnd) return "the game " + statusText(*status);
    if (round.disk == Disk::instant || (round.disk == Disk::held && !round.letGo)) return {};
    const fs::path path = home.filePath("save.json").toStdString();
    const std::optional<ostrevan::SaveFile> file = ostrevan::SaveStore::load(path);
    if (!file || file->state.inventory != std::vector<std::string>{"key"}) return "the vase's key is not in the save";
    for (const fs::directory_entry& entry : fs::directory_iterator(path.parent_path()))
        if (entry.path().filename().string().starts_with("save.json.tmp-")) return "a temporary file is left";
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string_view(argv[1]) == "--game") {
        int fd = -1;
        const std::string_view text = argv[2];
        if (std::from_chars(text.data(), text.data() + text.size(), fd).ec != std::errc() || fd < 0)
            return fail("no save pipe");
        const auto disk = std::find(std::begin(kDiskNames), std::end(kDiskNames), std::string_view(argv[3]));
        if (disk == std::end(kDiskNames)) return fail("no such disk");
        return runGame(argv[0], fd, Disk(disk - std::begin(kDiskNames)));
    }
    if (argc != 2) return fail("usage: tallowmere_session_end XVFB");
    std::error_code error;
    const std::string self = fs::read_symlink("/proc/self/exe", error).string();
    if (error) return fail("this program's path is unknown");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    // No session bus: see app.windowSmoke in Tests/CMakeLists.txt.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
    setenv("TM_START_ROOM", "1", 1);
    const Round rounds[] = {
        {"SIGTERM", {SIGTERM}, {}, SIGTERM},
        {"SIGHUP", {SIGHUP}, {}, SIGHUP},
        {"SIGINT", {SIGINT}, {}, SIGINT},
        {"two SIGHUPs, and one more while the save is waited for", {SIGHUP, SIGHUP}, {SIGHUP}, SIGHUP, false,
         Disk::held, true},
        {"SIGHUP under nohup, then SIGTERM", {SIGHUP, SIGTERM}, {}, SIGTERM, true},
        {"Ctrl+C twice on a disk that does not answer", {SIGINT}, {SIGINT}, SIGINT, false, Disk::held},
        {"SIGTERM on a disk that takes no time", {SIGTERM}, {}, SIGTERM, false, Disk::instant},
        {"the X server's end", {}, {}, 0},
    };
    for (const Round& round : rounds) {
        // A game that could not reach its display all the same is given a fresh one: the round is
        // about what comes after.
        std::string fault;
        for (int attempt = 0; attempt < kRoundAttempts; ++attempt) {
            fault = playRound(self, argv[1], round);
            if (fault != kSavedNothing) break;
        }
        if (!fault.empty()) return fail(std::string(round.ending) + ": " + fault);
    }
    return 0;
}
