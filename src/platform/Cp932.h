// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Code page 932 (Shift-JIS, Microsoft table) conversion.
//
// Every dictionary, settings and log text of the program is a CP932 byte string;
// these functions are the only places where it meets Unicode: for drawing, for
// reading the search field and for messages on a UTF-8 terminal.
// Decoding never fails: bytes that are not CP932 become U+FFFD. Encoding maps
// the usual look-alikes (U+301C, U+2212, U+2014 ...) to their CP932 codes and
// anything else that CP932 lacks to "?".
// Stored text must never be re-encoded: CP932 has duplicate codes, so a round
// trip through Unicode is not byte-exact.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tovix {

// Lead byte of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
constexpr bool IsLeadByte(char c) {
    return IsLeadByte(static_cast<unsigned char>(c));
}

// Texts of any length: a long one is converted in pieces of at most
// `pieceUnits` bytes or UTF-16 units, cut between characters (tests choose
// small pieces).
inline constexpr size_t kConvertPieceUnits = size_t{1} << 28;

std::u16string Cp932ToUtf16(std::string_view cp932, size_t pieceUnits = kConvertPieceUnits);
std::string Cp932ToUtf8(std::string_view cp932, size_t pieceUnits = kConvertPieceUnits);
std::string Utf16ToCp932(std::u16string_view utf16, size_t pieceUnits = kConvertPieceUnits);
std::string Utf8ToCp932(std::string_view utf8, size_t pieceUnits = kConvertPieceUnits);

// The CP932 form of a text that must be matched exactly (a text to search
// for), or nothing when one of its characters has no CP932 form, not even a
// look-alike: such a text cannot stand in any CP932 line, and its "?" would
// match question marks. Malformed UTF-8 has no form either.
std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8);

// A CP932 literal written in the source as UTF-8, converted once: for the
// kana, markers and separators that are compared with dictionary text.
#define TOVIX_CP932(utf8_literal)                                                \
    ([]() -> const std::string& {                                                \
        static const std::string converted = ::tovix::Utf8ToCp932(utf8_literal); \
        return converted;                                                        \
    }())

}  // namespace tovix
