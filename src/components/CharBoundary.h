// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a byte of a CP932 text begins a character, told from the bytes just
// before it: for searches that find a candidate by its bytes (memchr) and
// then check that it is not the trail byte of a double-byte character.
// Characters are as in MbString.h (a lead byte and the next byte when that is
// not NUL).

#include <cstddef>
#include <string_view>

namespace tovix {

// Whether `place` is a character boundary, given that `known` (at or before
// it) is one. Reads only the lead bytes just before `place`, back to `known`
// at most; when it is not one, place + 1 is.
bool IsCharBoundary(std::string_view text, size_t known, size_t place);

}  // namespace tovix
