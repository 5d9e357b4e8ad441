// Writes the save file off the GUI thread (see BackgroundWriter), so that no click waits for the
// disk.
#pragma once

#include <Tallowmere/Platform/BackgroundWriter.hpp>

#include <Ostrevan/Engine.hpp>

#include <filesystem>
#include <functional>
#include <optional>

namespace tallowmere {

// Save files written in the order asked by a worker thread of their own. A request made while an
// earlier one still waits replaces it, so the last state asked for is the one left on disk; a
// writer that goes, and a process that ends by exit(), wait for the pending one.
class SaveWriter {
public:
    using WriteFunction = std::function<void(const ostrevan::SaveFile&, const std::filesystem::path&)>;

    // `write` runs on the worker, one request at a time; left empty, it is the default write
    // (SaveStore::write, which makes each write atomic and logs its failures). A slow or blocked
    // write holds up only the worker.
    explicit SaveWriter(WriteFunction write = {});
    // Waits for the pending write.
    ~SaveWriter() = default;
    SaveWriter(const SaveWriter&) = delete;
    SaveWriter& operator=(const SaveWriter&) = delete;

    // Returns at once; the worker starts with the first request. Given `unread`, the file the game
    // could not take from `path` at its start, the worker first keeps that file aside
    // (SaveStore::keepAside) and writes nothing while it cannot.
    void write(ostrevan::SaveFile file, std::filesystem::path path,
               std::optional<ostrevan::FileIdentity> unread = std::nullopt);
    // Returns once every request made so far is on disk (or has failed).
    void flush() { m_worker.flush(); }

    // The default write of writers made from now on; empty restores SaveStore::write. For tests
    // that run the whole application, whose writer they cannot reach, on a slow disk.
    static void setDefaultWrite(WriteFunction write);

private:
    const WriteFunction m_write;
    BackgroundWriter m_worker;  // after m_write: it goes first, running what is left with it
};

}  // namespace tallowmere
