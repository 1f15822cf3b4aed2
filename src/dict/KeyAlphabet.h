// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The alphabets of the entry keys. An English-Japanese key is two of the
// letters a .. z, a Japanese-English key two of the 45 initial kana; the same
// alphabet numbers the part files (a = 1 .. z = 26, あ = 1 .. ん = 45) and
// orders the key lines inside each block of the table file.
// Characters are CP932 bytes: one byte per letter, two per kana.

#include <string_view>

#include "dict/Direction.h"

namespace tovix {

// Number of characters in the alphabet: 26 or 45; 0 without a direction.
int AlphabetSize(Direction direction);

// Bytes of one alphabet character (1 or 2) and of an entry key (2 or 4).
int KeyCharBytes(Direction direction);
int KeyBytes(Direction direction);

// The whole alphabet in order, each character KeyCharBytes long.
std::string_view Alphabet(Direction direction);

// The character at 1-based `position`; empty outside 1 .. AlphabetSize.
std::string_view AlphabetChar(Direction direction, int position);

// 1-based position of `ch` (the bytes of exactly one character) in the
// alphabet; 0 when it is not one of them.
int AlphabetPosition(Direction direction, std::string_view ch);

// The part number that an entry key selects: the position of its first
// character, 0 when that character has none (the loaded part then stays).
int PartNumber(Direction direction, std::string_view key);

// The key of a block marker line, "**" or "＊＊", which never equals an
// entry key.
std::string_view BlockMarkerKey(Direction direction);

}  // namespace tovix
