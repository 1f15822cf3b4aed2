#pragma once
// Bringing the main window to the front with the keyboard focus, as another
// running copy asks when the user switches to this one.

class QWidget;

namespace tovix {

// Restores the window when minimised, raises it and activates it. On X11
// without a window manager activation alone does not move the keyboard focus
// (the request carries the time of this copy's last X event, older than the
// other copy's focus change), so the focus is set at once there.
void BringToFront(QWidget& window);

}  // namespace tovix
