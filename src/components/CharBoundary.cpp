// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/CharBoundary.h"

#include "platform/Cp932.h"

namespace tovix {

// A byte that is not a lead byte ends a character, alone or as a trail byte,
// so a boundary follows it; from there to `place` every byte is a lead byte,
// and they pair into characters.
bool IsCharBoundary(std::string_view text, size_t known, size_t place) {
    size_t start = place;
    while (start > known && IsLeadByte(text[start - 1])) {
        --start;
    }
    // A lead byte before a NUL is a character of its own.
    return (place - start) % 2 == 0 || text[place] == '\0';
}

}  // namespace tovix
