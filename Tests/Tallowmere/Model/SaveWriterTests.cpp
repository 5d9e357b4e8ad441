// The save writer: saves leave the GUI thread but keep their order, and none is lost at quit;
// the quit's wait for every writer, and what it says while it waits.
#include <Tallowmere/App/SessionEnd.hpp>
#include <Tallowmere/Model/SaveWriter.hpp>

#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace tallowmere;
using ostrevan::SaveFile;
using ostrevan::SaveStore::kWriteFailurePrefix;

namespace {

// Only a hung wait takes this long.
constexpr auto kPatience = std::chrono::seconds(60);

SaveFile saveAt(std::int64_t best) {
    return SaveFile{ostrevan::Engine::begin(ostrevan::Levels::all().front()), best};
}

// A disk that holds the first write until released, noting what reaches it. It lets go by
// itself after a while only so that a writer waiting for it fails instead of hanging.
struct HeldDisk {
    void write(const SaveFile& file) {
        std::unique_lock lock(mutex);
        entered = true;
        changed.notify_all();
        if (!changed.wait_for(lock, std::chrono::seconds(10), [this] { return released; })) gaveUp = released = true;
        written.push_back(file.best);
    }
    bool waitUntilEntered() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [this] { return entered; });
    }
    template <class Look>
    auto locked(Look look) {
        std::lock_guard lock(mutex);
        return look();
    }

    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false;
    bool released = false;
    bool gaveUp = false;
    std::vector<std::int64_t> written;
};

}  // namespace

TEST(SaveWriter, RequestsReturnWhileTheDiskIsHeldAndTheLastStateLands) {
    HeldDisk disk;
    SaveWriter writer([&disk](const SaveFile& file, const std::filesystem::path&) { disk.write(file); });
    writer.write(saveAt(1), "save.json");
    ASSERT_TRUE(disk.waitUntilEntered());
    // The worker is stuck in the first write: the clicks that save meanwhile go on at once.
    writer.write(saveAt(2), "save.json");
    writer.write(saveAt(3), "save.json");
    EXPECT_FALSE(disk.locked([&] { return disk.gaveUp; })) << "a request waited for the disk";
    disk.locked([&] {
        disk.released = true;
        disk.changed.notify_all();
    });
    writer.flush();
    EXPECT_EQ(disk.locked([&] { return disk.written; }), (std::vector<std::int64_t>{1, 3}));
}

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

TEST(SaveWriter, AFileTheGameCouldNotTakeIsKeptAsideBeforeTheWrite) {
    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("save.json").toStdString();
    std::ofstream(path) << "notes";
    SaveWriter writer;
    ::testing::internal::CaptureStderr();
    writer.write(saveAt(7), path, ostrevan::SaveStore::read(path).file);
    writer.flush();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Tallowmere: " + path.string() + " could not be read; it is kept as " + path.string() + ".unreadable\n");
    EXPECT_EQ(ostrevan::SaveStore::load(path), saveAt(7));
}

// ## The wait at the end

// A quit waits for every writer; one that meets a write just ending must still wake. Many quick
// rounds of a write and a wait for all, watched: a round stuck past all patience is woken (a
// writer that goes wakes every wait) and counted, so a lost wake-up fails instead of hanging.
TEST(QuitWait, AWaitForEveryWriterWakesHoweverTheLastWriteEnds) {
    constexpr int kRounds = 200000;
    BackgroundWriter writer("the test's writes");
    std::atomic<int> done = 0;
    std::mutex mutex;
    std::condition_variable finished;
    int stuck = 0;
    std::thread watch([&] {
        std::unique_lock lock(mutex);
        for (int seen = -1; !finished.wait_for(lock, kPatience, [&] { return done == kRounds; }); seen = done) {
            if (done != seen) continue;
            ++stuck;
            BackgroundWriter{"a writer that comes and goes"};
        }
    });
    for (int round = 0; round < kRounds; ++round) {
        writer.write([] {});
        BackgroundWriter::flushAll();
        ++done;
    }
    {
        const std::lock_guard lock(mutex);
    }
    finished.notify_one();
    watch.join();
    EXPECT_EQ(stuck, 0);
}

namespace {

// Whether the thread `id` of this process sleeps in the kernel on a lock or a condition.
bool asleep(pid_t id) {
    std::string call;
    std::ifstream("/proc/self/task/" + std::to_string(id) + "/syscall") >> call;
    return call == std::to_string(SYS_futex);
}

}  // namespace

// That moment, every time: the wait is held after a look that found the write under way, and the
// write, let go, runs on as far as it can: into the lock the wait holds, or to its end, having
// woken no one, when nothing orders its wake-up after the wait's look.
TEST(QuitWait, AWriteEndingBetweenTheWaitsLookAndItsSleepWakesIt) {
    std::ifstream ownCall("/proc/self/task/" + std::to_string(::gettid()) + "/syscall");
    ASSERT_TRUE(ownCall) << "no /proc/self/task/*/syscall to see a thread sleep";
    BackgroundWriter writer("the test's writes");
    std::atomic<pid_t> writing = 0;
    std::atomic<bool> letGo = false;
    writer.write([&] {
        writing = ::gettid();
        while (!letGo) std::this_thread::yield();  // awake throughout: its first sleep is the writer's own
    });
    std::promise<void> woke;
    std::future<void> wokeUp = woke.get_future();
    std::thread wait([&] {
        BackgroundWriter::flushAll([&] {
            if (letGo) return;
            while (writing == 0) std::this_thread::yield();
            letGo = true;
            while (!asleep(writing)) std::this_thread::yield();
        });
        woke.set_value();
    });
    const bool inTime = wokeUp.wait_for(kPatience) == std::future_status::ready;
    if (!inTime) BackgroundWriter{"a writer that comes and goes"};  // wakes it to end the test
    wait.join();
    EXPECT_TRUE(inTime) << "the quit's wait missed the end of the last write";
}

// The wait's line names what is still being written, each once, and nothing idle.
TEST(QuitWait, TheBusyWritesAreNamedOnceAndTheIdleOnesNotAtAll) {
    BackgroundWriter idle("the sound setting");
    BackgroundWriter first("the save");
    BackgroundWriter second("the save");
    std::promise<void> letGo;
    const std::shared_future<void> released = letGo.get_future().share();
    first.write([released] { released.wait(); });
    second.write([released] { released.wait(); });
    EXPECT_EQ(BackgroundWriter::busyWrites(), std::vector<std::string>{"the save"});
    letGo.set_value();
    BackgroundWriter::flushAll();
    EXPECT_EQ(BackgroundWriter::busyWrites(), std::vector<std::string>{});
}

// Asked to stop, the watch that would speak after an hour goes at once: a quit that waited for
// nothing ends then, not when the watch next wakes.
TEST(QuitWait, TheWatchGoesAtOnceWhenAsked) {
    const auto gone = std::make_shared<std::promise<void>>();
    std::future<void> went = gone->get_future();
    std::thread([gone] {
        { const WaitNotice notice(std::chrono::hours(1)); }
        gone->set_value();
    }).detach();
    EXPECT_EQ(went.wait_for(kPatience), std::future_status::ready);
}
