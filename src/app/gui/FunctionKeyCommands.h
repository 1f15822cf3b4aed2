// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands of the function-key bar and of the view's pop-up menu as one
// table: one row per button, Button1Click .. Button30Click in bar order, with
// the pop-up item that runs the same command. The bar takes its captions and
// places from the rows, the pop-up menu its items, and a click, a function
// key or a pop-up item runs the row's command (WindowCommand.h): a public
// member of TForm1, with the row's argument where it takes one.

#include <Qt>
#include <span>
#include <string_view>

#include "app/gui/WindowCommand.h"

namespace tovix {

// The key a button stands for: F1 .. F10, alone or with Shift or Ctrl. The
// bar shows the plain keys in its first row, Shift+ in the second, Ctrl+ in
// the third.
struct FunctionKey {
    int number;                     // 1 .. 10
    Qt::KeyboardModifier modifier;  // Qt::NoModifier, Qt::ShiftModifier or Qt::ControlModifier
};

struct FunctionKeyCommand {
    const char* name;          // the button's handler, "Button5Click"
    const char* popupName;     // the pop-up item's handler, "PopBtn05Click"; "" for no item
    const char* caption;       // the button's caption; "" leaves the button blank
    const char* popupCaption;  // the pop-up item's caption, "F05 語写"
    FunctionKey key;
    WindowCommand command;  // nullptr: the button does nothing
};

// Every button, Button1Click first.
std::span<const FunctionKeyCommand> FunctionKeyCommands();

// The row with the button or pop-up handler `name`; nullptr when none has it.
const FunctionKeyCommand* FindFunctionKeyCommand(std::string_view name);

// The component name of a handler: "Button5Click" gives "Button5".
std::string_view ComponentName(std::string_view handlerName);

}  // namespace tovix
