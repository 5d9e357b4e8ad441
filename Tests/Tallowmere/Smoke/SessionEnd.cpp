// The session ending under the real game while the save of an action is on its way to a slow
// disk: a logout's SIGTERM, a closed terminal's SIGHUP and Ctrl+C's SIGINT end it as Quit does,
// with status 0, and the X server going away lets the save finish before the process ends. Each
// time the key taken from room 1's vase is in the save file and no temporary file is left.
// Each round runs the game as a child of this program, on an Xvfb display of its own.
// Usage: tallowmere_session_end XVFB (the game it starts: tallowmere_session_end --game FD)
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
constexpr int kNoStage = 3;
constexpr int kDisplayAttempts = 3;
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

// The game as the player starts it, on a slow disk that tells `savingFd` when a save begins.
int runGame(char* program, int savingFd) {
    SaveWriter::setDefaultWrite([savingFd](const ostrevan::SaveFile& file, const fs::path& path) {
        const char begun = 0;
        [[maybe_unused]] const ssize_t told = ::write(savingFd, &begun, 1);
        std::this_thread::sleep_for(kSlowDisk);
        ostrevan::SaveStore::write(file, path);
    });
    qAddPreRoutine(clickTheVaseOnceShown);
    char* args[] = {program, nullptr};
    return CommandLine::run(1, args);
}

// ---------------------------------------------------------------------------------------------
// The session, in this process

// Runs `args`, passing `keptFd` on; its output goes to /dev/null when `quiet`. -1 on failure.
pid_t start(const std::vector<std::string>& args, int keptFd, bool quiet) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    // As a terminal starts it, whatever this test was started with (a shell's background job
    // ignores SIGINT).
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) std::signal(signal, SIG_DFL);
    ::fcntl(keptFd, F_SETFD, 0);
    if (quiet) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
    }
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

Display startXvfb(const std::string& xvfb) {
    int number[2];
    if (::pipe2(number, O_CLOEXEC) != 0) return {};
    Display display;
    display.server = start({xvfb, "-displayfd", std::to_string(number[1]), "-screen", "0", "1400x1000x24",
                            "-nolisten", "tcp"},
                           number[1], true);
    ::close(number[1]);
    char text[16] = {};
    if (display.server < 0 || !readable(number[0]) || ::read(number[0], text, sizeof text - 1) <= 0) {
        if (display.server > 0) ::kill(display.server, SIGKILL);
        display.server = -1;
    }
    ::close(number[0]);
    display.name = ":" + std::string(text, std::strcspn(text, "\n"));
    return display;
}

std::string statusText(int status) {
    if (WIFSIGNALED(status)) return "was killed by signal " + std::to_string(WTERMSIG(status));
    return "ended with status " + std::to_string(WEXITSTATUS(status));
}

// One round: the game saves the vase's key, and the session ends by `signal` sent to the game,
// or by the X server's end when `signal` is 0. What went wrong, or empty.
std::string playRound(const std::string& self, const std::string& xvfb, int signal) {
    QTemporaryDir home;
    if (!usePrivateHome(home)) return "no temporary folder";
    const Display display = startXvfb(xvfb);
    if (display.server < 0) return "Xvfb did not start";
    setenv("DISPLAY", display.name.c_str(), 1);
    int saving[2];
    if (::pipe2(saving, O_CLOEXEC) != 0) return "no pipe";
    const pid_t game = start({self, "--game", std::to_string(saving[1])}, saving[1], false);
    ::close(saving[1]);
    char begun = 0;
    const bool saved = game > 0 && readable(saving[0]) && ::read(saving[0], &begun, 1) == 1;
    ::close(saving[0]);
    if (saved) ::kill(signal != 0 ? game : display.server, signal != 0 ? signal : SIGTERM);
    const std::optional<int> status = game > 0 ? ended(game) : std::nullopt;
    ::kill(display.server, SIGTERM);
    ::waitpid(display.server, nullptr, 0);

    if (!saved) return kSavedNothing;
    if (!status) return "the game did not end";
    if (signal != 0 && (!WIFEXITED(*status) || WEXITSTATUS(*status) != 0)) return "the game " + statusText(*status);
    if (signal == 0 && !WIFEXITED(*status)) return "the game " + statusText(*status);
    const fs::path path = home.filePath("save.json").toStdString();
    const std::optional<ostrevan::SaveFile> file = ostrevan::SaveStore::load(path);
    if (!file || file->state.inventory != std::vector<std::string>{"key"}) return "the vase's key is not in the save";
    for (const fs::directory_entry& entry : fs::directory_iterator(path.parent_path()))
        if (entry.path().filename().string().starts_with("save.json.tmp-")) return "a temporary file is left";
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--game") {
        int fd = -1;
        const std::string_view text = argv[2];
        if (std::from_chars(text.data(), text.data() + text.size(), fd).ec != std::errc() || fd < 0)
            return fail("no save pipe");
        return runGame(argv[0], fd);
    }
    if (argc != 2) return fail("usage: tallowmere_session_end XVFB");
    std::error_code error;
    const std::string self = fs::read_symlink("/proc/self/exe", error).string();
    if (error) return fail("this program's path is unknown");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    // No session bus: see app.windowSmoke in Tests/CMakeLists.txt.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
    setenv("TM_START_ROOM", "1", 1);
    struct Round {
        const char* ending;
        int signal;
    };
    for (const Round round : {Round{"SIGTERM", SIGTERM}, Round{"SIGHUP", SIGHUP}, Round{"SIGINT", SIGINT},
                              Round{"the X server's end", 0}}) {
        // A game that could not reach its new display (another test's server on the same number,
        // going away as ours came up) is given a fresh one: the round is about what comes after.
        std::string fault;
        for (int attempt = 0; attempt < kDisplayAttempts; ++attempt) {
            fault = playRound(self, argv[1], round.signal);
            if (fault != kSavedNothing) break;
        }
        if (!fault.empty()) return fail(std::string(round.ending) + ": " + fault);
    }
    return 0;
}
