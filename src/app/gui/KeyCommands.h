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

class TForm1;

// A command of the key map, run on the window with the row's argument. A key
// command is one function here and the rows that name it.
using KeyCommand = void (*)(TForm1& window, int argument);

namespace key_command {
void EmptyField(TForm1& window, int);          // the search field becomes empty
void FocusField(TForm1& window, int);          // the search field takes the focus, caret to the end
void Button(TForm1& window, int n);            // ButtonNClick of the function-key bar
void PopupMenu(TForm1& window, int);           // the pop-up menu near the window's top left corner
void ToggleMaximized(TForm1& window, int);     // maximised, or back to normal
void Find(TForm1& window, int);                // find, with a dictionary open
void FindNext(TForm1& window, int);            // find again downwards, once a find has run
void FindPrior(TForm1& window, int);           // find again upwards, once a find has run
void ClearAndPaste(TForm1& window, int);       // the search field becomes the clipboard's text
void ToggleFunctionKeys(TForm1& window, int);  // the function-key bar shown or hidden
void TopEntry(TForm1& window, int);            // the view's first line to the top
void LastEntry(TForm1& window, int);           // the view's last entry to the top
void PageBack(TForm1& window, int);            // the view one page back
void PageForward(TForm1& window, int);         // the view one page on
}  // namespace key_command

struct KeyAction {
    KeyCommand command = nullptr;
    int argument = 0;  // with key_command::Button: the button, 1 .. 30

    bool operator==(const KeyAction&) const = default;
};

// The actions of every row that matches, in order. Key_Enter counts as
// Key_Return.
std::vector<KeyAction> KeyActions(KeyPlace place, int key, Qt::KeyboardModifiers modifiers);

}  // namespace tovix
