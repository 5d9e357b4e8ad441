// Asks the desktop for the dark variant of a window's frame, where it honours such a request.
#pragma once

class QApplication;
class QWidget;

namespace tallowmere {

// On X11 this sets the property window managers read for a dark title bar (the GTK theme
// variant "dark") on the window's native handle, creating the handle if need be; call it
// before the window is first shown so the frame is dark from the start. Elsewhere (offscreen,
// Wayland) it does nothing. Returns whether the request was made.
bool requestDarkFrame(QWidget& window);

// From here on, every window and dialog of `app` (the game's windows, its alerts) asks for the
// dark frame as it is shown, before the desktop first draws its frame.
void requestDarkFrames(QApplication& app);

}  // namespace tallowmere
