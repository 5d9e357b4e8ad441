// The session ending under the real game while the save of an action is on its way to a slow
// disk: a logout's SIGTERM, a closed terminal's SIGHUP (twice, as the terminal and its shell send
// it, and once more while the save is waited for) and Ctrl+C's SIGINT end it only once the save
// is written, and then by the first of them, as a shell expects, however quickly more come and
// whether or not the game's output still has a reader; a SIGHUP the game was started to ignore
// (nohup) is ignored. A wait for the disk is said after a second, naming what is waited for and
// what quits without it: Ctrl+C again in the game's terminal, `kill` where Ctrl+C cannot reach
// it, and Ctrl+C or `kill -INT` then ends it at once; on a disk that takes no time the game says
// nothing. The X server going away lets the save finish before the process ends, and waits as a
// quit does. Each time the disk keeps what it is given, the key taken from room 1's vase is in the
// save file (the sound switched off, in the settings) and no temporary file is left.
// A game started without stderr (`2>&-`) ends all the same. Each round runs the game as a child of
// this program, on an Xvfb display of its own, and goes on only once the game has done what the
// round needs (the save begun, a signal taken), however busy the machine.
// Usage: tallowmere_session_end XVFB
// (the game it starts: tallowmere_session_end --game FD DISK [mute])
#include "PrivateHome.hpp"

#include <Tallowmere/App/CommandLine.hpp>
#include <Tallowmere/App/TallowmereApp.hpp>
#include <Tallowmere/Audio/Sound.hpp>
#include <Tallowmere/Model/SaveWriter.hpp>
#include <Tallowmere/Platform/BackgroundWriter.hpp>
#include <Tallowmere/Screens/GameView.hpp>
#include <Tallowmere/Screens/StageView.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <Ostrevan/Levels.hpp>

#include <QApplication>
#include <QSettings>
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
#include <latch>
#include <memory>
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
// How long the game waits for a write before it says so.
constexpr auto kNoticeDelay = std::chrono::seconds(1);
constexpr const char* kWaitTold = "Tallowmere: waiting for ";

// The disk under the game: slow (kSlowDisk); held, which answers only once the test lets it go
// (or goes); or one that takes no time and keeps nothing (so no fsync of the machine's own disk
// can be slow). With `mute`, the sound setting is switched off just after the click, its write
// held behind one the disk answers only once the test lets it go, and which has begun.
enum class Disk { slow, held, instant };
constexpr const char* kDiskNames[] = {"slow", "held", "instant"};
constexpr int kNoStage = 3;
constexpr int kDisplayAttempts = 10;
constexpr int kRoundAttempts = 3;
constexpr const char* kSavedNothing = "the game saved nothing";

// What the game tells the test on the disk's socket.
constexpr char kSaveBegan = 's';
constexpr char kMuteWriteBegan = 'm';
constexpr char kSignalTaken = 'n';  // the game's handler has run for a quit signal
constexpr int kQuitSignals[] = {SIGTERM, SIGHUP, SIGINT};

int fail(const std::string& what) {
    std::fprintf(stderr, "session end test failed: %s\n", what.c_str());
    return 1;
}

// ---------------------------------------------------------------------------------------------
// The game, in the child

bool clickTheSoundOff = false;
int testFd = -1;
struct sigaction gameHandlers[NSIG];

void tellTheTest(char what) {
    [[maybe_unused]] const ssize_t told = ::write(testFd, &what, 1);
}

void waitForTheTest() {
    char byte = 0;
    [[maybe_unused]] const ssize_t letGo = ::read(testFd, &byte, 1);
}

void takeSignalAndTell(int signal) {
    gameHandlers[signal].sa_handler(signal);
    const int savedErrno = errno;
    tellTheTest(kSignalTaken);
    errno = savedErrno;
}

// Each quit signal the game handles tells the test once the game's handler has run, so that the
// test sends the next one, or lets the disk go, only once the game has the last.
void tellTakenSignals() {
    for (const int signal : kQuitSignals) {
        struct sigaction& game = gameHandlers[signal];
        if (::sigaction(signal, nullptr, &game) != 0 || (game.sa_flags & SA_SIGINFO) != 0 ||
            game.sa_handler == SIG_IGN || game.sa_handler == SIG_DFL)
            continue;
        struct sigaction telling = game;
        telling.sa_handler = takeSignalAndTell;
        ::sigaction(signal, &telling, nullptr);
    }
}

