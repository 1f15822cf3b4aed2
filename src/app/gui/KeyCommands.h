// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's key map as data: which commands a key press runs, by the
// control that has the focus (the search field, the dictionary view or a
// button of the function-key bar). Every row that matches a key runs, in
// table order.
//
// Shift states are exact: Ctrl is Ctrl alone, Shift is Shift alone. A key
// with Alt alone runs nothing, so that Alt combinations reach the menu and
// the desktop untouched. Any other combination, Ctrl+Shift say, counts as no
// modifier for the rows of F1 .. F9.

#include <Qt>
#include <array>
#include <vector>

namespace tovix {

enum class KeyPlace { Field, View, Button };

enum class KeyCommand {
    None,
    EmptyField,          // the search field becomes empty
    FocusField,          // the search field takes the focus, caret to the end
    Button,              // ButtonNClick of the function-key bar
    PopupMenu,           // the pop-up menu near the window's top left corner
    ToggleMaximized,     // maximised, or back to normal
    Find,                // find, with a dictionary open
    FindNext,            // find again downwards, once a find has run
    FindPrior,           // find again upwards, once a find has run
    ClearAndPaste,       // the search field becomes the clipboard's text
    ToggleFunctionKeys,  // the function-key bar shown or hidden
    TopEntry,            // the view's first line to the top
    LastEntry,           // the view's last entry to the top
    PageBack,            // the view one page back
    PageForward,         // the view one page on
};

struct KeyAction {
    KeyCommand command = KeyCommand::None;
    int button = 0;  // with KeyCommand::Button: 1 .. 30

    bool operator==(const KeyAction&) const = default;
};

// The actions of every row that matches, in order. Key_Enter counts as
// Key_Return.
std::vector<KeyAction> KeyActions(KeyPlace place, int key, Qt::KeyboardModifiers modifiers);

}  // namespace tovix
