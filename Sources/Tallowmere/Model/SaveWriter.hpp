// Writes the save file off the GUI thread: a durable write (two fsync calls) may take a
// visible time on a loaded machine, and nothing on screen or in the speakers should wait for it.
#pragma once

#include <Ostrevan/Engine.hpp>

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace tallowmere {

// One worker thread writing save files, in the order asked. A request made while an earlier one
// still waits replaces it, so the last state asked for is the one left on disk.
//
// A process that ends by exit() waits for the write of every writer still alive, as a quit does:
// Qt's X11 platform calls exit() when the display goes away, past every destructor that would
// have waited.
class SaveWriter {
public:
    using WriteFunction = std::function<void(const ostrevan::SaveFile&, const std::filesystem::path&)>;

    // `write` runs on the worker, one request at a time; left empty, it is the default write
    // (SaveStore::write, which makes each write atomic and logs its failures). A slow or blocked
    // write holds up only the worker.
    explicit SaveWriter(WriteFunction write = {});
    // Waits for the pending write.
    ~SaveWriter();
    SaveWriter(const SaveWriter&) = delete;
    SaveWriter& operator=(const SaveWriter&) = delete;

    // Returns at once; the worker starts with the first request.
    void write(ostrevan::SaveFile file, std::filesystem::path path);
    // Returns once every request made so far is on disk (or has failed).
    void flush();

    // The default write of writers made from now on; empty restores SaveStore::write. For tests
    // that run the whole application, whose writer they cannot reach, on a slow disk.
    static void setDefaultWrite(WriteFunction write);

private:
    struct Request {
        ostrevan::SaveFile file;
        std::filesystem::path path;
    };

    void run();

    const WriteFunction m_write;
    std::mutex m_mutex;
    std::condition_variable m_wake;  // a request came, or the end
    std::condition_variable m_idle;  // nothing waits and nothing is being written
    std::optional<Request> m_pending;
    bool m_writing = false;
    bool m_ending = false;
    std::thread m_thread;
};

}  // namespace tallowmere
