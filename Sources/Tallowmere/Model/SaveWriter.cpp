#include <Tallowmere/Model/SaveWriter.hpp>

#include <utility>

namespace tallowmere {

SaveWriter::SaveWriter(WriteFunction write)
    : m_write(write ? std::move(write) : WriteFunction(ostrevan::SaveStore::write)) {}

SaveWriter::~SaveWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable()) m_thread.join();
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
