// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The zoom windows' wrap length as the options window takes it: an integer
// from 2 to 512 bytes per line, typed as text.

#include <optional>
#include <string>
#include <string_view>

namespace tovix {

inline constexpr int kMinWrapLength = 2;
inline constexpr int kMaxWrapLength = 512;

struct WrapLengthCheck {
    std::optional<int> value;  // the accepted length
    bool notInteger = false;   // refused: the text is not an integer
    bool outOfRange = false;   // refused: an integer outside 2 .. 512
};

// Reads an integer as the toolkit's integer conversion does: blanks before
// it, a sign, decimal digits or hexadecimal after "$" or "0x", nothing after;
// then checks the range.
WrapLengthCheck CheckWrapLength(std::string_view text);

}  // namespace tovix
