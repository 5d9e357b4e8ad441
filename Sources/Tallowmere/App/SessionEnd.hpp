// How the game ends when its session does: a logout (SIGTERM), a closed terminal (SIGHUP), Ctrl+C
// in it (SIGINT), or the display going away. Every way out waits for the writes still under way
// (BackgroundWriter), so that the last action is kept; a wait that goes on says so on stderr.
#pragma once

#include <QMetaObject>

#include <array>
#include <chrono>
#include <csignal>
#include <memory>
#include <optional>
#include <thread>

class QSocketNotifier;

namespace tallowmere {

// While it stands, says once on stderr, when it has stood for `noticeDelay` with a write still
// under way, what is waited for and how to quit without it: Ctrl+C where it reaches the game,
// else the `kill` command that does. From then on SIGINT ends the process at once, without the
// writes. Going, it stops its watch at once.
class WaitNotice {
public:
    static constexpr std::chrono::milliseconds kDelay{1000};

    explicit WaitNotice(std::chrono::milliseconds noticeDelay = kDelay);
    ~WaitNotice();
    WaitNotice(const WaitNotice&) = delete;
    WaitNotice& operator=(const WaitNotice&) = delete;

private:
    std::jthread m_watch;
};

// Quits the application on SIGTERM, SIGHUP and SIGINT while it exists, as the Quit command does.
// Made before the model, it goes after it: then every write still under way is waited for, the
// signals' handling is put back as it was, and the process ends by the first signal that quit
// it, so that a shell or a script sees how it ended. A signal the process was started with
// ignored (nohup) stays ignored. The quit's wait, and a wait at exit() (Qt's X11 platform calls
// it when the display goes, past every destructor), are said as WaitNotice says them. A write to
// stderr that meets a pipe with no reader fails instead of ending the process.
class QuitOnSignals {
public:
    QuitOnSignals();
    ~QuitOnSignals();
    QuitOnSignals(const QuitOnSignals&) = delete;
    QuitOnSignals& operator=(const QuitOnSignals&) = delete;

    static constexpr std::size_t kSignalCount = 3;  // SIGTERM, SIGHUP, SIGINT

private:

    std::array<int, 2> m_pipe{-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::array<struct sigaction, kSignalCount> m_previous{};
    std::array<bool, kSignalCount> m_installed{};
    QMetaObject::Connection m_quitting;
    std::optional<WaitNotice> m_notice;
};

}  // namespace tallowmere
