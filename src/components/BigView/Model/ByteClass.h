// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which part of a character a byte of Shift-JIS text is.

#include <string_view>

#include "components/Positions.h"

namespace tovix {

enum ByteKind : int { SingleByte = 0, LeadByte = 1, TrailByte = 2 };

// What byte k of `text` is, as a scan from byte 1 tells: a byte that follows
// a lead byte is a trail byte, any other byte is a lead byte when it has a
// lead-byte code, else a single byte. Beyond the text (or k = 0) the result is
// SingleByte. Only the run of lead-byte codes just before byte k is read, so
// the cost does not grow with k.
int ByteClass(std::string_view text, ByteColumn k);

}  // namespace tovix
