// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dictionary direction. The main window holds at most one of the two; none
// means no direction has been chosen.

#include <string_view>

namespace tovix {

enum class Direction { None, English, Japanese };

// "Eng" or "Jpn", the prefix of the settings sections and handler names of a
// direction; empty for None.
constexpr std::string_view DirectionPrefix(Direction d) {
    return d == Direction::English ? "Eng" : d == Direction::Japanese ? "Jpn" : "";
}

}  // namespace tovix
