#include "dict/KanaText.h"

#include "components/MbString.h"
#include "dict/CharMap.h"

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

}  // namespace

std::string HiraToKata(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t place = 0;
    while (place < text.size()) {
        const size_t start = place;
        const std::string_view ch = text.substr(start, NextChar(text, place));
        const std::string_view kata = HiraganaToKatakana().Map(ch);
        out += kata.empty() ? ch : kata;
    }
    return out;
}

std::string EndSpaceDelete(std::string_view text) {
    size_t keep = 0;
    size_t place = 0;
    while (place < text.size()) {
        const bool blank = text[place] == ' ';
        NextChar(text, place);
        if (!blank) {
            keep = place;
        }
    }
    return std::string(text.substr(0, keep));
}

std::string FirstTabDelete(std::string_view text) {
    return std::string(text.starts_with('\t') ? text.substr(1) : text);
}

}  // namespace tovix
