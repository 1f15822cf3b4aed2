// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's message box: a modal dialog centred on the screen with the
// icon and caption of its kind, the text (wrapped only where a line is wider
// than two thirds of the screen) and a row of buttons in
// the program's fixed order (Yes, No, OK, Cancel, Abort, Retry, Ignore, All,
// Help). The default button is OK, else Yes; Esc answers Cancel, else No, else
// OK. Help shows the help and leaves the dialog open.

#include <QString>
#include <functional>

#include "platform/Reporter.h"

class QWidget;

namespace tovix {

// Shows the message and returns the button pressed (Esc or closing the window
// gives the Esc button's result). `help` runs when Help is pressed.
MessageResult ShowMessageDialog(QWidget* parent, MessageKind kind, const QString& text,
                                MessageButtons buttons, const std::function<void()>& help = {});

QString MessageCaption(MessageKind kind);

}  // namespace tovix
