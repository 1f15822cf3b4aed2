#include "dict/KanaFolding.h"

#include "dict/CharMap.h"
#include "dict/KeyAlphabet.h"

namespace tovix {
namespace {

const CharMap& VoicedToPlain() {
    static const CharMap map(
        "がぎぐげご"
        "ざじずぜぞ"
        "だぢづでど"
        "ばびぶべぼ"
        "ぱぴぷぺぽ",
        "かきくけこ"
        "さしすせそ"
        "たちつてと"
        "はひふへほ"
        "はひふへほ");
    return map;
}

// Small kana that a search key folds only in its second character.
const CharMap& SmallToFull() {
    static const CharMap map("っゃぃゅぇょ", "つやいゆえよ");
    return map;
}

}  // namespace

std::string_view FoldSearchKana(std::string_view ch, bool secondChar) {
    std::string_view folded = VoicedToPlain().Map(ch);
    if (folded.empty() && secondChar) {
        folded = SmallToFull().Map(ch);
    }
    return folded.empty() ? ch : folded;
}

std::string FoldSearchKey(std::string_view key) {
    std::string folded(FoldSearchKana(key.substr(0, 2), false));
    if (key.size() > 2) {
        folded += FoldSearchKana(key.substr(2, 2), true);
    }
    return folded;
}

std::string_view FoldToInitialKana(std::string_view ch) {
    if (AlphabetPosition(Direction::Japanese, ch) != 0) {
        return ch;
    }
    return VoicedToPlain().Map(ch);
}

}  // namespace tovix
