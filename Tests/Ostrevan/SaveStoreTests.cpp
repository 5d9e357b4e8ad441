// The save file: its exact JSON form, what the reader refuses, and writing to disk.
#include <Ostrevan/Engine.hpp>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>

using namespace ostrevan;
namespace fs = std::filesystem;

namespace {

constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
constexpr auto kMin = std::numeric_limits<std::int64_t>::min();

// A fresh folder per test, removed afterwards.
class SaveStoreDisk : public testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        const std::string name = "ostrevan-save-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        m_root = fs::temp_directory_path() / name;
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    static void put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    static std::string contents(const fs::path& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }
    static std::vector<std::string> entries(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path m_root;
};

rlim_t lowestFreeDescriptor() {
    const int fd = ::open("/dev/null", O_RDONLY);
    ::close(fd);
    return rlim_t(fd);
}

SaveFile plainSave() {
    SaveFile file{{3, {"took_key", "lights_on"}, {"key", "coin"}}, 5};
    return file;
}

SaveFile fullSave() {
    SaveFile file{{3, {"took_key", "lights_on"}, {"key", "coin"}, "key", "took_key", 2, true}, 5};
    return file;
}

constexpr const char* kPlainText =
    R"({"state":{"level":3,"flags":["lights_on","took_key"],"inventory":["key","coin"],)"
    R"("hintCount":0,"finished":false},"best":5})";

constexpr const char* kFullText =
    R"({"state":{"level":3,"flags":["lights_on","took_key"],"inventory":["key","coin"],)"
    R"("selected":"key","hintStep":"took_key","hintCount":2,"finished":true},"best":5})";

// A valid file with keys of its "state" changed or added, or left out where the value is empty;
// an empty `best` leaves out "best".
std::string fileWith(const std::map<std::string, std::string>& changes = {}, const std::string& best = "1") {
    std::map<std::string, std::string> fields = {
        {"level", "1"}, {"flags", "[]"}, {"inventory", "[]"}, {"hintCount", "0"}, {"finished", "false"}};
    for (const auto& [key, value] : changes) fields[key] = value;
    std::string body;
    for (const auto& [key, value] : fields)
        if (!value.empty()) body += (body.empty() ? "\"" : ",\"") + key + "\":" + value;
    return R"({"state":{)" + body + "}" + (best.empty() ? "" : R"(,"best":)" + best) + "}";
}

}  // namespace

TEST(SaveStore, EncodesInTheFixedKeyOrderAndRoundTrips) {
    EXPECT_EQ(SaveStore::encode(plainSave()), kPlainText);
    EXPECT_EQ(SaveStore::encode(fullSave()), kFullText);
    EXPECT_EQ(SaveStore::decode(kPlainText), plainSave());
    EXPECT_EQ(SaveStore::decode(kFullText), fullSave());

    // Texts with quotes, backslashes, line breaks and non-ASCII survive.
    SaveFile odd = fullSave();
    odd.state.flags.insert("a \"b\"\\\n\tcafé");
    odd.state.inventory.push_back("");
    EXPECT_EQ(SaveStore::decode(SaveStore::encode(odd)), odd);
}

TEST(SaveStore, ReaderIsLenientAboutFormButKeepsValuesAsTheyStand) {
    const char* reordered = R"(
        { "best" : 7 , "extra": {"x": [1, null]},
          "state": { "finished": true, "hintCount": 1, "unknown": "x", "inventory": ["a"],
                     "flags": ["f", "f"], "level": 2, "selected": null } })";
    const auto loaded = SaveStore::decode(reordered);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->best, 7);
    EXPECT_EQ(loaded->state.level, 2);
    EXPECT_EQ(loaded->state.flags, FlagSet{"f"});
    EXPECT_FALSE(loaded->state.selected);
    EXPECT_TRUE(loaded->state.finished);

    struct Case { std::string level, hintCount, best; std::int64_t levelValue, countValue, bestValue; };
    const std::string max = "9223372036854775807";
    for (const Case& c : {Case{"0", "-7", "-1", 0, -7, -1}, Case{"99", "0", "0", 99, 0, 0},
                          Case{max, "-9223372036854775808", max, kMax, kMin, kMax}}) {
        const auto file = SaveStore::decode(fileWith({{"level", c.level}, {"hintCount", c.hintCount}}, c.best));
        ASSERT_TRUE(file) << c.level;
        EXPECT_EQ(file->state.level, c.levelValue);
        EXPECT_EQ(file->state.hintCount, c.countValue);
        EXPECT_EQ(file->best, c.bestValue);
    }
}

