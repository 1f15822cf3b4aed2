#pragma once
// Folding of Japanese-English key characters, so that words that differ only
// in voicing marks share an entry key and a part file (がっこう is filed and
// searched under かつ, ぢ under ち).
// Characters are two CP932 bytes.

#include <string>
#include <string_view>

namespace tovix {

// The folding of the first character of a key: a voiced or semi-voiced kana
// becomes the plain kana of its row (が -> か, ぱ -> は). Anything else,
// including bytes that are not one double-byte character, comes back
// unchanged.
std::string_view FoldSearchKana(std::string_view ch);

// The folding of the second character of a key after the (folded) first one:
// as the first, and besides a small kana becomes its full size (きょ -> きよ)
// and the long vowel mark the vowel of the first character (かー -> かあ),
// for the dictionary sorts them so: きょう among the きよ words, かーど
// beside かあさん.
std::string_view FoldSecondKana(std::string_view first, std::string_view second);

// The first four bytes of a search key, folded as above.
std::string FoldSearchKey(std::string_view key);

// The dictionary builder's folding: the 45 initial kana stay, the 25 voiced
// and semi-voiced kana become the plain kana of their row; every other
// character (small kana, を, katakana, kanji, single bytes) gives empty,
// meaning it contributes to no entry key.
std::string_view FoldToInitialKana(std::string_view ch);

}  // namespace tovix
