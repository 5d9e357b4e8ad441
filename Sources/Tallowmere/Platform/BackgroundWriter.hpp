// Writes to disk off the GUI thread: a durable write (an fsync or two) may take seconds on a slow
// or busy disk, and nothing on screen or in the speakers should wait for it. The save file and
// the mute setting are written this way.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tallowmere {

// One worker thread running writes in the order asked. A write asked while an earlier one still
// waits replaces it, so the last one asked for is the one left on disk.
//
// Nothing asked is lost at the end: a writer that goes finishes its pending write first, and a
// process that ends by exit() waits for every writer still alive, as a quit does (Qt's X11
// platform calls exit() when the display goes away, past every destructor that would have
// waited; a writer made once and never destroyed is waited for there too).
class BackgroundWriter {
public:
    using Write = std::function<void()>;

    // `what` names what it writes where the player reads it: "the save".
    explicit BackgroundWriter(std::string what);
    // Waits for the pending write.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Returns at once; the worker starts with the first write.
    void write(Write write);
    // Returns once every write asked so far has run.
    void flush();

    // Returns once every writer alive has nothing left to write. `beforeSleep`, for tests, runs
    // whenever a look has found a write under way, before the wait sleeps, the writers still
    // locked: a write that ends just then must wake the wait all the same.
    static void flushAll(const std::function<void()>& beforeSleep = {});
    // What the writers alive with a write under way or waiting write, each named once, in the
    // order the writers were made.
    static std::vector<std::string> busyWrites();

private:
    void run();
    // Under m_mutex.
    bool busy() const { return m_pending || m_writing; }

    std::mutex m_mutex;
    std::condition_variable m_wake;  // a write came, or the end
    std::condition_variable m_idle;  // nothing waits and nothing is being written
    const std::string m_what;
    Write m_pending;
    bool m_writing = false;
    bool m_ending = false;
    std::thread m_thread;
};

}  // namespace tallowmere