TEST(SaveStore, RejectsMalformedFiles) {
    std::vector<std::string> bad = {
        "", "   ", "{}", "null", "[]", "3", "\"state\"", "{\"state\":{}}", R"({"best":1})",
        R"({"state":null,"best":1})", R"({"state":[],"best":1})", fileWith() + "x", fileWith().substr(1),
        fileWith() + "/* comment */",
    };
    for (const char* best : {"", "1.5", "\"1\"", "null", "9223372036854775808"}) bad.push_back(fileWith({}, best));
    const std::pair<const char*, const char*> badFields[] = {
        {"level", ""}, {"flags", ""}, {"inventory", ""}, {"hintCount", ""}, {"finished", ""},
        {"level", "1.5"}, {"level", "1.0"}, {"level", "1e2"}, {"level", "\"3\""}, {"level", "true"},
        {"level", "9223372036854775808"}, {"level", "-9223372036854775809"}, {"level", "18446744073709551616"},
        {"flags", "[1]"}, {"flags", R"(["a",null])"}, {"flags", "\"a\""}, {"flags", "{}"}, {"flags", R"(["\ud800"])"},
        {"flags", "[\"\xff\xfe\"]"}, {"inventory", R"([["a"]])"}, {"hintCount", "\"0\""}, {"hintCount", "0.5"},
        {"finished", "1"}, {"finished", "\"true\""}, {"finished", "null"},
        {"selected", "3"}, {"selected", "false"}, {"hintStep", R"(["x"])"},
    };
    for (const auto& [key, value] : badFields) bad.push_back(fileWith({{key, value}}));

    ASSERT_TRUE(SaveStore::decode(fileWith()));
    for (const std::string& text : bad) EXPECT_EQ(SaveStore::decode(text), std::nullopt) << text;
}

TEST_F(SaveStoreDisk, LoadReturnsNothingForMissingOrBadFiles) {
    EXPECT_EQ(SaveStore::load(m_root / "missing.json"), std::nullopt);
    EXPECT_EQ(SaveStore::load(m_root / "no" / "such" / "folder.json"), std::nullopt);
    EXPECT_EQ(SaveStore::load(m_root), std::nullopt);  // a folder
    EXPECT_EQ(SaveStore::load(""), std::nullopt);
    put(m_root / "save.json", R"({"state":{"level":1}})");
    EXPECT_EQ(SaveStore::load(m_root / "save.json"), std::nullopt);
    put(m_root / "save.json", kFullText);
    EXPECT_EQ(SaveStore::load(m_root / "save.json"), fullSave());
}

TEST_F(SaveStoreDisk, WriteCreatesFoldersAndReplacesTheFile) {
    const fs::path path = m_root / "a" / "b" / "save.json";
    testing::internal::CaptureStderr();
    SaveStore::write(fullSave(), path);
    SaveStore::write(plainSave(), path);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(contents(path), kPlainText);
    EXPECT_EQ(SaveStore::load(path), plainSave());
    EXPECT_EQ(entries(path.parent_path()), std::vector<std::string>{"save.json"});
}

