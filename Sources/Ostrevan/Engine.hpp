// The rules engine and the save file.
//
// The engine is a set of pure functions: each takes a room and the one game state, changes the
// state in place and returns what the player should see and hear, in order.
#pragma once

#include <Ostrevan/Model.hpp>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <sys/types.h>

namespace ostrevan {

// The play state of the current room.
struct GameState {
    std::int64_t level = 1;  // id of the current room
    FlagSet flags;
    std::vector<std::string> inventory;  // in order of gaining
    std::optional<std::string> selected;
    std::optional<std::string> hintStep;  // done flag of the step hinted last
    std::int64_t hintCount = 0;           // hints given since hintStep last changed
    bool finished = false;
    bool operator==(const GameState&) const = default;
};

namespace event {
struct Say { std::string text; bool operator==(const Say&) const = default; };
struct Gave { std::string item; bool operator==(const Gave&) const = default; };
struct Panel { std::string id; bool operator==(const Panel&) const = default; };
struct Sound { Sfx sfx{}; bool operator==(const Sound&) const = default; };
struct Enter { bool operator==(const Enter&) const = default; };
}  // namespace event

// One thing for the application to show or play.
using Event = std::variant<event::Say, event::Gave, event::Panel, event::Sound, event::Enter>;

// Event constructors: ev::say("..."), ev::sfx(Sfx::open), ...
namespace ev {
inline Event say(std::string text) { return event::Say{std::move(text)}; }
inline Event gave(std::string item) { return event::Gave{std::move(item)}; }
inline Event panel(std::string id) { return event::Panel{std::move(id)}; }
inline Event sfx(Sfx sound) { return event::Sound{sound}; }
inline Event enter() { return event::Enter{}; }
}  // namespace ev

namespace Engine {

inline constexpr std::int64_t lastLevel = 50;

inline constexpr std::string_view kNoUseText = "That doesn't work here.";
inline constexpr std::string_view kNoComboText = "Those don't go together.";
inline constexpr std::string_view kAllDoneText = "Everything is done. Try the door.";

GameState begin(const Level& level);
bool isDark(const Level& level, const GameState& state);
bool doorUnlocked(const Level& level, const GameState& state);
std::vector<Event> tap(const std::string& propID, const Level& level, GameState& state);
std::vector<Event> tapItem(const std::string& itemID, const Level& level, GameState& state);
std::vector<Event> solve(const std::string& panelID, const Level& level, GameState& state);
std::string hint(const Level& level, GameState& state);
void nextLevel(GameState& state, const std::vector<Level>& levels);
std::vector<Event> apply(const std::vector<Effect>& effects, const Level& level, GameState& state);

}  // namespace Engine

// The save file: the state of the current room and the furthest room reached.
struct SaveFile {
    GameState state;
    std::int64_t best = 1;
    bool operator==(const SaveFile&) const = default;
};

// One file on disk, whatever its names: its device and inode number.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

namespace SaveStore {

inline constexpr std::string_view kWriteFailurePrefix = "Tallowmere: could not save progress: ";
// A real save is a few kilobytes and three levels deep; anything far beyond is not one of ours.
inline constexpr std::size_t kMaxFileBytes = 1 << 20;
inline constexpr int kMaxNesting = 64;
// A hundred files kept aside mean something else is wrong: the saves stop there and say so
// rather than fill the folder.
inline constexpr int kMaxKeptFiles = 100;

// JSON text of a save file, keys in the file's fixed order; optionals left out while empty.
std::string encode(const SaveFile& file);
// Parses JSON text; nullopt on anything malformed, longer than kMaxFileBytes or nested deeper
// than kMaxNesting. Values out of range are kept as they stand.
std::optional<SaveFile> decode(std::string_view text);

// What stands at the save path when the game starts.
struct Reading {
    std::optional<SaveFile> save;  // as load() gives it
    // The regular file of at least one byte there (links followed), whether it gave a save or
    // not: one the game cannot take must not be lost to its first save (keepAside).
    std::optional<FileIdentity> file;
};

// How bytes come from an open file, as ::read does; tests fail it as a failing disk would.
using ReadBytes = ssize_t (*)(int fd, void* buffer, std::size_t count);

// `readBytes` empty: ::read. Never throws.
Reading read(const std::filesystem::path& path, ReadBytes readBytes = nullptr);
// nullopt for a missing, unreadable, malformed or oversized file, or one that is not a regular
// file. Never throws.
std::optional<SaveFile> load(const std::filesystem::path& path);
// When the file that `path` names (links followed) is still `file`, renames it within its folder
// to the first free name of save.json.unreadable, save.json.unreadable-2, ... (up to
// kMaxKeptFiles), never over anything, and says so in one line on stderr naming both. False
// when it is there but cannot be kept aside, having logged one line (kWriteFailurePrefix +
// reason): the save must not replace it then. True, doing nothing, when `file` is empty or no
// longer there. Never throws.
bool keepAside(const std::filesystem::path& path, const std::optional<FileIdentity>& file);
// Creates missing folders and replaces the file atomically; a symbolic link is written through
// to the file it names, and anything but a missing or regular file is refused. Removes stale
// temporary files that an interrupted save left beside it. On failure, logs one line
// (kWriteFailurePrefix + reason) to stderr and leaves any earlier file untouched. Never throws.
void write(const SaveFile& file, const std::filesystem::path& path);

}  // namespace SaveStore

}  // namespace ostrevan
