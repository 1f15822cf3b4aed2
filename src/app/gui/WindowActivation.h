// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bringing the main window to the front with the keyboard focus, as another
// running copy asks when the user switches to this one; a window's normal
// state and the Ctrl+[ toggle of the main and the zoom window.

class QWidget;

namespace tovix {

// Restores the window when minimised, raises it and activates it. On X11
// without a window manager activation alone does not move the keyboard focus
// (the request carries the time of this copy's last X event, older than the
// other copy's focus change), so the focus is set at once there.
void BringToFront(QWidget& window);

// Neither minimised nor maximised (nor full screen): the state in which a
// window's place is remembered.
bool InNormalState(const QWidget& window);

// Maximises a window in the normal state; puts any other back to normal.
void ToggleMaximized(QWidget& window);

}  // namespace tovix
