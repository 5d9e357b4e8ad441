// The rules engine and the save file.
//
// [SECTION] Rules engine
// [SECTION] Save file: JSON form
// [SECTION] Save file: disk
#include <Ostrevan/Engine.hpp>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <limits>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrevan {

// ---------------------------------------------------------------------------------------------
// [SECTION] Rules engine

namespace Engine {

namespace {

bool fits(const Rule& rule, const FlagSet& flags) {
    const auto isSet = [&](const std::string& flag) { return flags.contains(flag); };
    return std::all_of(rule.needs.begin(), rule.needs.end(), isSet) &&
           std::none_of(rule.without.begin(), rule.without.end(), isSet);
}

const Rule* firstFitting(const Prop& prop, const Trigger& trigger, const FlagSet& flags) {
    const auto it = std::find_if(prop.rules.begin(), prop.rules.end(), [&](const Rule& rule) {
        return rule.trigger == trigger && fits(rule, flags);
    });
    return it == prop.rules.end() ? nullptr : &*it;
}

bool contains(const std::vector<std::string>& list, const std::string& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool holdsEnter(const std::vector<Event>& events) {
    return std::any_of(events.begin(), events.end(),
                       [](const Event& e) { return std::holds_alternative<event::Enter>(e); });
}

// Applies one effect; visited so that a new effect case cannot be forgotten here.
struct EffectApplier {
    GameState& state;
    std::vector<Event>& events;

    void operator()(const effect::Give& e) const {
        if (!contains(state.inventory, e.item)) state.inventory.push_back(e.item);
        events.push_back(ev::gave(e.item));
    }
    void operator()(const effect::Take& e) const {
        std::erase(state.inventory, e.item);
        if (state.selected == e.item) state.selected.reset();
    }
    void operator()(const effect::Set& e) const { state.flags.insert(e.flag); }
    void operator()(const effect::Clear& e) const {
        if (const auto it = state.flags.find(e.flag); it != state.flags.end()) state.flags.erase(it);
    }
    void operator()(const effect::Say& e) const { events.push_back(ev::say(e.text)); }
    void operator()(const effect::Panel& e) const { events.push_back(ev::panel(e.id)); }
    void operator()(const effect::Sound& e) const { events.push_back(ev::sfx(e.sfx)); }
    void operator()(const effect::Enter&) const { events.push_back(ev::enter()); }
};

}  // namespace

GameState begin(const Level& level) {
    GameState state;
    state.level = level.id;
    state.flags.insert(level.startFlags.begin(), level.startFlags.end());
    return state;
}

bool isDark(const Level& level, const GameState& state) {
    return level.darkUntil.has_value() && !state.flags.contains(*level.darkUntil);
}

bool doorUnlocked(const Level& level, const GameState& state) {
    return std::all_of(level.requires_.begin(), level.requires_.end(),
                       [&](const std::string& flag) { return state.flags.contains(flag); });
}

std::vector<Event> tap(const std::string& propID, const Level& level, GameState& state) {
    const Prop* prop = level.prop(propID);
    if (prop == nullptr || !prop->isVisible(state.flags)) return {};

    if (!state.selected) {
        if (const Rule* rule = firstFitting(*prop, Trigger::tap(), state.flags)) {
            return apply(rule->effects, level, state);
        }
        if (prop->look) return {ev::say(*prop->look)};
        return {};
    }

    // Using an item spends the selection on any visible prop, whether or not it takes the item.
    const std::string used = *state.selected;
    state.selected.reset();
    const Rule* rule = firstFitting(*prop, Trigger::use(used), state.flags);
    if (rule == nullptr) {
        return {ev::sfx(Sfx::wrong), ev::say(prop->noUse.value_or(std::string(kNoUseText)))};
    }
    std::vector<Event> events = apply(rule->effects, level, state);
    if (propID == "door" && doorUnlocked(level, state) && !holdsEnter(events)) {
        events.push_back(ev::sfx(Sfx::open));
        events.push_back(ev::enter());
    }
    return events;
}

std::vector<Event> tapItem(const std::string& itemID, const Level& level, GameState& state) {
    if (!contains(state.inventory, itemID)) return {};
    if (!state.selected) {
        state.selected = itemID;
        return {ev::sfx(Sfx::tap)};
    }
    if (*state.selected == itemID) {
        state.selected.reset();
        return {};
    }

    const std::string& held = *state.selected;
    const auto combo = std::find_if(level.combos.begin(), level.combos.end(), [&](const Combo& c) {
        return (c.a == held && c.b == itemID) || (c.a == itemID && c.b == held);
    });
    if (combo == level.combos.end()) {
        state.selected = itemID;
        return {ev::sfx(Sfx::wrong), ev::say(std::string(kNoComboText))};
    }
    std::erase_if(state.inventory,
                  [&](const std::string& id) { return id == combo->a || id == combo->b; });
    state.inventory.push_back(combo->result);
    state.selected.reset();
    return {ev::sfx(Sfx::combine), ev::gave(combo->result), ev::say(combo->message)};
}

std::vector<Event> solve(const std::string& panelID, const Level& level, GameState& state) {
    const Panel* panel = level.panel(panelID);
    if (panel == nullptr) return {};
    state.flags.insert("solved_" + panelID);
    return apply(panel->onSolve, level, state);
}

std::string hint(const Level& level, GameState& state) {
    const auto step = std::find_if(level.steps.begin(), level.steps.end(),
                                   [&](const Step& s) { return !state.flags.contains(s.done); });
    // A step without hints breaks the room's own data; rather than read past the end
    // we answer as if nothing were left and leave the hint progress alone.
    if (step == level.steps.end() || step->hints.empty()) return std::string(kAllDoneText);

    if (state.hintStep != step->done) {
        state.hintStep = step->done;
        state.hintCount = 0;
    }
    // A count from an edited save file may be negative or near the integer limit; it
    // is treated as 0 below and saturates above, so the index stays inside the hints.
    const std::int64_t count = std::max<std::int64_t>(state.hintCount, 0);
    const auto last = static_cast<std::int64_t>(step->hints.size()) - 1;
    const auto index = static_cast<std::size_t>(std::min(count, last));
    state.hintCount = count == std::numeric_limits<std::int64_t>::max() ? count : count + 1;
    return step->hints[index];
}

void nextLevel(GameState& state, const std::vector<Level>& levels) {
    // Room ids run 1, 2, 3 ... in list order, so the current id is the index of the next room.
    const auto count = static_cast<std::int64_t>(levels.size());
    if (state.level >= count || levels.empty()) {
        state.finished = true;
        return;
    }
    // An id below 1 (only an edited save file can hold one) names no room; the game
    // goes on from the first room instead of reading before the list.
    const std::int64_t next = std::max<std::int64_t>(state.level, 0);
    state = begin(levels[static_cast<std::size_t>(next)]);
}

std::vector<Event> apply(const std::vector<Effect>& effects, const Level&, GameState& state) {
    std::vector<Event> events;
    const EffectApplier applier{state, events};
    for (const Effect& effect : effects) std::visit(applier, effect);
    return events;
}

}  // namespace Engine

// ---------------------------------------------------------------------------------------------
// [SECTION] Save file: JSON form

namespace SaveStore {

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

// Integers only: 1.5, 1e3, "3" and anything beyond the signed 64-bit range are refused.
std::optional<std::int64_t> readInt(const Json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end()) return std::nullopt;
    if (it->is_number_unsigned()) {
        const auto value = it->get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return std::nullopt;
        }
        return static_cast<std::int64_t>(value);
    }
    if (it->is_number_integer()) return it->get<std::int64_t>();
    return std::nullopt;
}

