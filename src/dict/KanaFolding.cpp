// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/KanaFolding.h"

#include "components/MbString.h"
#include "dict/CharMap.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

// Every hiragana and katakana of CP932 and the key kana the dictionary
// collation sorts it as at its first level (ゐ, ゑ and を sort after わ).
const CharMap& KanaToKey() {
    static const CharMap map(
        "ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとど"
        "なにぬねのはばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろゎわゐゑをん"
        "ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトド"
        "ナニヌネノハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲン"
        "ヴヵヶ",
        "ああいいううええおおかかききくくけけここささししすすせせそそたたちちつつつててとと"
        "なにぬねのはははひひひふふふへへへほほほまみむめもややゆゆよよらりるれろわわわわわん"
        "ああいいううええおおかかききくくけけここささししすすせせそそたたちちつつつててとと"
        "なにぬねのはははひひひふふふへへへほほほまみむめもややゆゆよよらりるれろわわわわわん"
        "うかけ");
    return map;
}

// The key kana that a long vowel mark after a key kana sorts as: its vowel;
// after ん it sorts before every kana, as あ does in a key.
const CharMap& VowelOf() {
    static const CharMap map(
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわ"
        "ん",
        "あいうえおあいうえおあいうえおあいうえおあいうえおあいうえおあいうえおあうおあいうえおあ"
        "あ");
    return map;
}

bool IsOneOf(std::string_view ch, const std::string& list) {
    for (size_t i = 0; i + 1 < list.size(); i += 2) {
        if (list.compare(i, 2, ch) == 0) {
            return true;
        }
    }
    return false;
}

bool SortsAfterWa(std::string_view ch) {
    return IsOneOf(ch, TOVIX_CP932("ゐゑをヰヱヲ"));
}

// An iteration mark repeats the kana before it when both are of one script
// (かゝ sorts as かか, カヽ as カカ); otherwise it sorts as a sign.
bool Repeats(std::string_view first, std::string_view mark) {
    const bool hiragana = first.size() == 2 && first[0] == '\x82';
    const bool katakana = first.size() == 2 && first[0] == '\x83';
    return (hiragana && IsOneOf(mark, TOVIX_CP932("ゝゞ"))) ||
           (katakana && IsOneOf(mark, TOVIX_CP932("ヽヾ")));
}

// The code point of one double-byte character; 0 for anything else.
char32_t CodePoint(std::string_view ch) {
    if (ch.size() != 2 || !IsLeadByte(ch[0])) {
        return 0;
    }
    const std::u16string unit = Cp932ToUtf16(ch);
    return unit.size() == 1 && unit[0] != u'\uFFFD' ? unit[0] : 0;
}

bool InRange(char32_t c, char32_t low, char32_t high) {
    return c >= low && c <= high;
}

// Where the collation sorts a double-byte character that is no kana: signs,
// marks, full-width digits and Latin letters before every kana; kanji, Greek
// and Cyrillic letters after them. The hyphen and apostrophe look-alikes are
// ignored by the sort and have no place; nor have the squared words (㍉), 〆
// and the like, which sort as the words they stand for.
enum class Place { None, BeforeKana, AfterKana };

Place PlaceOf(std::string_view ch) {
    const char32_t c = CodePoint(ch);
    if (c == 0 || c == U'\u2010' || c == U'\u2019' || c == U'〆') {
        return Place::None;
    }
    if (InRange(c, U'\u00A0', U'\u00FF') || InRange(c, U'\u2010', U'\u2312') ||
        InRange(c, U'\u2460', U'\u26FF') || InRange(c, U'\u3000', U'\u303F') ||
        InRange(c, U'\u309B', U'\u309E') || InRange(c, U'\u30FB', U'\u30FE') ||
        InRange(c, U'\uFF01', U'\uFF5E') || InRange(c, U'\uFFE0', U'\uFFE5')) {
        return Place::BeforeKana;
    }
    if (InRange(c, U'\u3400', U'\u9FFF') || InRange(c, U'\uF900', U'\uFAFF') ||
        InRange(c, U'\u0391', U'\u03C9') || InRange(c, U'\u0401', U'\u0451')) {
        return Place::AfterKana;
    }
    return Place::None;
}

// The first character of a text: one or two bytes, empty for an empty text.
std::string_view FirstChar(std::string_view text) {
    return text.substr(0, IsDoubleByteChar(text, 0) ? 2 : 1);
}

}  // namespace

std::string_view FoldKana(std::string_view ch) {
    return KanaToKey().Map(ch);
}

std::string_view FoldSearchKana(std::string_view ch) {
    std::string_view folded = FoldKana(ch);
    return folded.empty() ? ch : folded;
}

std::string_view FoldSecondKana(std::string_view first, std::string_view second) {
    if (std::string_view folded = FoldKana(second); !folded.empty()) {
        return folded;
    }
    const std::string_view firstKana = FoldKana(first);
    if (second == TOVIX_CP932("ー") && !firstKana.empty()) {
        return VowelOf().Map(firstKana);
    }
    if (Repeats(first, second) && !firstKana.empty()) {
        return firstKana;
    }
    switch (PlaceOf(second)) {
        case Place::BeforeKana:
            return TOVIX_CP932("あ");
        case Place::AfterKana:
            return TOVIX_CP932("ん");
        case Place::None:
            break;
    }
    return second;
}

std::string FoldSearchKey(std::string_view key) {
    const std::string_view first = FirstChar(key);
    if (first.size() == 2 && FoldKana(first).empty() && PlaceOf(first) == Place::BeforeKana) {
        return TOVIX_CP932("ああ");
    }
    if (SortsAfterWa(first)) {
        return TOVIX_CP932("わん");
    }
    std::string folded(FoldSearchKana(first));
    if (key.size() > first.size()) {
        folded += FoldSecondKana(first, FirstChar(key.substr(first.size())));
    }
    return folded;
}

FoldedKey FoldHeadwordKey(std::string_view head) {
    const std::string_view first = FirstChar(head);
    FoldedKey key{FoldKana(first), {}};
    if (key.first.empty()) {
        return key;
    }
    if (SortsAfterWa(first)) {
        key.second = TOVIX_CP932("ん");
        return key;
    }
    const std::string_view second = FirstChar(head.substr(first.size()));
    if (!second.empty()) {
        key.second = FoldSecondKana(first, second);
    }
    return key;
}

}  // namespace tovix