TEST_F(SaveStoreDisk, FailedWriteLogsOneLineAndLeavesNothingBehind) {
    // The save file's folder is a file: the folder cannot be made, the blocking file stays whole.
    const fs::path blocker = m_root / "old.json";
    SaveStore::write(fullSave(), blocker);
    testing::internal::CaptureStderr();
    SaveStore::write(plainSave(), blocker / "save.json");
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log.rfind("Tallowmere: could not save progress: ", 0), 0u) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_EQ(log.back(), '\n');
    EXPECT_EQ(contents(blocker), kFullText);

    // The save path is a folder: it is not replaced, and nothing is left beside it.
    const fs::path folder = m_root / "taken";
    fs::create_directories(folder / "inside");
    testing::internal::CaptureStderr();
    SaveStore::write(plainSave(), folder);
    log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log.rfind("Tallowmere: could not save progress: ", 0), 0u) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_EQ(entries(m_root), (std::vector<std::string>{"old.json", "taken"}));
    EXPECT_EQ(entries(folder), std::vector<std::string>{"inside"});

    // The temporary file cannot be written (past the file-size limit, which the save's text
    // exceeds and its line does not) or made (no file descriptor left): the line names the
    // save, the temporary file being no name the player knows.
    SaveFile big = plainSave();
    for (int i = 0; i < 200; ++i) big.state.flags.insert("flag" + std::to_string(i));
    const fs::path save = m_root / "save.json";
    SaveStore::write(plainSave(), save);
    const auto previousOnTooLarge = std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& [resource, error] : {std::pair{RLIMIT_FSIZE, EFBIG}, std::pair{RLIMIT_NOFILE, EMFILE}}) {
        rlimit previous{};
        ASSERT_EQ(::getrlimit(resource, &previous), 0);
        testing::internal::CaptureStderr();
        rlimit tight = previous;
        tight.rlim_cur = resource == RLIMIT_FSIZE ? 1024 : lowestFreeDescriptor();
        ASSERT_EQ(::setrlimit(resource, &tight), 0);
        SaveStore::write(big, save);
        ::setrlimit(resource, &previous);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Tallowmere: could not save progress: " + save.string() + ": " + std::strerror(error) + "\n");
        EXPECT_EQ(SaveStore::load(save), plainSave());
        EXPECT_EQ(entries(m_root), (std::vector<std::string>{"old.json", "save.json", "taken"}));
    }
    std::signal(SIGXFSZ, previousOnTooLarge);
}

TEST_F(SaveStoreDisk, HostileInputNeverCrashes) {
    const std::string valid = kFullText;
    // Every proper prefix of an object is incomplete JSON.
    for (std::size_t length = 0; length < valid.size(); ++length) {
        EXPECT_EQ(SaveStore::decode(valid.substr(0, length)), std::nullopt) << length;
    }

    std::mt19937 random(20240601);  // fixed seed: the same bytes on every run
    const auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(below(96), '\0');
        for (char& byte : bytes) byte = static_cast<char>(below(256));
        (void)SaveStore::decode(bytes);

        // Small mutations of a valid file reach deeper into the reader.
        std::string mutated = valid;
        for (std::size_t flips = 1 + below(4); flips > 0; --flips) {
            mutated[below(mutated.size())] = "{}[]\",:0-9.e truefalsnul\\x"[below(27)];
        }
        if (const auto file = SaveStore::decode(mutated)) {
            EXPECT_EQ(SaveStore::decode(SaveStore::encode(*file)), file);
        }
        if (round % 500 == 0) {
            put(m_root / "save.json", bytes);
            (void)SaveStore::load(m_root / "save.json");
        }
    }

    // Deep nesting must not exhaust the stack or the memory, even under a key we would ignore;
    // brackets inside strings do not count.
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_EQ(SaveStore::decode(deep), std::nullopt);
    EXPECT_EQ(SaveStore::decode(fileWith({{"x", deep}})), std::nullopt);
    const std::string allowed = std::string(SaveStore::kMaxNesting - 2, '[') + std::string(SaveStore::kMaxNesting - 2, ']');
    EXPECT_NE(SaveStore::decode(fileWith({{"x", allowed}})), std::nullopt);
    EXPECT_NE(SaveStore::decode(fileWith({{"x", "\"" + std::string(1000, '[') + "\\\"{\""}})), std::nullopt);
}

TEST_F(SaveStoreDisk, LoadRefusesOversizedFilesAndLeavesThemAlone) {
    // A valid save padded with spaces: up to the bound it loads, one byte more and it is refused.
    const fs::path path = m_root / "save.json";
    const std::string text = kFullText;
    const std::string largest = text + std::string(SaveStore::kMaxFileBytes - text.size(), ' ');
    put(path, largest);
    EXPECT_EQ(SaveStore::load(path), fullSave());
    put(path, largest + " ");
    EXPECT_EQ(SaveStore::load(path), std::nullopt);
    EXPECT_EQ(fs::file_size(path), SaveStore::kMaxFileBytes + 1);
}

// The process's peak resident memory so far, in KiB.
long peakKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Bytes this process has taken in through read calls so far; nullopt where the kernel does not say.
std::optional<std::int64_t> bytesRead() {
    std::ifstream io("/proc/self/io");
    for (std::string key; io >> key;) {
        std::int64_t value = 0;
        if (io >> value && key == "rchar:") return value;
    }
    return std::nullopt;
}

