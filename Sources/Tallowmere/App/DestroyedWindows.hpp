// Windows that another X client destroys: the game treats them as closed.
#pragma once

class QApplication;

namespace tallowmere {

// From here on, a top-level window whose native window another client destroys (a desktop
// tool, `xdotool windowclose`) is closed as if the player had closed it, so the last one
// going still quits. Qt's own unmapping and destroying of the vanished window then fail
// harmlessly (Qt notes the errors in its xcb debug log only). Elsewhere than on X11 it does
// nothing.
void closeWindowsDestroyedElsewhere(QApplication& app);

}  // namespace tallowmere
