#pragma once
// How the search field's text becomes an entry key, and the romaji tail
// conversion of the Japanese-English search field. Texts are CP932 bytes.

#include <optional>
#include <string>
#include <string_view>

namespace tovix {

// True for the 40 single-byte characters of the digit and symbol keys, and
// the at sign.
bool IsSignChar(char c);

// The English-Japanese key (2 bytes, lower case, possibly empty) of a search
// text: hyphens and apostrophes do not count; a one-letter text, or a letter followed by a
// blank or a sign, searches "<letter>a"; a text that begins with a sign
// searches "aa".
std::string EngSearchKey(std::string_view text);

// The Japanese-English key (at most 4 bytes, folded) of a search text: a
// single kana searches "<kana>あ".
std::string JpnSearchKey(std::string_view text);

// The text with its romaji tail turned into kana: the tail runs from the
// first letter (of either case) or "-" to the end and must equal a romaji key
// as a whole. Nothing when the text has no such tail or the tail is no key.
std::optional<std::string> ConvertRomajiTail(std::string_view text);

}  // namespace tovix
