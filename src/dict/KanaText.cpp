// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/KanaText.h"

#include "components/MbString.h"
#include "dict/CharMap.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

const CharMap& HiraganaToKatakana() {
    static const CharMap map(
        "ぁあぃいぅうぇえぉお"
        "かがきぎくぐけげこご"
        "さざしじすずせぜそぞ"
        "ただちぢっつづてでとど"
        "なにぬねの"
        "はばぱひびぴふぶぷへべぺほぼぽ"
        "まみむめも"
        "ゃやゅゆょよ"
        "らりるれろ"
        "ゎわをん",
        "ァアィイゥウェエォオ"
        "カガキギクグケゲコゴ"
        "サザシジスズセゼソゾ"
        "タダチヂッツヅテデトド"
        "ナニヌネノ"
        "ハバパヒビピフブプヘベペホボポ"
        "マミムメモ"
        "ャヤュユョヨ"
        "ラリルレロ"
        "ヮワヲン");
    return map;
}

// The characters of `text` each replaced by what `map` gives, or kept.
std::string MapChars(const CharMap& map, std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t place = 0;
    while (place < text.size()) {
        const size_t start = place;
        const std::string_view ch = text.substr(start, NextChar(text, place));
        const std::string_view mapped = map.Map(ch);
        out += mapped.empty() ? ch : mapped;
    }
    return out;
}

const CharMap& KatakanaToHiragana() {
    static const CharMap map(
        "ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトド"
        "ナニヌネノハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲンヽヾ",
        "ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとど"
        "なにぬねのはばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろゎわゐゑをんゝゞ");
    return map;
}

}  // namespace

std::string KataToHira(std::string_view text) {
    return MapChars(KatakanaToHiragana(), text);
}

std::string_view KataToHiraChar(std::string_view ch) {
    // Only katakana (83 40 .. 83 96) and ヽ ヾ (81 52, 81 53) change; the
    // test keeps the frequent ー and other signs away from the map.
    const bool katakana =
        ch.size() == 2 && ch[0] == '\x83' && static_cast<unsigned char>(ch[1]) >= 0x40;
    if (!katakana && (ch.size() != 2 || ch[0] != '\x81' || (ch[1] != '\x52' && ch[1] != '\x53'))) {
        return ch;
    }
    const std::string_view hiragana = KatakanaToHiragana().Map(ch);
    return hiragana.empty() ? ch : hiragana;
}

bool BeginsWithKana(std::string_view line, std::string_view text) {
    if (line.size() < text.size()) {
        return false;
    }
    const std::string_view head = line.substr(0, text.size());
    size_t differ = 0;
    while (differ < text.size() && head[differ] == text[differ]) {
        ++differ;
    }
    if (differ == text.size()) {
        return true;
    }
    // A katakana differs from its hiragana first in the lead byte (83, 82),
    // ヽ ヾ from ゝ ゞ in the byte after the lead byte 81; any other first
    // difference is one of characters.
    const char a = head[differ];
    const char b = text[differ];
    if (!((a == '\x83' && b == '\x82') || (a == '\x82' && b == '\x83') ||
          (differ > 0 && head[differ - 1] == '\x81'))) {
        return false;
    }
    // Only where the bytes differ is a character folded.
    size_t place = 0;
    while (place < text.size()) {
        const size_t start = place;
        const size_t width = NextChar(text, place);
        if (head[start] == text[start] && (width == 1 || head[start + 1] == text[start + 1])) {
            continue;
        }
        if (width == 1 ||
            KataToHiraChar(head.substr(start, 2)) != KataToHiraChar(text.substr(start, 2))) {
            return false;
        }
    }
    return true;
}

// The CP932 codes of the kanji: the two levels of JIS X 0208 (889F .. 9FFC,
// E040 .. EAA4), the NEC-selected and IBM extensions (ED40 .. EEEC,
// FA5C .. FC4B), and 仝 々 〆 〇 (8157 .. 815A).
bool IsKanji(std::string_view ch) {
    if (ch.size() != 2 || !IsLeadByte(ch[0])) {
        return false;
    }
    const unsigned code =
        static_cast<unsigned char>(ch[0]) << 8 | static_cast<unsigned char>(ch[1]);
    return (code >= 0x889F && code <= 0x9FFC) || (code >= 0xE040 && code <= 0xEAA4) ||
           (code >= 0xED40 && code <= 0xEEEC) || (code >= 0xFA5C && code <= 0xFC4B) ||
           (code >= 0x8157 && code <= 0x815A);
}

bool HoldsKanji(std::string_view text) {
    for (size_t place = 0; place < text.size();) {
        const size_t start = place;
        if (IsKanji(text.substr(start, NextChar(text, place)))) {
            return true;
        }
    }
    return false;
}

std::string HiraToKata(std::string_view text) {
    return MapChars(HiraganaToKatakana(), text);
}

std::string EndSpaceDelete(std::string_view text) {
    return std::string(WithoutEndSpaces(text));
}

std::string_view WithoutEndSpaces(std::string_view text) {
    // A blank is never a lead byte, so the blanks at the end are characters
    // of their own unless the byte before them leads a character that takes
    // the first as its trail byte; only then are the characters walked.
    const size_t last = text.find_last_not_of(' ');
    if (last == std::string_view::npos || !IsLeadByte(text[last])) {
        return text.substr(0, last + 1);
    }
    size_t keep = 0;
    size_t place = 0;
    while (place < text.size()) {
        const bool blank = text[place] == ' ';
        NextChar(text, place);
        if (!blank) {
            keep = place;
        }
    }
    return text.substr(0, keep);
}

std::string FirstTabDelete(std::string_view text) {
    return std::string(text.starts_with('\t') ? text.substr(1) : text);
}

}  // namespace tovix
