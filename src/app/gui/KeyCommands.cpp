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
    return {KeyAction{KeyCommand::Button, button}, KeyAction{}};
}

constexpr Actions Nothing() {
    return {};
}

constexpr Actions kFocusField = Run(KeyCommand::FocusField);
// Copy the search text, then empty the field.
constexpr Actions kCut = {KeyAction{KeyCommand::Button, 21}, KeyAction{KeyCommand::EmptyField, 0}};
// Copy the search text, then switch to another running copy.
constexpr Actions kCopyAndSwitch = {KeyAction{KeyCommand::Button, 21},
                                    KeyAction{KeyCommand::Button, 22}};

// Shift+F10 has no row: it does nothing anywhere.
constexpr KeyRow kRows[] = {
    {Qt::Key_Escape, Qt::Key_Escape, ShiftRule::Any, Run(KeyCommand::EmptyField), kFocusField,
     kFocusField},
    {Qt::Key_Return, Qt::Key_Return, ShiftRule::Any, Press(9), kFocusField, kFocusField},
    {Qt::Key_Delete, Qt::Key_Delete, ShiftRule::Any, Run(KeyCommand::EmptyField), kFocusField,
     kFocusField},
    {Qt::Key_Backspace, Qt::Key_Backspace, ShiftRule::Any, Nothing(), kFocusField, kFocusField},
    {Qt::Key_Insert, Qt::Key_Insert, ShiftRule::Any, Run(KeyCommand::PopupMenu),
     Run(KeyCommand::PopupMenu), Run(KeyCommand::PopupMenu)},
    {Qt::Key_F1, Qt::Key_F9, ShiftRule::OtherState, Press(1), Press(1), Press(1)},
    {Qt::Key_F1, Qt::Key_F9, ShiftRule::Shift, Press(11), Press(11), Press(11)},
    {Qt::Key_F1, Qt::Key_F9, ShiftRule::Ctrl, Press(21), Press(21), Press(21)},
    {Qt::Key_F10, Qt::Key_F10, ShiftRule::None, Press(10), Press(10), Press(10)},
    {Qt::Key_F10, Qt::Key_F10, ShiftRule::Ctrl, Press(30), Nothing(), Press(30)},
    {Qt::Key_BracketLeft, Qt::Key_BracketLeft, ShiftRule::Ctrl, Run(KeyCommand::ToggleMaximized),
     Run(KeyCommand::ToggleMaximized), Run(KeyCommand::ToggleMaximized)},
    {Qt::Key_F, Qt::Key_F, ShiftRule::Ctrl, Run(KeyCommand::Find), Run(KeyCommand::Find),
     Run(KeyCommand::Find)},
    {Qt::Key_N, Qt::Key_N, ShiftRule::Ctrl, Run(KeyCommand::FindNext), Run(KeyCommand::FindNext),
     Run(KeyCommand::FindNext)},
    {Qt::Key_P, Qt::Key_P, ShiftRule::Ctrl, Run(KeyCommand::FindPrior), Run(KeyCommand::FindPrior),
     Run(KeyCommand::FindPrior)},
    {Qt::Key_X, Qt::Key_X, ShiftRule::Ctrl, kCut, Nothing(), kCut},
    {Qt::Key_C, Qt::Key_C, ShiftRule::Ctrl, Press(21), Nothing(), Press(21)},
    // The search field itself never pastes: Ctrl+V there is the paste command.
    {Qt::Key_V, Qt::Key_V, ShiftRule::Ctrl, Press(24), Nothing(), Press(23)},
    {Qt::Key_W, Qt::Key_W, ShiftRule::Ctrl, Press(22), Press(22), Press(22)},
    {Qt::Key_A, Qt::Key_A, ShiftRule::Ctrl, Press(9), Press(9), Press(9)},
    {Qt::Key_I, Qt::Key_I, ShiftRule::Ctrl, Run(KeyCommand::ToggleFunctionKeys),
     Run(KeyCommand::ToggleFunctionKeys), Run(KeyCommand::ToggleFunctionKeys)},
    {Qt::Key_K, Qt::Key_K, ShiftRule::Ctrl, kCopyAndSwitch, kCopyAndSwitch, kCopyAndSwitch},
    {Qt::Key_L, Qt::Key_L, ShiftRule::Ctrl, Run(KeyCommand::ClearAndPaste),
     Run(KeyCommand::ClearAndPaste), Run(KeyCommand::ClearAndPaste)},
    {Qt::Key_T, Qt::Key_T, ShiftRule::Ctrl, Run(KeyCommand::TopEntry), Nothing(),
     Run(KeyCommand::TopEntry)},
    {Qt::Key_B, Qt::Key_B, ShiftRule::Ctrl, Run(KeyCommand::LastEntry), Nothing(),
     Run(KeyCommand::LastEntry)},
    {Qt::Key_S, Qt::Key_S, ShiftRule::Ctrl, Run(KeyCommand::PageBack), Nothing(),
     Run(KeyCommand::PageBack)},
    {Qt::Key_D, Qt::Key_D, ShiftRule::Ctrl, Run(KeyCommand::PageForward), Nothing(),
     Run(KeyCommand::PageForward)},
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
            if (action.command == KeyCommand::None) {
                continue;
            }
            if (action.command == KeyCommand::Button && row.firstKey != row.lastKey) {
                action.button += key - row.firstKey;
            }
            actions.push_back(action);
        }
    }
    return actions;
}

}  // namespace tovix
