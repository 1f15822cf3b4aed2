#pragma once
// Folding of Japanese-English key characters, so that words that differ only
// in voicing marks share an entry key and a part file (がっこう is filed and
// searched under かつ, ぢ under ち).
// Characters are two CP932 bytes.

#include <string>
#include <string_view>

namespace tovix {

// The search's folding of one character of a key: a voiced or semi-voiced
// kana becomes the plain kana of its row (が -> か, ぱ -> は). As the second
// character of a key the small kana っ ゃ ぃ ゅ ぇ ょ also become their full
// size. Anything else, including bytes that are not one double-byte
// character, comes back unchanged.
std::string_view FoldSearchKana(std::string_view ch, bool secondChar);

// The first four bytes of a search key, its first two and its next two
// bytes folded separately.
std::string FoldSearchKey(std::string_view key);

// The dictionary builder's folding: the 45 initial kana stay, the 25 voiced
// and semi-voiced kana become the plain kana of their row; every other
// character (small kana, を, katakana, kanji, single bytes) gives empty,
// meaning it contributes to no entry key.
std::string_view FoldToInitialKana(std::string_view ch);

}  // namespace tovix
