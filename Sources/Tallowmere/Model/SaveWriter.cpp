#include <Tallowmere/Model/SaveWriter.hpp>

#include <mutex>
#include <utility>

namespace tallowmere {

namespace {

struct DefaultWrite {
    std::mutex mutex;
    SaveWriter::WriteFunction write;
};

DefaultWrite& defaultWrite() {
    static DefaultWrite chosen;
    return chosen;
}

SaveWriter::WriteFunction chosenWrite(SaveWriter::WriteFunction write) {
    if (write) return write;
    DefaultWrite& chosen = defaultWrite();
    std::lock_guard lock(chosen.mutex);
    if (chosen.write) return chosen.write;
    return ostrevan::SaveStore::write;
}

}  // namespace

SaveWriter::SaveWriter(WriteFunction write) : m_write(chosenWrite(std::move(write))), m_worker("the save") {}

void SaveWriter::setDefaultWrite(WriteFunction write) {
    DefaultWrite& chosen = defaultWrite();
    std::lock_guard lock(chosen.mutex);
    chosen.write = std::move(write);
}

void SaveWriter::write(ostrevan::SaveFile file, std::filesystem::path path,
                       std::optional<ostrevan::FileIdentity> unread) {
    m_worker.write([this, file = std::move(file), path = std::move(path), unread] {
        if (ostrevan::SaveStore::keepAside(path, unread)) m_write(file, path);
    });
}

}  // namespace tallowmere
