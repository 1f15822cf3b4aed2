#include "dict/KanaFolding.h"

#include "dict/CharMap.h"
#include "dict/KeyAlphabet.h"
#include "platform/Cp932.h"

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

// Small kana, folded only in the second character of a key.
const CharMap& SmallToFull() {
    static const CharMap map("ぁぃぅぇぉっゃゅょゎ", "あいうえおつやゆよわ");
    return map;
}

// The vowel of each initial kana, for a long vowel mark after it.
const CharMap& VowelOf() {
    static const CharMap map(
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわ",
        "あいうえおあいうえおあいうえおあいうえおあいうえおあいうえおあいうえおあうおあいうえおあ");
    return map;
}

}  // namespace

std::string_view FoldSearchKana(std::string_view ch) {
    std::string_view folded = VoicedToPlain().Map(ch);
    return folded.empty() ? ch : folded;
}

std::string_view FoldSecondKana(std::string_view first, std::string_view second) {
    if (std::string_view folded = VoicedToPlain().Map(second); !folded.empty()) {
        return folded;
    }
    if (std::string_view folded = SmallToFull().Map(second); !folded.empty()) {
        return folded;
    }
    if (second == TOVIX_CP932("ー")) {
        if (std::string_view vowel = VowelOf().Map(first); !vowel.empty()) {
            return vowel;
        }
    }
    return second;
}

std::string FoldSearchKey(std::string_view key) {
    std::string folded(FoldSearchKana(key.substr(0, 2)));
    if (key.size() > 2) {
        folded += FoldSecondKana(folded, key.substr(2, 2));
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
