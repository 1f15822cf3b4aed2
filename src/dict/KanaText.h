// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small text routines shared by the dictionary tools and entry editing. They
// work on CP932 text character by character, so a trail byte is never taken
// for a character of its own.

#include <string>
#include <string_view>

namespace tovix {

// Every hiragana replaced by the katakana of the same sound and size
// (がっこう -> ガッコウ, ゎ -> ヮ, ん -> ン); ゐ and ゑ, katakana, kanji, ASCII
// and every other character are copied unchanged.
std::string HiraToKata(std::string_view text);

// Every katakana that has a hiragana in CP932 replaced by it (コーヒー ->
// こーひー, ヽ -> ゝ); ヴ, ヵ, ヶ, the long vowel mark and every other character
// are copied unchanged.
std::string KataToHira(std::string_view text);
// The same for one character: its hiragana, or the character itself.
std::string_view KataToHiraChar(std::string_view ch);

// Whether `line` begins with `text` (whole characters), a katakana on either
// side counting as its hiragana: how a Japanese-English headword is compared
// with a reading, since the dictionary sorts and keys カミ with かみ.
bool BeginsWithKana(std::string_view line, std::string_view text);

// A kanji: a CJK ideograph, or 々, 〆, 〇 and 仝, which stand for them.
bool IsKanji(std::string_view ch);

// True when some character of the text is a kanji.
bool HoldsKanji(std::string_view text);

// The text without the blanks (single-byte spaces) at its end; a trailing TAB
// or full-width space stays.
std::string EndSpaceDelete(std::string_view text);
// The same without a copy: the leading part of `text` that EndSpaceDelete
// keeps.
std::string_view WithoutEndSpaces(std::string_view text);

// The text without its first character when that is a TAB; only one TAB is
// removed.
std::string FirstTabDelete(std::string_view text);

}  // namespace tovix
