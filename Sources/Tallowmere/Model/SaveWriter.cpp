#include <Tallowmere/Model/SaveWriter.hpp>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace tallowmere {

namespace {

// The writers alive, for exit() to wait on, and the write a writer gets when given none.
struct Writers {
    std::mutex mutex;
    std::vector<SaveWriter*> live;
    SaveWriter::WriteFunction defaultWrite;
};

void flushLiveWriters();

Writers& writers() {
    // Never destroyed: exit() reads it while it tears the other statics down. The flush is
    // registered with the first writer, so exit() runs it before it destroys what was made
    // earlier (the application's Qt among it).
    static Writers* const all = [] {
        std::atexit(flushLiveWriters);
        return new Writers;
    }();
    return *all;
}

void flushLiveWriters() {
    Writers& all = writers();
    std::lock_guard lock(all.mutex);
    for (SaveWriter* writer : all.live) writer->flush();
}

SaveWriter::WriteFunction chosenWrite(SaveWriter::WriteFunction write) {
    if (write) return write;
    Writers& all = writers();
    std::lock_guard lock(all.mutex);
    if (all.defaultWrite) return all.defaultWrite;
    return ostrevan::SaveStore::write;
}

}  // namespace

SaveWriter::SaveWriter(WriteFunction write) : m_write(chosenWrite(std::move(write))) {
    Writers& all = writers();
    std::lock_guard lock(all.mutex);
    all.live.push_back(this);
}

SaveWriter::~SaveWriter() {
    {
        Writers& all = writers();
        std::lock_guard lock(all.mutex);
        all.live.erase(std::remove(all.live.begin(), all.live.end(), this), all.live.end());
    }
    {
        std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable()) m_thread.join();
}

void SaveWriter::setDefaultWrite(WriteFunction write) {
    Writers& all = writers();
    std::lock_guard lock(all.mutex);
    all.defaultWrite = std::move(write);
}

void SaveWriter::write(ostrevan::SaveFile file, std::filesystem::path path) {
    {
        std::lock_guard lock(m_mutex);
        m_pending = Request{std::move(file), std::move(path)};
        if (!m_thread.joinable()) m_thread = std::thread([this] { run(); });
    }
    m_wake.notify_one();
}

void SaveWriter::flush() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_pending && !m_writing; });
}

void SaveWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_pending || m_ending; });
        // The pending request is written even when ending: a quit waits for it.
        if (!m_pending) break;
        const Request request = std::move(*m_pending);
        m_pending.reset();
        m_writing = true;
        lock.unlock();
        m_write(request.file, request.path);
        lock.lock();
        m_writing = false;
        if (!m_pending) m_idle.notify_all();
    }
}

}  // namespace tallowmere