// Clicks room 1's vase once the window shows, as a player would, and then the sound off if asked.
void clickTheVaseOnceShown() {
    QTimer::singleShot(0, [] {
        tellTakenSignals();
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
        if (!clickTheSoundOff) return;
        // Begun, not only asked for: a write asked while another waits would replace it.
        const auto began = std::make_shared<std::latch>(1);
        Sound::settingsWriter().write([began] {
            tellTheTest(kMuteWriteBegan);
            began->count_down();
            waitForTheTest();
        });
        began->wait();
        QTest::mouseClick(window->findChild<TopBar*>()->soundButton(), Qt::LeftButton);
    });
}

// The game as the player starts it, on `disk`, which tells the test on `testFd` when a save
// begins and, held, waits there for the test to let it go.
int runGame(char* program, int fd, Disk disk, bool mute) {
    testFd = fd;
    SaveWriter::setDefaultWrite([disk](const ostrevan::SaveFile& file, const fs::path& path) {
        tellTheTest(kSaveBegan);
        if (disk == Disk::instant) return;
        if (disk == Disk::held) waitForTheTest();
        else std::this_thread::sleep_for(kSlowDisk);
        ostrevan::SaveStore::write(file, path);
    });
    clickTheSoundOff = mute;
    qAddPreRoutine(clickTheVaseOnceShown);
    char* args[] = {program, nullptr};
    return CommandLine::run(1, args);
}

// ---------------------------------------------------------------------------------------------
// The session, in this process

// How a child starts: its output goes to /dev/null when `quiet`, its stderr to `errFd` when
// given, or nowhere when `errClosed`; it ignores SIGHUP when started by `nohup`, and SIGINT when `interruptIgnored` (as
// `trap '' INT` has it). In a session of its own it has no terminal, or the one named
// `terminal`, whose Ctrl+C it takes as a terminal's foreground job does.
struct Start {
    bool quiet = false;
    int errFd = -1;
    bool errClosed = false;
    bool nohup = false;
    bool interruptIgnored = false;
    bool ownSession = false;
    std::string terminal;
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
    if (how.interruptIgnored) std::signal(SIGINT, SIG_IGN);
    if (how.ownSession) ::setsid();
    if (!how.terminal.empty()) {
        // A session leader's first terminal opened becomes its own.
        const int terminal = ::open(how.terminal.c_str(), O_RDWR);
        if (terminal < 0) ::_exit(127);
        ::dup2(terminal, STDIN_FILENO);
    }
    ::fcntl(keptFd, F_SETFD, 0);
    if (how.quiet) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
    }
    if (how.errFd >= 0) ::dup2(how.errFd, STDERR_FILENO);
    if (how.errClosed) ::close(STDERR_FILENO);
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