TEST_F(SaveStoreDisk, AHugeSparseFileIsRefusedWithoutReadingIt) {
    // A save followed by a gibibyte of holes, as a broken disk or a prank leaves it: the start
    // must not wait for it nor hold it in memory.
    const fs::path path = m_root / "save.json";
    put(path, kFullText);
    fs::resize_file(path, std::uintmax_t{1} << 30);
    const long peakBefore = peakKiB();
    const std::optional<std::int64_t> readBefore = bytesRead();
    EXPECT_EQ(SaveStore::load(path), std::nullopt);
    EXPECT_LT(peakKiB() - peakBefore, 16 * 1024);
    const std::optional<std::int64_t> readAfter = bytesRead();
    if (readBefore && readAfter) {
        EXPECT_LT(*readAfter - *readBefore, 64 * 1024);
    }
}

TEST_F(SaveStoreDisk, WriteUsesShortTemporariesAndClearsOnlyStaleOnesOfItsOwn) {
    // The longest name a file system takes still saves.
    const fs::path longest = m_root / (std::string(250, 'n') + ".json");
    testing::internal::CaptureStderr();
    SaveStore::write(plainSave(), longest);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(SaveStore::load(longest), plainSave());
    fs::remove(longest);

    // Temporaries of killed saves: old ones of this save's pattern go, the rest stays.
    const fs::path path = m_root / "save.json";
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const std::vector<std::string> kept = {
        "other.json.tmp-Ab12Cd", "save.json.tmp-Ab12", "save.json.tmp-Ab12Cd.bak", "save.json.tmp-Ab-2Cd",
        "save.json.tmp-Young1"};
    for (const char* name : {"save.json.tmp-Ab12Cd", "save.json.tmp-zzzzzz"}) {
        put(m_root / name, "half a sa");
        fs::last_write_time(m_root / name, old);
    }
    for (const std::string& name : kept) {
        put(m_root / name, "x");
        if (name != "save.json.tmp-Young1") fs::last_write_time(m_root / name, old);
    }
    fs::create_directory(m_root / "save.json.tmp-Folder");
    fs::last_write_time(m_root / "save.json.tmp-Folder", old);
    SaveStore::write(plainSave(), path);
    std::vector<std::string> expected = kept;
    expected.push_back("save.json");
    expected.push_back("save.json.tmp-Folder");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries(m_root), expected);
}

