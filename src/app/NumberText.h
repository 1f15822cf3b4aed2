// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Integers as the settings file and the options window write them: an
// optional sign, then decimal digits or hexadecimal ones after "$" or "0x"
// ("$00FF0000", "0x1F", "-12").

#include <cstdint>
#include <optional>
#include <string_view>

namespace tovix {

struct NumberText {
    bool negative = false;
    std::uint64_t magnitude = 0;
};

// The sign and magnitude of `text`; nothing when it is not such an integer
// (blanks included) or its magnitude does not fit 64 bits.
std::optional<NumberText> ParseNumberText(std::string_view text);

}  // namespace tovix
