// The application's icon, the tile with the door: drawn at any size, and carried by every window
// of the game.
#pragma once

#include <QImage>

#include <array>

class QApplication;

namespace tallowmere {

// The size `--icon` writes.
inline constexpr int kAppIconSize = 1024;
// The sizes a window's icon is drawn at, as desktops ask for them (a title bar, a task list).
inline constexpr std::array<int, 7> kWindowIconSizes{16, 24, 32, 48, 64, 128, 256};

// The icon `sizePx` pixels square on a transparent background. Every size is drawn by the same
// steps at its own scale (sizePx / 1024), so a small one stays sharp where a scaled-down copy of
// the large one would blur. Empty for a size below 1.
QImage renderAppIcon(int sizePx = kAppIconSize);

// Gives every window of `app`, present and future, and the alerts they open the icon at each of
// the window sizes, drawn at that many pixels and in the screen's own pixels as well (16 and 20
// pixels for 16 points at 125 %): a desktop picks by pixels, scaled with the game or not. The
// icon is drawn once the first window has shown its first frame, one size per turn of the event
// loop, so the first frame never waits for it.
void setWindowIconAfterFirstFrame(QApplication& app);

}  // namespace tallowmere
