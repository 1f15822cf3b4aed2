// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shift-JIS (CP932) string routines that work character by character.
//
// A character is one byte, or two bytes when the first is a lead byte and the
// next byte exists and is not NUL (so a lead byte at the very end of a text is a
// one-byte character). Places are 0-based byte offsets into the text (size_t,
// as std::string_view counts); character positions are CharIndex (MbPos,
// MbCopy) and byte positions ByteColumn (MbPosEnd), both 1-based with 0 for
// none. Every count is a size_t, so a line of any length is counted right.
// A match never starts on a trail byte, so separators such as "[" or "\" are
// never found inside a kana or kanji.

#include <cstddef>
#include <string>
#include <string_view>

#include "components/Positions.h"

namespace tovix {

// The character at `place` is a double-byte character.
bool IsDoubleByteChar(std::string_view text, size_t place);

// The first character boundary at or after `target`, walked to from the
// character boundary `boundary` (at most `target`); plain ASCII goes eight
// bytes at a time. Deciding a boundary reads the byte after it.
size_t BoundaryAtOrAfter(std::string_view text, size_t boundary, size_t target);

// Steps `place` over one character and returns its byte count; 0 at the end.
size_t NextChar(std::string_view text, size_t& place);

// Compares the characters at the two places (both must hold one). Two
// double-byte characters compare as 2-byte strings, otherwise the first bytes
// compare. On equality both places step over their character. Returns <0, 0, >0.
int CompareChar(std::string_view a, size_t& placeA, std::string_view b, size_t& placeB);

// True when `pattern`, compared character by character, stands at `place`.
bool StartsWithText(std::string_view text, size_t place, std::string_view pattern);

// Changes the case of the character at `place` (a double-byte one only when
// `doubleByte` is set), steps over it and returns its byte count; 0 at the end.
size_t ChangeCharCase(std::string& text, size_t& place, bool upper, bool doubleByte);

// Walks at most `n` characters (the whole text when n == 0); returns how many
// were walked and sets `bytes` to their byte count.
size_t CountCharBytes(size_t& bytes, std::string_view text, size_t n);

// The `n` characters from character position `i` (0 is taken as 1).
std::string MbCopy(std::string_view text, CharIndex i, size_t n);

// Number of characters.
size_t MbLength(std::string_view text);
size_t MbCharCount(const char* text);

// Copy with every one-byte ASCII letter lower-cased; double-byte characters
// are left alone.
std::string MbLowerCase(std::string_view text);

// Lower-cases every character in place (double-byte ones only with the flag).
std::string& MbChangeCase(std::string& text, bool doubleByte);

// Character position of the first occurrence of `pattern`; 0 if none.
CharIndex MbPos(std::string_view pattern, std::string_view text);

// Byte position of the last byte of the first matched character; 0 if none.
// For a pattern that begins with a one-byte character it is the match's own
// column, and its offset is the column less one.
ByteColumn MbPosEnd(std::string_view pattern, std::string_view text);

// 0-based byte offset of the first occurrence of `pattern` that starts on a
// character boundary; npos if none.
size_t MbFind(std::string_view pattern, std::string_view text);

// Some character of the text (up to a NUL) is double-byte.
bool HasDoubleByte(std::string_view text);

// ASCII-only case mapping of one byte, used wherever the program lower- or
// upper-cases single-byte characters.
constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
constexpr char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

}  // namespace tovix