std::optional<bool> readBool(const Json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_boolean()) return std::nullopt;
    return it->get<bool>();
}

std::optional<std::vector<std::string>> readStrings(const Json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_array()) return std::nullopt;
    std::vector<std::string> values;
    values.reserve(it->size());
    for (const Json& value : *it) {
        if (!value.is_string()) return std::nullopt;
        values.push_back(value.get<std::string>());
    }
    return values;
}

// An absent key (or a null, which we never write) is no value; any other non-string is an error.
bool readOptionalString(const Json& object, const char* key, std::optional<std::string>& out) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null()) {
        out.reset();
        return true;
    }
    if (!it->is_string()) return false;
    out = it->get<std::string>();
    return true;
}

OrderedJson encodeState(const GameState& state) {
    OrderedJson json;
    json["level"] = state.level;
    json["flags"] = OrderedJson::array();
    for (const std::string& flag : state.flags) json["flags"].push_back(flag);
    json["inventory"] = state.inventory;
    if (state.selected) json["selected"] = *state.selected;
    if (state.hintStep) json["hintStep"] = *state.hintStep;
    json["hintCount"] = state.hintCount;
    json["finished"] = state.finished;
    return json;
}

std::optional<GameState> decodeState(const Json& json) {
    if (!json.is_object()) return std::nullopt;
    GameState state;
    const auto level = readInt(json, "level");
    const auto flags = readStrings(json, "flags");
    const auto inventory = readStrings(json, "inventory");
    const auto hintCount = readInt(json, "hintCount");
    const auto finished = readBool(json, "finished");
    if (!level || !flags || !inventory || !hintCount || !finished) return std::nullopt;
    if (!readOptionalString(json, "selected", state.selected)) return std::nullopt;
    if (!readOptionalString(json, "hintStep", state.hintStep)) return std::nullopt;
    state.level = *level;
    state.flags.insert(flags->begin(), flags->end());
    state.inventory = std::move(*inventory);
    state.hintCount = *hintCount;
    state.finished = *finished;
    return state;
}

}  // namespace

