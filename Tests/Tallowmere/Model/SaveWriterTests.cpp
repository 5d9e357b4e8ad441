// The save writer: saves leave the GUI thread but keep their order, and none is lost at quit.
#include <Tallowmere/Model/SaveWriter.hpp>

#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>

using namespace tallowmere;
using ostrevan::SaveFile;
using ostrevan::SaveStore::kWriteFailurePrefix;

namespace {

SaveFile saveAt(std::int64_t best) {
    return SaveFile{ostrevan::Engine::begin(ostrevan::Levels::all().front()), best};
}

}  // namespace

TEST(SaveWriter, LastRequestOfABurstIsOnDiskOnceTheWriterGoes) {
    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("deep/save.json").toStdString();
    {
        SaveWriter writer;
        for (std::int64_t best = 1; best <= 200; ++best) writer.write(saveAt(best), path);
    }  // no flush: the destructor waits, as a quit does
    EXPECT_EQ(ostrevan::SaveStore::load(path), saveAt(200));

    SaveWriter writer;
    writer.write(saveAt(3), path);
    writer.flush();
    EXPECT_EQ(ostrevan::SaveStore::load(path), saveAt(3));
    writer.write(saveAt(4), path);
    writer.write(saveAt(5), path);
    writer.flush();
    EXPECT_EQ(ostrevan::SaveStore::load(path), saveAt(5));
    // Only the save itself is left in the folder: every write went through its atomic rename.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()),
                            std::filesystem::directory_iterator()), 1);
}

TEST(SaveWriter, FailedWriteLogsOneLineAndLaterWritesGoOn) {
    QTemporaryDir dir;
    const std::filesystem::path blocker = dir.filePath("file").toStdString();
    std::ofstream(blocker) << "not a folder";
    const std::filesystem::path good = dir.filePath("save.json").toStdString();

    SaveWriter writer;
    ::testing::internal::CaptureStderr();
    writer.write(saveAt(7), blocker / "save.json");
    writer.flush();
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(log.rfind(kWriteFailurePrefix, 0), 0u) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;

    writer.write(saveAt(8), good);
    writer.flush();
    EXPECT_EQ(ostrevan::SaveStore::load(good), saveAt(8));
}
