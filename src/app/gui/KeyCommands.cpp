// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/KeyCommands.h"

namespace tovix {
namespace {

enum class ShiftRule {
    Any,         // every state (but Alt alone, which never matches)
    None,        // no modifier
    OtherState,  // neither Shift alone nor Ctrl alone
    Shift,
    Ctrl,
};

// Up to two actions, run in order; the second may be empty.
using Actions = std::array<KeyAction, 2>;

struct KeyRow {
    int firstKey;
    int lastKey;  // rows of F1 .. F9 cover a range; the button follows the key
    ShiftRule shift;
    Actions field;
    Actions view;
    Actions button;
};

constexpr Actions Run(KeyCommand command) {
    return {KeyAction{command, 0}, KeyAction{}};
}

constexpr Actions Press(int button) {
    return {KeyAction{key_command::Button, button}, KeyAction{}};
}

constexpr Actions Nothing() {
    return {};
}

constexpr Actions kFocusField = Run(key_command::FocusField);
// Copy the search text, then empty the field.
constexpr Actions kCut = {KeyAction{key_command::Button, 21},
                          KeyAction{key_command::EmptyField, 0}};
// Copy the search text, then switch to another running copy.
constexpr Actions kCopyAndSwitch = {KeyAction{key_command::Button, 21},
                                    KeyAction{key_command::Button, 22}};

// Shift+F10 has no row: it does nothing anywhere.
constexpr KeyRow kRows[] = {
    {Qt::Key_Escape, Qt::Key_Escape, ShiftRule::Any, Run(key_command::EmptyField), kFocusField,
     kFocusField},
    {Qt::Key_Return, Qt::Key_Return, ShiftRule::Any, Press(9), kFocusField, kFocusField},
    {Qt::Key_Delete, Qt::Key_Delete, ShiftRule::Any, Run(key_command::EmptyField), kFocusField,
     kFocusField},
    {Qt::Key_Backspace, Qt::Key_Backspace, ShiftRule::Any, Nothing(), kFocusField, kFocusField},
    {Qt::Key_Insert, Qt::Key_Insert, ShiftRule::Any, Run(key_command::PopupMenu),
     Run(key_command::PopupMenu), Run(key_command::PopupMenu)},
    {Qt::Key_F1, Qt::Key_F9, ShiftRule::OtherState, Press(1), Press(1), Press(1)},
    {Qt::Key_F1, Qt::Key_F9, ShiftRule::Shift, Press(11), Press(11), Press(11)},
    {Qt::Key_F1, Qt::Key_F9, ShiftRule::Ctrl, Press(21), Press(21), Press(21)},
    {Qt::Key_F10, Qt::Key_F10, ShiftRule::None, Press(10), Press(10), Press(10)},
    {Qt::Key_F10, Qt::Key_F10, ShiftRule::Ctrl, Press(30), Nothing(), Press(30)},
    {Qt::Key_BracketLeft, Qt::Key_BracketLeft, ShiftRule::Ctrl, Run(key_command::ToggleMaximized),
     Run(key_command::ToggleMaximized), Run(key_command::ToggleMaximized)},
    {Qt::Key_F, Qt::Key_F, ShiftRule::Ctrl, Run(key_command::Find), Run(key_command::Find),
     Run(key_command::Find)},
    {Qt::Key_N, Qt::Key_N, ShiftRule::Ctrl, Run(key_command::FindNext), Run(key_command::FindNext),
     Run(key_command::FindNext)},
    {Qt::Key_P, Qt::Key_P, ShiftRule::Ctrl, Run(key_command::FindPrior),
     Run(key_command::FindPrior), Run(key_command::FindPrior)},
    {Qt::Key_X, Qt::Key_X, ShiftRule::Ctrl, kCut, Nothing(), kCut},
    {Qt::Key_C, Qt::Key_C, ShiftRule::Ctrl, Press(21), Nothing(), Press(21)},
    // The search field itself never pastes: Ctrl+V there is the paste command.
    {Qt::Key_V, Qt::Key_V, ShiftRule::Ctrl, Press(24), Nothing(), Press(23)},
    {Qt::Key_W, Qt::Key_W, ShiftRule::Ctrl, Press(22), Press(22), Press(22)},
    {Qt::Key_A, Qt::Key_A, ShiftRule::Ctrl, Press(9), Press(9), Press(9)},
    {Qt::Key_I, Qt::Key_I, ShiftRule::Ctrl, Run(key_command::ToggleFunctionKeys),
     Run(key_command::ToggleFunctionKeys), Run(key_command::ToggleFunctionKeys)},
    {Qt::Key_K, Qt::Key_K, ShiftRule::Ctrl, kCopyAndSwitch, kCopyAndSwitch, kCopyAndSwitch},
    {Qt::Key_L, Qt::Key_L, ShiftRule::Ctrl, Run(key_command::ClearAndPaste),
     Run(key_command::ClearAndPaste), Run(key_command::ClearAndPaste)},
    {Qt::Key_T, Qt::Key_T, ShiftRule::Ctrl, Run(key_command::TopEntry), Nothing(),
     Run(key_command::TopEntry)},
    {Qt::Key_B, Qt::Key_B, ShiftRule::Ctrl, Run(key_command::LastEntry), Nothing(),
     Run(key_command::LastEntry)},
    {Qt::Key_S, Qt::Key_S, ShiftRule::Ctrl, Run(key_command::PageBack), Nothing(),
     Run(key_command::PageBack)},
    {Qt::Key_D, Qt::Key_D, ShiftRule::Ctrl, Run(key_command::PageForward), Nothing(),
     Run(key_command::PageForward)},
};

bool Matches(ShiftRule rule, Qt::KeyboardModifiers state) {
    switch (rule) {
        case ShiftRule::Any:
            return true;
        case ShiftRule::None:
            return state == Qt::NoModifier;
        case ShiftRule::OtherState:
            return state != Qt::ShiftModifier && state != Qt::ControlModifier;
        case ShiftRule::Shift:
            return state == Qt::ShiftModifier;
        case ShiftRule::Ctrl:
            return state == Qt::ControlModifier;
    }
    return false;
}

const Actions& ActionsAt(const KeyRow& row, KeyPlace place) {
    switch (place) {
        case KeyPlace::Field:
            return row.field;
        case KeyPlace::View:
            return row.view;
        case KeyPlace::Button:
            break;
    }
    return row.button;
}

}  // namespace

std::vector<KeyAction> KeyActions(KeyPlace place, int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers state =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    std::vector<KeyAction> actions;
    if (state == Qt::AltModifier) {
        return actions;
    }
    if (key == Qt::Key_Enter) {
        key = Qt::Key_Return;
    }
    for (const KeyRow& row : kRows) {
        if (key < row.firstKey || key > row.lastKey || !Matches(row.shift, state)) {
            continue;
        }
        for (KeyAction action : ActionsAt(row, place)) {
            if (action.command == nullptr) {
                continue;
            }
            if (action.command == key_command::Button && row.firstKey != row.lastKey) {
                action.argument += key - row.firstKey;
            }
            actions.push_back(action);
        }
    }
    return actions;
}

}  // namespace tovix
