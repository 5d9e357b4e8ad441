// A window-modal alert keeps the keys of the window it stands over, whatever activates that
// window: a click on it, the window manager, Alt+Tab back to it.
#pragma once

class QGuiApplication;
class QWindow;

namespace tallowmere {

// The shown window-modal dialog over `window` (one whose transient parents lead to it), or null.
// Where one alert stands over another, the one on top: the one that takes the keys.
QWindow* alertOver(const QWindow* window);

// From here on, whenever a window with an alert over it becomes the active window, the alert is
// activated instead, so the keys go on to reach it. Qt on X11 hands the activation of a blocked
// window on to the dialog that blocks it only when that dialog is application-modal: for a
// window-modal one it names the blocked window itself as the blocker and keeps the activation
// there, where every key is dropped until the player clicks the alert. Windows without an alert
// are left alone.
void keepKeysWithAlerts(QGuiApplication& app);

}  // namespace tallowmere
