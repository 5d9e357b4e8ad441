#include <Tallowmere/App/SessionEnd.hpp>

#include <Tallowmere/Platform/BackgroundWriter.hpp>

#include <QCoreApplication>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <stop_token>
#include <string>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace tallowmere {

namespace {

// The session's ways of ending a program. Left to their default they would end the process in
// the middle of the save under way.
constexpr std::array<int, 3> kQuitSignals{SIGTERM, SIGHUP, SIGINT};
// How often a wait that has gone on looks again for a write under way.
constexpr auto kWatchStep = std::chrono::milliseconds(100);

// What the signal handler shares, one word each.
std::atomic<int> quitSignalPipe{-1};  // the write end of the pipe that carries a signal to the GUI thread
std::atomic<int> firstQuitSignal{0};  // the signal that ended the game; 0 for none
std::atomic<bool> waitTold{false};    // the player has read how to quit without the writes
std::atomic<bool> waitAtExit{false};  // a QuitOnSignals stands: exit() waits as its quit would

void noteQuitSignal(int signal) {
    // Only what a signal handler may call: the GUI thread does the rest.
    const int savedErrno = errno;
    int none = 0;
    firstQuitSignal.compare_exchange_strong(none, signal);
    if (signal == SIGINT && waitTold.load()) {
        // The player gives the writes up, as told they could. The signal, held while its handler
        // runs, ends the process by its default as soon as the handler returns.
        ::signal(SIGINT, SIG_DFL);
        ::raise(SIGINT);
    }
    // A repeated SIGTERM or SIGHUP only quits again: a closed terminal and its shell send two.
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(quitSignalPipe.load(), &byte, 1);
    errno = savedErrno;
}

// Ends the process by `signal` with its default handling.
[[noreturn]] void endBySignal(int signal) {
    std::fflush(nullptr);
    struct sigaction byDefault{};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(signal, &byDefault, nullptr);
    ::raise(signal);
    std::_Exit(128 + signal);  // not reached: the default of each of these signals ends the process
}

// Whether Ctrl+C typed in the game's terminal reaches it: the game has a terminal still open,
// and its process group is the one the terminal sends Ctrl+C to (not a background job's). A
// closed terminal, or one whose shell has gone, reaches it no more.
bool ctrlCReachesTheGame() {
    const int terminal = ::open("/dev/tty", O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (terminal < 0) return false;
    const bool foreground = ::tcgetpgrp(terminal) == ::getpgrp();
    ::close(terminal);
    return foreground;
}

// What ends the wait without the writes, as the player can do it now.
std::string quitWithout(bool several) {
    const std::string rest = several ? " to quit without them" : " to quit without it";
    struct sigaction interrupt{};
    const bool interruptIgnored = ::sigaction(SIGINT, nullptr, &interrupt) == 0 && interrupt.sa_handler == SIG_IGN;
    const std::string pid = std::to_string(::getpid());
    if (interruptIgnored) return "run kill -KILL " + pid + rest;
    if (!ctrlCReachesTheGame()) return "run kill -INT " + pid + rest;
    return (firstQuitSignal.load() == SIGINT ? "press Ctrl+C again" : "press Ctrl+C") + rest;
}

// "the save", "the save and the sound setting".
std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

// At exit(), while a QuitOnSignals stands: the writes are waited for as a quit waits for them,
// and a quit signal that came meanwhile ends the process once they are done.
void waitForWritesAtExit() {
    if (!waitAtExit.exchange(false)) return;
    {
        const WaitNotice notice;
        BackgroundWriter::flushAll();
    }
    if (const int signal = firstQuitSignal.load(); signal != 0) endBySignal(signal);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// WaitNotice

WaitNotice::WaitNotice(std::chrono::milliseconds noticeDelay)
    : m_watch([noticeDelay](std::stop_token stop) {
          std::mutex mutex;
          std::condition_variable_any wokenByTheStop;
          std::unique_lock lock(mutex);
          std::vector<std::string> writes;
          for (auto due = std::chrono::steady_clock::now() + noticeDelay; writes.empty(); due += kWatchStep) {
              if (wokenByTheStop.wait_until(lock, stop, due, [&stop] { return stop.stop_requested(); })) return;
              writes = BackgroundWriter::busyWrites();
          }
          const std::string line =
              "Tallowmere: waiting for " + listed(writes) + " to be written; " + quitWithout(writes.size() > 1) + "\n";
          // Only now, when the line is about to be read: a Ctrl+C before it quits as the first
          // did. Not a moment later: a Ctrl+C sent as soon as the line is read must act as it says.
          waitTold.store(true);
          std::fputs(line.c_str(), stderr);
      }) {}

// The watch is asked to stop and waited for.
WaitNotice::~WaitNotice() = default;

// ---------------------------------------------------------------------------------------------
// QuitOnSignals

static_assert(std::tuple_size_v<decltype(kQuitSignals)> == QuitOnSignals::kSignalCount);

QuitOnSignals::QuitOnSignals() {
    // The game's output piped on (`tallowmere 2>&1 | tee game.log`): the Ctrl+C that ends the game
    // ends the reader too, and a line written after it must not end the game in its save.
    std::signal(SIGPIPE, SIG_IGN);
    // exit() runs what was registered last first: this wait, registered after the writers' own
    // silent one (which looking at them makes sure of), runs before it.
    static const bool registered = [] {
        BackgroundWriter::busyWrites();
        return std::atexit(waitForWritesAtExit) == 0;
    }();
    waitAtExit.store(registered);

    // Without a pipe the signals keep their default.
    if (::pipe2(m_pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) return;
    quitSignalPipe.store(m_pipe[1]);
    m_notifier = std::make_unique<QSocketNotifier>(m_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [fd = m_pipe[0]] {
        char bytes[16];
        while (::read(fd, bytes, sizeof bytes) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action{};
    action.sa_handler = noteQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kQuitSignals.size(); ++i) {
        struct sigaction& previous = m_previous[i];
        m_installed[i] = ::sigaction(kQuitSignals[i], nullptr, &previous) == 0 &&
                         previous.sa_handler != SIG_IGN && ::sigaction(kQuitSignals[i], &action, nullptr) == 0;
    }
    // The model waits for its save as it goes, after the windows: the notice counts from here.
    m_quitting = QObject::connect(qApp, &QCoreApplication::aboutToQuit, [this] {
        if (!m_notice) m_notice.emplace();
    });
}

QuitOnSignals::~QuitOnSignals() {
    waitAtExit.store(false);
    if (!m_notice) m_notice.emplace();
    BackgroundWriter::flushAll();
    m_notice.reset();
    QObject::disconnect(m_quitting);
    for (std::size_t i = 0; i < kQuitSignals.size(); ++i)
        if (m_installed[i]) ::sigaction(kQuitSignals[i], &m_previous[i], nullptr);
    m_notifier.reset();
    quitSignalPipe.store(-1);
    for (const int fd : m_pipe)
        if (fd >= 0) ::close(fd);
    if (const int signal = firstQuitSignal.load(); signal != 0) endBySignal(signal);
}

}  // namespace tallowmere
