// Windows that another X client destroys: the game treats them as closed.
#pragma once

class QApplication;
class QWidget;

namespace tallowmere {

// From here on, a top-level window whose native window another client destroys (a desktop
// tool, `xdotool windowclose`) is closed as if the player had closed it, so the last one
// going still quits. Qt's own unmapping and destroying of the vanished window then fail
// harmlessly (Qt notes the errors in its xcb debug log only). Elsewhere than on X11 it does
// nothing.
void closeWindowsDestroyedElsewhere(QApplication& app);

// The shown top-level window whose present native window `xcbEvent` (an xcb_generic_event_t)
// reports destroyed, or null. Only the server's own DestroyNotify counts: any client may send a
// window one of its making. A native window Qt replaced itself (it remakes a tooltip's each time
// the tip shows) names nothing. Always null in a build without X11.
QWidget* windowDestroyedBy(const void* xcbEvent);

}  // namespace tallowmere
