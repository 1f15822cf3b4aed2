// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key tables of the text view: which scroll command or caret movement a
// key with its shift state stands for. The shift state is compared exactly.

#include <optional>

#include "components/BigView/Model/ViewTypes.h"

namespace tovix {

enum class ViewKey {
    Other,
    Up,
    Down,
    Left,
    Right,
    PageUp,
    PageDown,
    Home,
    End,
    Space,
    B,
    D,
    E,
    S,
    T,
    X
};

// The set of Shift, Alt and Ctrl held with a key.
using TShiftState = unsigned;
inline constexpr TShiftState kNoShift = 0;
inline constexpr TShiftState kShift = 1;
inline constexpr TShiftState kAlt = 2;
inline constexpr TShiftState kCtrl = 4;

// The vertical table (used when the vertical bar is shown).
std::optional<ScrollCode> VerticalKeyCommand(ViewKey key, TShiftState shift);
// The horizontal table (used when the horizontal bar is shown).
std::optional<ScrollCode> HorizontalKeyCommand(ViewKey key, TShiftState shift);

enum class CaretMove {
    Up,
    Down,
    Left,
    Right,
    PageUp,
    PageDown,
    LineStart,
    LineEnd,
    TextStart,
    TextEnd
};

struct CaretKey {
    CaretMove move;
    bool extend;  // a shifted row: the selection grows
};

// The caret table (used with a caret); the shifted rows only when the user
// may select.
std::optional<CaretKey> FindCaretKey(ViewKey key, TShiftState shift, bool select);

}  // namespace tovix
