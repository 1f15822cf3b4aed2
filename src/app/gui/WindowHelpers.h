// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program's fixed dialogs share: centring on the screen, the dialogs' own font, and
// buttons that behave as the desktop's buttons do (Enter on a focused button presses it, but Enter
// elsewhere in the dialog presses none).

#include <QPushButton>

namespace tovix {

// Centres the window on the primary screen.
void CentreOnScreen(QWidget& window);

// The dialogs' font, "System" about 19 pixels high: the desktop's font at a
// size whose lines fit the dialogs' 20-pixel rows.
QFont DialogFont();

class DialogButton : public QPushButton {
    Q_OBJECT

  public:
    // A button of `width` x 25 pixels at (x, y), named `name`.
    DialogButton(QWidget* parent, const char* name, const char* caption, int x, int y, int width);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tovix
