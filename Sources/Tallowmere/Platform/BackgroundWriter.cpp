#include <Tallowmere/Platform/BackgroundWriter.hpp>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace tallowmere {

namespace {

// The writers alive, for exit() and a quit to wait on.
struct Writers {
    std::mutex mutex;
    std::condition_variable idle;  // a writer has nothing left to write, or went
    std::vector<BackgroundWriter*> live;
};

Writers& writers() {
    // Never destroyed: exit() reads it while it tears the other statics down. The flush is
    // registered with the first writer, so exit() runs it before it destroys what was made
    // earlier (the application's Qt among it).
    static Writers* const all = [] {
        std::atexit([] { BackgroundWriter::flushAll(); });
        return new Writers;
    }();
    return *all;
}

// Wakes flushAll(). The lock, taken only for a moment, orders this after any look it is taking
// at the writers, so that it cannot miss the change.
void noteIdle() {
    Writers& all = writers();
    { const std::lock_guard lock(all.mutex); }
    all.idle.notify_all();
}

}  // namespace

BackgroundWriter::BackgroundWriter(std::string what) : m_what(std::move(what)) {
    Writers& all = writers();
    std::lock_guard lock(all.mutex);
    all.live.push_back(this);
}

BackgroundWriter::~BackgroundWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable()) m_thread.join();
    // Only now: until its last write is done it counts among the busy ones.
    Writers& all = writers();
    {
        std::lock_guard lock(all.mutex);
        all.live.erase(std::remove(all.live.begin(), all.live.end(), this), all.live.end());
    }
    all.idle.notify_all();
}

void BackgroundWriter::write(Write write) {
    {
        std::lock_guard lock(m_mutex);
        m_pending = std::move(write);
        if (!m_thread.joinable()) m_thread = std::thread([this] { run(); });
    }
    m_wake.notify_one();
}

void BackgroundWriter::flush() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !busy(); });
}

void BackgroundWriter::flushAll(const std::function<void()>& beforeSleep) {
    Writers& all = writers();
    std::unique_lock lock(all.mutex);
    // Waits with the list unlocked: a writer may go meanwhile, and busyWrites() may look.
    all.idle.wait(lock, [&] {
        const bool idle = std::none_of(all.live.begin(), all.live.end(), [](BackgroundWriter* writer) {
            std::lock_guard writerLock(writer->m_mutex);
            return writer->busy();
        });
        if (!idle && beforeSleep) beforeSleep();
        return idle;
    });
}

std::vector<std::string> BackgroundWriter::busyWrites() {
    Writers& all = writers();
    std::lock_guard lock(all.mutex);
    std::vector<std::string> names;
    for (BackgroundWriter* writer : all.live) {
        std::lock_guard writerLock(writer->m_mutex);
        if (writer->busy() && std::find(names.begin(), names.end(), writer->m_what) == names.end())
            names.push_back(writer->m_what);
    }
    return names;
}

void BackgroundWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_pending || m_ending; });
        // The pending write runs even when ending: a quit waits for it.
        if (!m_pending) break;
        const Write write = std::exchange(m_pending, nullptr);
        m_writing = true;
        lock.unlock();
        write();
        lock.lock();
        m_writing = false;
        if (busy()) continue;
        m_idle.notify_all();
        lock.unlock();
        noteIdle();
        lock.lock();
    }
}

}  // namespace tallowmere