std::string encode(const SaveFile& file) {
    OrderedJson json;
    json["state"] = encodeState(file.state);
    json["best"] = file.best;
    // Ids come from our own rooms and are valid UTF-8; should one not be, the file still gets
    // written (with a replacement character) rather than failing the save.
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

namespace {

// Whether brackets outside strings nest deeper than `limit`; the parser itself would follow any
// depth, building a tree many times the size of the text.
bool nestsDeeperThan(std::string_view text, int limit) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

}  // namespace

std::optional<SaveFile> decode(std::string_view text) {
    if (text.size() > kMaxFileBytes || nestsDeeperThan(text, kMaxNesting)) return std::nullopt;
    try {
        const Json json = Json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
        if (!json.is_object()) return std::nullopt;  // also the parser's "discarded" value
        const auto stateIt = json.find("state");
        if (stateIt == json.end()) return std::nullopt;
        auto state = decodeState(*stateIt);
        const auto best = readInt(json, "best");
        if (!state || !best) return std::nullopt;
        return SaveFile{std::move(*state), *best};
    } catch (...) {  // out of memory: a file we cannot take in is the same as none
        return std::nullopt;
    }
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Save file: disk

namespace {

FileIdentity identityOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

// A regular file of at least one byte: what a save would replace and lose.
std::optional<FileIdentity> standingFile(const struct stat& info) {
    if (!S_ISREG(info.st_mode) || info.st_size <= 0) return std::nullopt;
    return identityOf(info);
}

// Closes its descriptor however the reading ends.
struct OpenFile {
    int fd;
    ~OpenFile() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

Reading read(const std::filesystem::path& path, ReadBytes readBytes) {
    if (!readBytes) readBytes = ::read;
    Reading found;
    try {
        // Only a regular file of a plausible size: a folder reads as nothing, a pipe could block
        // forever (hence no waiting on open), and a huge file is not worth reading to refuse it.
        struct stat info{};
        const OpenFile file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
        if (file.fd < 0) {
            // One we may not open is still the file a save would replace.
            if (::stat(path.c_str(), &info) == 0) found.file = standingFile(info);
            return found;
        }
        if (::fstat(file.fd, &info) != 0) return found;
        found.file = standingFile(info);
        if (!S_ISREG(info.st_mode) || static_cast<std::uintmax_t>(info.st_size) > kMaxFileBytes) return found;
        // The file may grow meanwhile: read one byte past the bound to notice.
        std::string text(kMaxFileBytes + 1, '\0');
        std::size_t used = 0;
        while (used < text.size()) {
            const ssize_t got = readBytes(file.fd, text.data() + used, text.size() - used);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return found;
            if (got == 0) break;
            used += static_cast<std::size_t>(got);
        }
        if (used > kMaxFileBytes) return found;
        text.resize(used);
        found.save = decode(text);
    } catch (...) {  // out of memory: a file we cannot take in is the same as one we cannot read
    }
    return found;
}

std::optional<SaveFile> load(const std::filesystem::path& path) {
    return read(path).save;
}

namespace {

std::string describe(const std::filesystem::path& path, int errorNumber) {
    return path.string() + ": " + std::strerror(errorNumber);
}

bool writeAll(int fd, const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

namespace fs = std::filesystem;

constexpr std::size_t kMaxNameBytes = 255;  // the longest file name Linux file systems take
constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::size_t kTemporaryRandomChars = 6;  // mkstemp's XXXXXX
constexpr int kMaxLinkHops = 40;                  // as the kernel allows when opening
// A save takes milliseconds; a temporary file this old belongs to a save that was killed.
constexpr auto kStaleTemporaryAge = std::chrono::minutes(1);

constexpr std::string_view kKeptMark = ".unreadable";

// Files beside the save are named after it, its name cut short where the whole name plus
// `suffixBytes` would be too long for the file system.
std::string nameBeside(const fs::path& path, std::size_t suffixBytes) {
    std::string name = path.filename().string();
    name.resize(std::min(name.size(), kMaxNameBytes - suffixBytes));
    return name;
}

std::string temporaryPrefix(const fs::path& path) {
    return nameBeside(path, kTemporaryMark.size() + kTemporaryRandomChars) + std::string(kTemporaryMark);
}

// The name of the `turn`th file kept aside: save.json.unreadable, save.json.unreadable-2, ...
fs::path keptPath(const fs::path& path, int turn) {
    std::string suffix(kKeptMark);
    if (turn > 1) suffix += "-" + std::to_string(turn);
    return path.parent_path() / (nameBeside(path, suffix.size()) + suffix);
}

// Renames, but never over anything `to` names (EEXIST then). Returns the error, or 0.
int renameNoReplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system that takes no such flag: a new link fails just the same on a name taken.
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    if (::unlink(from.c_str()) == 0) return 0;
    const int error = errno;
    ::unlink(to.c_str());
    return error;
}

bool isTemporaryName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + kTemporaryRandomChars || !name.starts_with(prefix)) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

// Removes what killed saves left in `folder`; a younger one may be another process's save in
// progress and stays.
void removeStaleTemporaries(const fs::path& folder, const std::string& prefix) {
    std::error_code error;
    const auto now = fs::file_time_type::clock::now();
    for (auto it = fs::directory_iterator(folder, error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        if (!isTemporaryName(it->path().filename().string(), prefix)) continue;
        std::error_code ignored;
        if (it->symlink_status(ignored).type() != fs::file_type::regular) continue;
        const auto written = fs::last_write_time(it->path(), ignored);
        if (!ignored && now - written >= kStaleTemporaryAge) fs::remove(it->path(), ignored);
    }
}

// The file that `path` finally names once symbolic links are followed (it may not exist yet),
// so that a linked save keeps its link and the file behind it gets the progress.
std::optional<fs::path> followLinks(fs::path path, std::string& failure) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info{};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            failure = path.string() + ": " + error.message();
            return std::nullopt;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    failure = describe(path, ELOOP);
    return std::nullopt;
}

// Renaming over a device, a pipe or a folder would put a plain file in its place.
std::string refusalToReplace(const fs::path& path) {
    struct stat info{};
    if (path.filename().empty()) return path.string() + ": not a regular file";
    if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT ? std::string() : describe(path, errno);
    return S_ISREG(info.st_mode) ? std::string() : path.string() + ": not a regular file";
}

// Writes the bytes to a fresh file beside `path`, flushes them to disk and renames it over
// `path`, so a reader sees the old file or the new one, never half of one. Returns the error, or
// an empty string on success; the temporary file is gone either way.
std::string replaceAtomically(const fs::path& requested, const std::string& bytes) {
    std::string failure;
    const std::optional<fs::path> resolved = followLinks(requested, failure);
    if (!resolved) return failure;
    const fs::path& path = *resolved;
    failure = refusalToReplace(path);
    if (!failure.empty()) return failure;

    const fs::path folder = path.has_parent_path() ? path.parent_path() : ".";
    const std::string prefix = temporaryPrefix(path);
    removeStaleTemporaries(folder, prefix);
    std::string pattern = (folder / (prefix + std::string(kTemporaryRandomChars, 'X'))).string();
    // Failures name the save file: the temporary one is no name the player knows.
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return describe(path, errno);
    const fs::path temporary = pattern;

    int error = 0;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return describe(path, error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
        ::unlink(temporary.c_str());
        return describe(path, error);
    }
    // Make the rename itself durable; a folder that cannot be synced still holds the new file.
    if (const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY); dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

void logLine(const std::string& line) noexcept {
    try {
        std::cerr << line + "\n" << std::flush;
    } catch (...) {  // nowhere left to report to
    }
}

void logFailure(const std::string& reason) noexcept {
    try {
        logLine(std::string(kWriteFailurePrefix) + reason);
    } catch (...) {  // no memory left even for the line
    }
}

// Runs a save step, logging what it throws as its failure; false then.
template <class Step>
bool logThrown(Step step) noexcept {
    try {
        return step();
    } catch (const std::exception& e) {
        logFailure(e.what());
    } catch (...) {
        logFailure("unknown error");
    }
    return false;
}

}  // namespace

bool keepAside(const std::filesystem::path& requested, const std::optional<FileIdentity>& file) {
    if (!file) return true;
    return logThrown([&] {
        std::string unused;
        const std::optional<fs::path> path = followLinks(requested, unused);
        struct stat info{};
        // Gone or replaced since the start, or out of reach (where the save then fails by
        // itself): nothing of the player's is lost here.
        if (!path || ::lstat(path->c_str(), &info) != 0 || !S_ISREG(info.st_mode) || identityOf(info) != *file)
            return true;
        int error = EEXIST;
        for (int turn = 1; turn <= kMaxKeptFiles && error == EEXIST; ++turn) {
            const fs::path kept = keptPath(*path, turn);
            error = renameNoReplace(*path, kept);
            if (error == 0) {
                logLine("Tallowmere: " + requested.string() + " could not be read; it is kept as " + kept.string());
                return true;
            }
        }
        logFailure(requested.string() + " could not be read, nor kept aside: " + std::strerror(error));
        return false;
    });
}

void write(const SaveFile& file, const std::filesystem::path& path) {
    logThrown([&] {
        std::error_code error;
        if (path.has_parent_path()) {
            std::filesystem::create_directories(path.parent_path(), error);
            if (error) {
                logFailure(path.parent_path().string() + ": " + error.message());
                return false;
            }
        }
        const std::string reason = replaceAtomically(path, encode(file));
        if (!reason.empty()) logFailure(reason);
        return reason.empty();
    });
}

}  // namespace SaveStore

}  // namespace ostrevan
