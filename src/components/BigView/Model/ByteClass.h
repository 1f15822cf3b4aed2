#pragma once
// Which part of a character a byte of Shift-JIS text is.

#include <string_view>

namespace tovix {

enum ByteKind : int { SingleByte = 0, LeadByte = 1, TrailByte = 2 };

// What byte k (1-based) of `text` is, scanning from byte 1: a byte that
// follows a lead byte is a trail byte, any other byte is a lead byte when it
// has a lead-byte code, else a single byte. Beyond the text (or k < 1) the
// result is SingleByte.
int ByteClass(std::string_view text, int k);

}  // namespace tovix