TEST_F(SaveStoreDisk, WriteGoesThroughLinksAndReplacesOnlyRegularFiles) {
    // A linked save (through a relative link and a chain of two) keeps its links; the file
    // behind them gets the progress, replaced beside it.
    fs::create_directories(m_root / "real");
    fs::create_directories(m_root / "links");
    const fs::path target = m_root / "real" / "save.json";
    put(target, kFullText);
    fs::create_symlink("../real/save.json", m_root / "links" / "first.json");
    fs::create_symlink("first.json", m_root / "links" / "save.json");
    testing::internal::CaptureStderr();
    SaveStore::write(plainSave(), m_root / "links" / "save.json");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(fs::is_symlink(m_root / "links" / "save.json"));
    EXPECT_TRUE(fs::is_symlink(m_root / "links" / "first.json"));
    EXPECT_EQ(contents(target), kPlainText);
    EXPECT_EQ(entries(m_root / "real"), std::vector<std::string>{"save.json"});
    EXPECT_EQ(SaveStore::load(m_root / "links" / "save.json"), plainSave());

    // A link to a file not there yet creates it.
    fs::create_symlink("../real/new.json", m_root / "links" / "new.json");
    SaveStore::write(plainSave(), m_root / "links" / "new.json");
    EXPECT_EQ(contents(m_root / "real" / "new.json"), kPlainText);

    // A pipe and a link loop are refused with one line, and stay as they are.
    const fs::path pipe = m_root / "pipe.json";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_symlink("loop.json", m_root / "loop.json");
    for (const fs::path& refused : {pipe, m_root / "loop.json"}) {
        testing::internal::CaptureStderr();
        SaveStore::write(plainSave(), refused);
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(log.rfind("Tallowmere: could not save progress: ", 0), 0u) << log;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(SaveStore::load(pipe), std::nullopt);  // and reading it does not wait for a writer
    EXPECT_TRUE(fs::is_symlink(m_root / "loop.json"));
    EXPECT_EQ(entries(m_root), (std::vector<std::string>{"links", "loop.json", "pipe.json", "real"}));
}

ssize_t failingRead(int, void*, std::size_t) {
    errno = EIO;
    return -1;
}

// What the game's start finds at `path` when no file can be opened there: with no descriptor
// left, as for a player whom the file's mode shuts out (the tests run as root, who opens even a
// file of mode 000).
SaveStore::Reading readUnopened(const fs::path& path) {
    rlimit previous{};
    EXPECT_EQ(::getrlimit(RLIMIT_NOFILE, &previous), 0);
    rlimit none = previous;
    none.rlim_cur = lowestFreeDescriptor();
    EXPECT_EQ(::setrlimit(RLIMIT_NOFILE, &none), 0);
    if (const int fd = ::open(path.c_str(), O_RDONLY); fd >= 0) {
        ADD_FAILURE() << "the start would open " << path;
        ::close(fd);
    }
    SaveStore::Reading found = SaveStore::read(path);
    EXPECT_EQ(::setrlimit(RLIMIT_NOFILE, &previous), 0);
    return found;
}

// Saves over what stands at `path` as the game does once it gave no save; returns what it said.
std::string saveOverUnread(const fs::path& path, const std::optional<FileIdentity>& unread) {
    testing::internal::CaptureStderr();
    if (SaveStore::keepAside(path, unread)) SaveStore::write(plainSave(), path);
    return testing::internal::GetCapturedStderr();
}

std::string keptLine(const fs::path& path, const fs::path& kept) {
    return "Tallowmere: " + path.string() + " could not be read; it is kept as " + kept.string() + "\n";
}

TEST_F(SaveStoreDisk, AFileThatGaveNoSaveIsKeptAsideUnderANameNothingElseHas) {
    const fs::path path = m_root / "save.json";
    EXPECT_FALSE(SaveStore::read(path).file);
    put(path, "");  // nothing to lose
    EXPECT_FALSE(SaveStore::read(path).file);
    put(path, std::string(SaveStore::kMaxFileBytes + 1, ' '));
    EXPECT_TRUE(SaveStore::read(path).file);

    // Bytes that would not read, from a failing disk.
    const auto saveOver = [&](const std::string& bytes) {
        put(path, bytes);
        return saveOverUnread(path, SaveStore::read(path, failingRead).file);
    };
    const auto keptAs = [&](const std::string& name) { return keptLine(path, m_root / name); };
    EXPECT_EQ(saveOver("my notes"), keptAs("save.json.unreadable"));
    EXPECT_EQ(SaveStore::load(path), plainSave());
    fs::create_symlink("nowhere", m_root / "save.json.unreadable-3");  // a dangling link is no free name
    EXPECT_EQ(saveOver(kFullText), keptAs("save.json.unreadable-2"));
    EXPECT_EQ(saveOver("third"), keptAs("save.json.unreadable-4"));
    EXPECT_EQ(contents(m_root / "save.json.unreadable"), "my notes");
    EXPECT_EQ(contents(m_root / "save.json.unreadable-2"), kFullText);
    EXPECT_EQ(contents(m_root / "save.json.unreadable-4"), "third");
    EXPECT_TRUE(fs::is_symlink(m_root / "save.json.unreadable-3"));

    // Every name taken: the file stays, and the save fails saying so.
    for (int turn = 5; turn <= SaveStore::kMaxKeptFiles; ++turn)
        put(m_root / ("save.json.unreadable-" + std::to_string(turn)), "");
    const std::string log = saveOver("fourth");
    EXPECT_EQ(log.rfind("Tallowmere: could not save progress: " + path.string(), 0), 0u) << log;
    EXPECT_EQ(contents(path), "fourth");
}

// Kept beside the file itself, whose link stays as it is.
TEST_F(SaveStoreDisk, AFileThatCannotBeOpenedIsKeptAsideThroughItsLinksToo) {
    const fs::path file = m_root / "real" / "save.json";
    const fs::path kept = m_root / "real" / "save.json.unreadable";
    fs::create_directories(file.parent_path());
    fs::create_symlink("real/save.json", m_root / "save.json");
    for (const fs::path& path : {file, m_root / "save.json"}) {
        put(file, "my notes");
        fs::remove(kept);
        EXPECT_EQ(saveOverUnread(path, readUnopened(path).file), keptLine(path, kept));
        EXPECT_EQ(contents(kept), "my notes") << path;
        EXPECT_EQ(SaveStore::load(path), plainSave()) << path;
    }
    EXPECT_TRUE(fs::is_symlink(m_root / "save.json"));
}
