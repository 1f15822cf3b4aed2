// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the search field's text becomes an entry key, and the romaji tail
// conversion of the Japanese-English search field. Texts are CP932 bytes.

#include <optional>
#include <string>
#include <string_view>

#include "dict/Direction.h"

namespace tovix {

// True for the 40 single-byte characters of the digit and symbol keys, and
// the at sign.
bool IsSignChar(char c);

// Hyphens and apostrophes, which the dictionary sorts without and which do
// not count in an English-Japanese key.
bool IgnoredInKey(char c);

// The English-Japanese key (2 bytes, lower case, possibly empty) of a search
// text: hyphens and apostrophes do not count; a one-letter text, or a letter followed by a
// blank or a sign, searches "<letter>a"; a text that begins with a sign
// searches "aa".
std::string EngSearchKey(std::string_view text);

// True when the key of the text stands for too little of it, so that the
// search compares the whole part: an English text with a hyphen or
// apostrophe and at most one other character ("A-", "o'", "-"), whose
// continuations the dictionary files under every second letter ("A-bomb"
// under ab, "o'clock" under oc); a Japanese text of one character, whose
// continuations lie under every second kana (っ before き in っきり, ざ before
// い in ざいく, while the key searched is つあ or さあ).
bool KeyNeedsWholePart(Direction direction, std::string_view text);

// The Japanese-English key (at most 4 bytes, folded) of a search text: a
// single kana searches "<kana>あ".
std::string JpnSearchKey(std::string_view text);

// The text with its romaji tail turned into kana: the tail runs from the
// first letter (of either case) or "-" to the end and must equal a romaji key
// as a whole, or, with the input-method n, be turned by ImeStyleN (Romaji.h).
// Nothing when the text has no such tail or the tail is no key.
std::optional<std::string> ConvertRomajiTail(std::string_view text, bool imeStyleN = false);

// The Japanese-English search field after a keystroke.
struct JpnField {
    // The field's text: romaji tail converted, katakana turned hiragana (the
    // form of the readings) unless the text holds a kanji, whose written form
    // keeps its katakana.
    std::string text;
    // What is searched: the text, or with the input-method n a trailing n or
    // nn that waits for the next letter read as ん (かn finds かん).
    std::string searchText;
    // The text ends in romaji that more letters may still make a syllable of
    // (k, ky): a text that finds nothing then is not yet a miss.
    bool pending = false;
};
JpnField ConvertJpnField(std::string_view text, bool imeStyleN);

}  // namespace tovix