// Reads `fd` onto `text` until `line` has come, or nothing more does (the end of the file when
// `line` is empty).
void readUntil(int fd, std::string& text, const std::string& line = {}) {
    char chunk[256];
    ssize_t got = 0;
    while ((line.empty() || text.find(line) == std::string::npos) && readable(fd) &&
           (got = ::read(fd, chunk, sizeof chunk)) > 0)
        text.append(chunk, std::size_t(got));
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
        // The number comes, then its newline in a write of its own: a server whose pipe is closed
        // before that one ends there.
        std::string said;
        if (server > 0) readUntil(ready[0], said, "\n");
        const bool up = said.find('\n') != std::string::npos;
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

// Reads what the game tells on `fd` onto `heard` until `what` has come `count` times in all;
// false if the game went first.
bool hear(int fd, std::string& heard, char what, std::ptrdiff_t count = 1) {
    char byte = 0;
    while (std::count(heard.begin(), heard.end(), what) < count && readable(fd) && ::read(fd, &byte, 1) == 1)
        heard += byte;
    return std::count(heard.begin(), heard.end(), what) >= count;
}

// What ends the session once the save has begun: the signals a round sends, the X server going
// away, or the game's terminal closing (which sends it SIGHUP).
enum class Cause { sentSignals, displayGone, terminalClosed };

// One way of ending the session.
struct Round {
    const char* ending;
    // Sent to the game in turn once its save has begun, each once the game has the one before.
    std::vector<int> sent;
    Cause cause = Cause::sentSignals;
    // The line the game must say it waits with, "<pid>" standing for its process id; once it is
    // read, `sentWhileWaiting` goes (and is taken before the disk is let go). Empty: none is
    // looked for.
    std::string told;
    std::vector<int> sentWhileWaiting;
    // The signal the game must end by; 0: the game exits, with its own status.
    int endsBy = 0;
    Disk disk = Disk::slow;
    // For a held disk: let go once the signals sent while waiting are in. If not, the last of
    // them must end the game at once, without the save.
    bool letGo = false;
    Start start;
    // The game runs with a terminal of its own (always, when the terminal closes).
    bool terminal = false;
    // The reader of the game's stderr goes before the session ends, as `| tee` does on Ctrl+C.
    bool readerGone = false;
    // The sound is switched off just after the click, its write held by the disk (see Disk).
    bool mute = false;
};

// A pseudo-terminal whose other end this test holds: -1 and no name when none could be made.
struct Terminal {
    int fd = -1;
    std::string name;
};

Terminal openTerminal() {
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return {};
    const char* name = ::grantpt(fd) == 0 && ::unlockpt(fd) == 0 ? ::ptsname(fd) : nullptr;
    if (!name) {
        ::close(fd);
        return {};
    }
    return {fd, name};
}

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
    Terminal terminal;
    if (round.terminal || round.cause == Cause::terminalClosed) {
        terminal = openTerminal();
        if (terminal.fd < 0) return "no terminal";
    }
    Start how = round.start;
    how.errFd = err[1];
    how.ownSession = true;
    how.terminal = terminal.name;
    std::vector<std::string> args{self, "--game", std::to_string(disk[1]), kDiskNames[int(round.disk)]};
    if (round.mute) args.emplace_back("mute");
    const pid_t game = start(args, disk[1], how);
    ::close(disk[1]);
    ::close(err[1]);
    std::string heard;
    const bool saved = game > 0 && hear(disk[0], heard, kSaveBegan) && (!round.mute || hear(disk[0], heard, kMuteWriteBegan));
    std::ptrdiff_t taken = 0;
    // A signal the game was started to ignore is never taken.
    const auto send = [&](int signal) {
        ::kill(game, signal);
        const bool ignored = (signal == SIGHUP && round.start.nohup) || (signal == SIGINT && round.start.interruptIgnored);
        if (!ignored) hear(disk[0], heard, kSignalTaken, ++taken);
    };
    std::string told;
    std::string line = round.told;
    if (const std::size_t pid = line.find("<pid>"); pid != std::string::npos) line.replace(pid, 5, std::to_string(game));
    auto waited = std::chrono::steady_clock::duration::max();
    if (saved) {
        if (round.readerGone) {
            ::close(err[0]);
            err[0] = -1;
        }
        const auto sentAt = std::chrono::steady_clock::now();
        for (const int signal : round.sent) send(signal);
        if (round.cause == Cause::displayGone) ::kill(display.server, SIGTERM);
        if (round.cause == Cause::terminalClosed) {
            ::close(terminal.fd);
            terminal.fd = -1;
        }
        if (!line.empty()) {
            readUntil(err[0], told, line);
            if (told.find(line) != std::string::npos) {
                waited = std::chrono::steady_clock::now() - sentAt;
                for (const int signal : round.sentWhileWaiting) {
                    if (round.letGo) send(signal);
                    else ::kill(game, signal);
                }
            }
        }
        const char byte = 0;
        if (round.letGo) ::send(disk[0], &byte, 1, MSG_NOSIGNAL);
    }
    const std::optional<int> status = game > 0 ? ended(game) : std::nullopt;
    ::close(disk[0]);
    if (err[0] >= 0) {
        readUntil(err[0], told);
        ::close(err[0]);  // only now: a game that ends on a write to a pipe no one reads is a fault of its own
    }
    if (terminal.fd >= 0) ::close(terminal.fd);
    std::fputs(told.c_str(), stderr);
    ::kill(display.server, SIGTERM);
    ::waitpid(display.server, nullptr, 0);

    if (!saved) return kSavedNothing;
    if (!line.empty() && told.find(line) == std::string::npos) return "the game did not say: " + line;
    // The wait is said only once it has lasted a second: a quit on a disk a little slow says nothing.
    if (!line.empty() && waited < kNoticeDelay) return "the game said it waits before a second had passed";
    if (round.disk == Disk::instant && !round.mute && told.find(kWaitTold) != std::string::npos)
        return "the game said it waits for a save already written";
    if (!status) return "the game did not end";
    const bool rightEnd = round.endsBy != 0 ? WIFSIGNALED(*status) && WTERMSIG(*status) == round.endsBy
                                            : WIFEXITED(*status);
    if (!rightEnd) return "the game " + statusText(*status);
    if (round.mute && round.letGo) {
        const QSettings settings(home.filePath("config/Tallowmere/Tallowmere.conf"), QSettings::IniFormat);
        if (!settings.value(Sound::kMutedKey).toBool()) return "the sound setting is not in the settings";
    }
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
    if ((argc == 4 || argc == 5) && std::string_view(argv[1]) == "--game") {
        int fd = -1;
        const std::string_view text = argv[2];
        if (std::from_chars(text.data(), text.data() + text.size(), fd).ec != std::errc() || fd < 0)
            return fail("no save pipe");
        const auto disk = std::find(std::begin(kDiskNames), std::end(kDiskNames), std::string_view(argv[3]));
        if (disk == std::end(kDiskNames)) return fail("no such disk");
        return runGame(argv[0], fd, Disk(disk - std::begin(kDiskNames)), argc == 5 && std::string_view(argv[4]) == "mute");
    }
    if (argc != 2) return fail("usage: tallowmere_session_end XVFB");
    std::error_code error;
    const std::string self = fs::read_symlink("/proc/self/exe", error).string();
    if (error) return fail("this program's path is unknown");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    // No session bus: see app.windowSmoke in Tests/CMakeLists.txt.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
    setenv("TM_START_ROOM", "1", 1);
    const std::string waitForTheSave = "Tallowmere: waiting for the save to be written; ";
    const std::string killInt = "run kill -INT <pid> to quit without it";
    const Round rounds[] = {
        {.ending = "SIGTERM", .sent = {SIGTERM}, .endsBy = SIGTERM},
        {.ending = "SIGHUP", .sent = {SIGHUP}, .endsBy = SIGHUP},
        {.ending = "SIGINT", .sent = {SIGINT}, .endsBy = SIGINT},
        {.ending = "Ctrl+C twice before the game says it waits", .sent = {SIGINT, SIGINT}, .endsBy = SIGINT},
        {.ending = "SIGTERM, then SIGHUP", .sent = {SIGTERM, SIGHUP}, .endsBy = SIGTERM},
        {.ending = "two SIGHUPs, and one more while the save is waited for", .sent = {SIGHUP, SIGHUP},
         .told = waitForTheSave + killInt, .sentWhileWaiting = {SIGHUP}, .endsBy = SIGHUP, .disk = Disk::held,
         .letGo = true},
        {.ending = "SIGHUP under nohup, then SIGTERM", .sent = {SIGHUP, SIGTERM}, .endsBy = SIGTERM,
         .start = {.nohup = true}},
        {.ending = "Ctrl+C twice in the game's terminal, on a disk that does not answer", .sent = {SIGINT},
         .told = waitForTheSave + "press Ctrl+C again to quit without it", .sentWhileWaiting = {SIGINT},
         .endsBy = SIGINT, .disk = Disk::held, .terminal = true},
        {.ending = "the terminal closed, on a disk that does not answer, then kill -INT",
         .cause = Cause::terminalClosed, .told = waitForTheSave + killInt, .sentWhileWaiting = {SIGINT},
         .endsBy = SIGINT, .disk = Disk::held},
        {.ending = "SIGTERM with SIGINT ignored from the start", .sent = {SIGTERM},
         .told = waitForTheSave + "run kill -KILL <pid> to quit without it", .endsBy = SIGTERM, .disk = Disk::held,
         .letGo = true, .start = {.interruptIgnored = true}},
        {.ending = "Ctrl+C with the game's output piped to a reader that goes with it", .sent = {SIGINT},
         .endsBy = SIGINT, .readerGone = true},
        {.ending = "the sound switched off just before SIGTERM", .sent = {SIGTERM},
         .told = "Tallowmere: waiting for the sound setting to be written; " + killInt, .endsBy = SIGTERM,
         .disk = Disk::instant, .letGo = true, .mute = true},
        {.ending = "the sound switched off while the save is held, then kill -INT", .sent = {SIGTERM},
         .told = "Tallowmere: waiting for the save and the sound setting to be written; "
                 "run kill -INT <pid> to quit without them",
         .sentWhileWaiting = {SIGINT}, .endsBy = SIGINT, .disk = Disk::held, .mute = true},
        {.ending = "SIGTERM on a disk that takes no time", .sent = {SIGTERM}, .endsBy = SIGTERM, .disk = Disk::instant},
        {.ending = "SIGTERM, the game started without stderr", .sent = {SIGTERM}, .endsBy = SIGTERM,
         .start = {.errClosed = true}},
        {.ending = "the X server's end", .cause = Cause::displayGone},
        {.ending = "the X server's end on a disk that does not answer, then Ctrl+C", .cause = Cause::displayGone,
         .told = waitForTheSave + "press Ctrl+C to quit without it", .sentWhileWaiting = {SIGINT}, .endsBy = SIGINT,
         .disk = Disk::held, .terminal = true},
        {.ending = "the X server's end on a disk that does not answer, then SIGTERM", .cause = Cause::displayGone,
         .told = waitForTheSave + killInt, .sentWhileWaiting = {SIGTERM}, .endsBy = SIGTERM, .disk = Disk::held,
         .letGo = true},
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
