// The save file: its exact JSON form, what the reader refuses, and writing to disk.
#include <Ostrevan/Engine.hpp>

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

using namespace ostrevan;
namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards.
class SaveStoreDisk : public testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        m_root = fs::temp_directory_path() /
                 ("ostrevan-save-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    static void put(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
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

SaveFile plainSave() {
    SaveFile file;
    file.state.level = 3;
    file.state.flags = {"took_key", "lights_on"};
    file.state.inventory = {"key", "coin"};
    file.best = 5;
    return file;
}

SaveFile fullSave() {
    SaveFile file = plainSave();
    file.state.selected = "key";
    file.state.hintStep = "took_key";
    file.state.hintCount = 2;
    file.state.finished = true;
    return file;
}

constexpr const char* kPlainText =
    R"({"state":{"level":3,"flags":["lights_on","took_key"],"inventory":["key","coin"],)"
    R"("hintCount":0,"finished":false},"best":5})";

constexpr const char* kFullText =
    R"({"state":{"level":3,"flags":["lights_on","took_key"],"inventory":["key","coin"],)"
    R"("selected":"key","hintStep":"took_key","hintCount":2,"finished":true},"best":5})";

// A valid file with one piece of the "state" object replaced.
std::string withState(const std::string& stateBody, const std::string& best = "1") {
    return R"({"state":{)" + stateBody + R"(},"best":)" + best + "}";
}

const std::string kGoodState = R"("level":1,"flags":[],"inventory":[],"hintCount":0,"finished":false)";

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

    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    struct Case { std::string level, hintCount, best; std::int64_t levelValue, countValue, bestValue; };
    for (const Case& c : {Case{"0", "-7", "-1", 0, -7, -1}, Case{"99", "0", "0", 99, 0, 0},
                          Case{"9223372036854775807", "-9223372036854775808", "9223372036854775807", kMax,
                               kMin, kMax}}) {
        const auto file = SaveStore::decode(withState(R"("level":)" + c.level +
                                                          R"(,"flags":[],"inventory":[],"hintCount":)" +
                                                          c.hintCount + R"(,"finished":false)",
                                                      c.best));
        ASSERT_TRUE(file) << c.level;
        EXPECT_EQ(file->state.level, c.levelValue);
        EXPECT_EQ(file->state.hintCount, c.countValue);
        EXPECT_EQ(file->best, c.bestValue);
    }
}

TEST(SaveStore, RejectsMalformedFiles) {
    const std::string bad[] = {
        "",
        "   ",
        "{}",
        "null",
        "[]",
        "3",
        "\"state\"",
        "{\"state\":{}}",
        withState(kGoodState) + "x",
        withState(kGoodState).substr(1),
        R"({"best":1})",
        R"({"state":null,"best":1})",
        R"({"state":[],"best":1})",
        withState(kGoodState, "1.5"),
        withState(kGoodState, "\"1\""),
        withState(kGoodState, "null"),
        withState(kGoodState, "9223372036854775808"),
        R"({"state":{)" + kGoodState + "}}",
        withState(R"("flags":[],"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":1,"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":1,"flags":[],"hintCount":0,"finished":false)"),
        withState(R"("level":1,"flags":[],"inventory":[],"finished":false)"),
        withState(R"("level":1,"flags":[],"inventory":[],"hintCount":0)"),
        withState(R"("level":1.5,"flags":[],"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":1.0,"flags":[],"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":1e2,"flags":[],"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":"3","flags":[],"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":true,"flags":[],"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":9223372036854775808,"flags":[],"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":-9223372036854775809,"flags":[],"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":18446744073709551616,"flags":[],"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":1,"flags":[1],"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":1,"flags":["a",null],"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":1,"flags":"a","inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":1,"flags":{},"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":1,"flags":[],"inventory":[["a"]],"hintCount":0,"finished":false)"),
        withState(R"("level":1,"flags":[],"inventory":[],"hintCount":"0","finished":false)"),
        withState(R"("level":1,"flags":[],"inventory":[],"hintCount":0.5,"finished":false)"),
        withState(R"("level":1,"flags":[],"inventory":[],"hintCount":0,"finished":1)"),
        withState(R"("level":1,"flags":[],"inventory":[],"hintCount":0,"finished":"true")"),
        withState(R"("level":1,"flags":[],"inventory":[],"hintCount":0,"finished":null)"),
        withState(kGoodState + R"(,"selected":3)"),
        withState(kGoodState + R"(,"hintStep":["x"])"),
        withState(kGoodState + R"(,"selected":false)"),
        withState(R"("level":1,"flags":["\ud800"],"inventory":[],"hintCount":0,"finished":false)"),
        withState(R"("level":1,"flags":[")" + std::string("\xff\xfe") + R"("],"inventory":[],"hintCount":0,"finished":false)"),
        withState(kGoodState) + "/* comment */",
    };
    ASSERT_TRUE(SaveStore::decode(withState(kGoodState)));
    for (const std::string& text : bad) EXPECT_EQ(SaveStore::decode(text), std::nullopt) << text;
}

TEST_F(SaveStoreDisk, LoadReturnsNothingForMissingOrBadFiles) {
    EXPECT_EQ(SaveStore::load(m_root / "missing.json"), std::nullopt);
    EXPECT_EQ(SaveStore::load(m_root / "no" / "such" / "folder.json"), std::nullopt);
    EXPECT_EQ(SaveStore::load(m_root), std::nullopt);  // a folder
    EXPECT_EQ(SaveStore::load(""), std::nullopt);
    for (const std::string text : {"", "{}", "not json", R"({"state":{"level":1}})"}) {
        put(m_root / "save.json", text);
        EXPECT_EQ(SaveStore::load(m_root / "save.json"), std::nullopt) << text;
    }
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

    // The save path is a folder: the new file is written but cannot replace it; the temporary
    // file goes away again.
    const fs::path folder = m_root / "taken";
    fs::create_directories(folder / "inside");
    testing::internal::CaptureStderr();
    SaveStore::write(plainSave(), folder);
    log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log.rfind("Tallowmere: could not save progress: ", 0), 0u) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_EQ(entries(m_root), (std::vector<std::string>{"old.json", "taken"}));
    EXPECT_EQ(entries(folder), std::vector<std::string>{"inside"});
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

    // Deep nesting must not exhaust the stack.
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_EQ(SaveStore::decode(deep), std::nullopt);
    EXPECT_NE(SaveStore::decode(withState(kGoodState + R"(,"x":)" + deep)), std::nullopt)
        << "a deep but valid unknown key is ignored";
}
