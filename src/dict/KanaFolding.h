// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Folding of Japanese-English key characters to the 45 key kana, the same in
// the table builder, the split step, the lookup and entry editing, so that an
// entry is keyed where the dictionary collation sorts it and the search looks
// there: every kana (hiragana or katakana, small, voiced, ゔ ヴ ヵ ヶ) becomes
// the key kana it sorts as (がっこう is keyed かつ, ぢ ち, っちょ つち, ヴぃ うい);
// ゐ ゑ を sort after every わ and before ん. Characters are two CP932 bytes.

#include <string>
#include <string_view>

namespace tovix {

// The key kana of a kana; empty for any other character (and for bytes that
// are not one double-byte character).
std::string_view FoldKana(std::string_view ch);

// The folding of the first character of a search key: a kana becomes its key
// kana (FoldKana); anything else comes back unchanged.
std::string_view FoldSearchKana(std::string_view ch);

// The folding of the second character of a key after the first one (as
// typed): a kana as above; after a kana, the long vowel mark becomes the
// first's vowel (かーど beside かあさん), or あ after ん, and an iteration mark
// of the first's script the first's key kana (かゝ as かか); a sign, digit or
// Latin letter, which sort before the kana, あ; a kanji, Greek or Cyrillic
// letter, which sort after them, ん. Anything else (a single byte among
// them) comes back unchanged.
std::string_view FoldSecondKana(std::string_view first, std::string_view second);

// The first four bytes of a search key, folded as above. A key whose first
// character sorts before the kana (a sign, a mark standing alone) is "ああ",
// whose first is ゐ, ゑ or を "わん".
std::string FoldSearchKey(std::string_view key);

// The builder's key of a headword: its first two characters folded as the
// search folds them. The first is a key kana, or empty when the headword does
// not begin with a kana: such headwords contribute to no key (those that
// begin with a sign sort before every kana, at the start of the first part,
// where the search for them looks). The second is whatever FoldSecondKana
// gives, a key kana or a character that keys nothing; empty when the
// headword has one character.
struct FoldedKey {
    std::string_view first;
    std::string_view second;
};
FoldedKey FoldHeadwordKey(std::string_view head);

}  // namespace tovix
