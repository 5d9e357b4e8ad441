// What the process does with its command line: render one room or the icon to a PNG file, or
// start the game.
#pragma once

#include <QImage>

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tallowmere::CommandLine {

// `--shot ROOM OUT.png [FLAGS] [dark]`
struct Shot {
    std::int64_t room = 1;            // 1 ... 50
    std::string path;                 // as given
    std::vector<std::string> flags;   // extra flags, empty pieces dropped
    bool dark = false;
};

// `--icon OUT.png`
struct Icon {
    std::string path;
};

// Anything else.
struct RunApplication {};

using Command = std::variant<RunApplication, Shot, Icon>;

// `args` holds the program name first, as argv does.
Command parse(const std::vector<std::string>& args);

// The room a shot shows: unparsable gives 1, and the rest is clamped to 1 ... 50.
std::int64_t shotRoom(std::string_view text);

// The room as the game draws it, 1000 x 640 pixels.
QImage renderRoomShot(const Shot& shot);

// Encodes `image` as PNG and writes it to `path`. Returns the reason on failure.
std::optional<std::string> writePng(const QImage& image, const std::string& path);

// Runs an offline mode (a GUI application object must exist), reporting on `out` and `err`;
// returns the exit status.
int runShot(const Shot& shot, std::ostream& out, std::ostream& err);
int runIcon(const Icon& icon, std::ostream& out, std::ostream& err);

// The process entry: the offline modes render without a display; anything else starts the game.
int run(int argc, char** argv);

}  // namespace tallowmere::CommandLine
