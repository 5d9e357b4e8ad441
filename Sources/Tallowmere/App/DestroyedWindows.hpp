// Windows that another X client destroys: the game treats them as closed.
#pragma once

class QApplication;

namespace tallowmere {

// From here on, a top-level window whose native window another client destroys (a desktop
// tool, `xdotool windowclose`) is closed as if the player had closed it, so the last one
// going still quits. Qt's own later requests on the vanished window fail harmlessly; their
// errors are not reported. Elsewhere than on X11 it does nothing.
void closeWindowsDestroyedElsewhere(QApplication& app);

}  // namespace tallowmere
