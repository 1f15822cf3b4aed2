// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "dict/KanaFolding.h"
#include "dict/KanaText.h"
#include "dict/KeyAlphabet.h"
#include "platform/Collation.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

std::string S(const char* utf8) {
    return Utf8ToCp932(utf8);
}

std::string FromCodePoint(char32_t c) {
    std::u16string u(1, static_cast<char16_t>(c));
    return Utf16ToCp932(u);
}

TEST(KanaTest, KeysSelectTheirPartFile) {
    struct Case {
        Direction direction;
        const char* key;
        int part;
    };
    const Case cases[] = {
        {Direction::English, "aa", 1},     {Direction::English, "em", 5},
        {Direction::English, "wa", 23},    {Direction::English, "zz", 26},
        {Direction::English, "Aa", 0},     {Direction::English, "3d", 0},
        {Direction::English, "", 0},       {Direction::English, "ああ", 0},
        {Direction::Japanese, "ああ", 1},  {Direction::Japanese, "かつ", 6},
        {Direction::Japanese, "ちあ", 17}, {Direction::Japanese, "やあ", 36},
        {Direction::Japanese, "よあ", 38}, {Direction::Japanese, "わあ", 44},
        {Direction::Japanese, "んあ", 45}, {Direction::Japanese, "がっ", 0},
        {Direction::Japanese, "アイ", 0},  {Direction::Japanese, "漢字", 0},
        {Direction::Japanese, "ka", 0},    {Direction::Japanese, "", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PartNumber(c.direction, S(c.key)), c.part) << c.key;
    }
    EXPECT_EQ(AlphabetSize(Direction::English), 26);
    EXPECT_EQ(AlphabetSize(Direction::Japanese), 45);
    EXPECT_EQ(std::string(AlphabetChar(Direction::Japanese, 44)), S("わ"));
    EXPECT_EQ(AlphabetChar(Direction::Japanese, 46), "");
}

TEST(KanaTest, SearchKeysFoldToTheKanaTheySortAs) {
    struct Case {
        const char* key;
        const char* folded;
    };
    const Case cases[] = {
        {"がっ", "かつ"},  // がっこう
        {"ぢあ", "ちあ"}, {"ぱぴ", "はひ"}, {"ぶべ", "ふへ"}, {"きょ", "きよ"},
        {"っち", "つち"}, {"ゃゃ", "やや"}, {"ぃぇ", "いえ"}, {"アイ", "あい"},
        {"ヴぃ", "うい"}, {"めを", "めわ"}, {"いゐ", "いわ"}, {"ゐを", "わん"},
        {"を", "わん"},   {"ヲタ", "わん"}, {"ふぁ", "ふあ"}, {"わゎ", "わわ"},
        {"かー", "かあ"}, {"すー", "すう"}, {"がー", "かあ"}, {"んー", "んあ"},
        {"ーか", "ああ"}, {"ゝ", "ああ"},   {"あ・", "ああ"}, {"かゝ", "かか"},
        {"ばゞ", "はは"}, {"ｶ", "ｶ"},       {"か漢", "かん"}, {"漢字", "漢ん"},
        {"ka", "ka"},     {"かk", "かk"},   {"x", "x"},       {"", ""},
        {"かヽ", "かあ"}, {"カヽ", "かか"}, {"‐あ", "‐あ"},  // U+2010, ignored by the sort
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FoldSearchKey(S(c.key)), S(c.folded)) << c.key;
    }
}

// The key kana in whose range the collation puts `prefix` + `ch`: the last
// of the 45 whose first-level key (after the prefix) is not above it; empty
// when it sorts before all of them.
class CollationRanges {
  public:
    explicit CollationRanges(const std::string& prefix) : prefix_(prefix) {
        const std::string_view alphabet = Alphabet(Direction::Japanese);
        for (size_t i = 0; i < alphabet.size(); i += 2) {
            keys_.push_back(Key(alphabet.substr(i, 2)));
        }
    }

    std::string RangeOf(std::string_view ch) {
        const std::string key = Key(ch);
        const auto above = std::upper_bound(keys_.begin(), keys_.end(), key);
        const auto index = static_cast<int>(above - keys_.begin());
        return std::string(AlphabetChar(Direction::Japanese, index));
    }

  private:
    std::string Key(std::string_view ch) {
        std::string key;
        collation_.AppendHeadwordKey(prefix_ + std::string(ch), key);
        return key;
    }

    Collation collation_;
    std::string prefix_;
    std::vector<std::string> keys_;
};

// Every double-byte character of CP932 that decodes to one code point.
std::vector<std::string> DoubleByteChars() {
    std::vector<std::string> chars;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC && IsLeadByte(static_cast<char>(lead)); ++trail) {
            const std::string ch{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string unit = Cp932ToUtf16(ch);
            if (trail != 0x7F && unit.size() == 1 && unit[0] != u'\uFFFD') {
                chars.push_back(ch);
            }
        }
    }
    return chars;
}

// The builder and the search agree by sharing the folding; this ties the
// folding to where the dictionary collation sorts each character, so that an
// entry is keyed inside the range its line stands in.
TEST(KanaTest, FoldingFollowsTheDictionaryCollation) {
    CollationRanges first("");
    CollationRanges second(S("か"));
    int kana = 0;
    int placed = 0;
    for (const std::string& ch : DoubleByteChars()) {
        if (!FoldKana(ch).empty()) {
            ++kana;
            EXPECT_EQ(std::string(FoldKana(ch)), first.RangeOf(ch)) << Cp932ToUtf8(ch);
        } else if (FoldSearchKey(ch + S("あ")) == S("ああ")) {
            EXPECT_EQ(first.RangeOf(ch), "") << Cp932ToUtf8(ch);
        }
        const std::string_view folded = FoldSecondKana(S("か"), ch);
        if (AlphabetPosition(Direction::Japanese, folded) != 0) {
            ++placed;
            const std::string range = second.RangeOf(ch);
            EXPECT_EQ(std::string(folded), range.empty() ? S("あ") : range) << Cp932ToUtf8(ch);
        }
    }
    EXPECT_EQ(kana, 169);  // 83 hiragana, 86 katakana
    EXPECT_GT(placed, 7000);
}

TEST(KanaTest, BuilderKeysHeadwordsAsTheSearchFolds) {
    struct Case {
        const char* head;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {"がっこう", "か", "つ"},
        {"っちょ", "つ", "ち"},
        {"をかし", "わ", "ん"},
        {"めを", "め", "わ"},
        {"ヴぃでお", "う", "い"},
        {"あ・かぺら", "あ", "あ"},
        {"ー", "", ""},
        {"漢字", "", ""},
        {"a", "", ""},
        {"か", "か", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const FoldedKey key = FoldHeadwordKey(S(c.head));
        EXPECT_EQ(std::string(key.first), S(c.first)) << c.head;
        if (!key.first.empty()) {
            EXPECT_EQ(std::string(key.second), S(c.second)) << c.head;
        }
    }
}

TEST(KanaTest, HiraToKataMapsEveryHiraganaButWiAndWe) {
    for (char32_t c = U'ぁ'; c <= U'ん'; ++c) {
        const bool kept = c == U'ゐ' || c == U'ゑ';
        EXPECT_EQ(HiraToKata(FromCodePoint(c)), FromCodePoint(kept ? c : c + 0x60)) << int(c);
    }
    struct Case {
        std::string text;
        std::string kata;
    };
    // 89 82 is a kanji whose trail byte, read with the next half-width
    // katakana, would look like a hiragana.
    const Case cases[] = {
        {S("がっこう"), S("ガッコウ")},
        {S("漢字のよみ[読み]"), S("漢字ノヨミ[読ミ]")},
        {"apple ", "apple "},
        {S("カタカナ"), S("カタカナ")},
        {"\x89\x82\xb1", "\x89\x82\xb1"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HiraToKata(c.text), c.kata) << Cp932ToUtf8(c.text);
    }
}

TEST(KanaTest, KataToHiraAndKanji) {
    struct Case {
        const char* text;
        const char* hira;
    };
    const Case cases[] = {
        {"コーヒー", "こーひー"}, {"ヴァイオリン", "ヴぁいおりん"}, {"ヵヶヽヾ", "ヵヶゝゞ"},
        {"ヰヱヲン", "ゐゑをん"}, {"漢字カナ", "漢字かな"},         {"ｶﾀｶﾅ", "ｶﾀｶﾅ"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KataToHira(S(c.text)), S(c.hira)) << c.text;
    }
    for (const std::string& ch : DoubleByteChars()) {
        const char16_t c = Cp932ToUtf16(ch)[0];
        const bool ideograph =
            (c >= u'\u3400' && c <= u'\u9FFF') || (c >= u'\uF900' && c <= u'\uFAFF');
        EXPECT_EQ(IsKanji(ch), ideograph || (c >= u'々' && c <= u'〇')) << Cp932ToUtf8(ch);
    }
    EXPECT_TRUE(HoldsKanji(S("お茶")));
    EXPECT_FALSE(HoldsKanji(S("こーひーｶ")));
    // 89 82 is a kanji; 82 89 as a character would be none, but the 82
    // here is its trail byte.
    EXPECT_FALSE(HoldsKanji("a\x82"));
}

TEST(KanaTest, EndSpaceAndFirstTabDelete) {
    struct Case {
        const char* text;
        const char* endSpaceDeleted;
        const char* firstTabDeleted;
    };
    const Case cases[] = {
        {"word  ", "word", "word  "},   {"   ", "", "   "},      {"word\t", "word\t", "word\t"},
        {"word　", "word　", "word　"}, {"a b ", "a b", "a b "}, {"\t\tx", "\t\tx", "\tx"},
        {"x\ty", "x\ty", "x\ty"},       {"\t ", "\t", " "},      {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EndSpaceDelete(S(c.text)), S(c.endSpaceDeleted)) << '"' << c.text << '"';
        EXPECT_EQ(FirstTabDelete(S(c.text)), S(c.firstTabDeleted)) << '"' << c.text << '"';
    }
    // Raw CP932 bytes: a lead byte takes the blank after it as its trail
    // byte, so that blank is no blank; a trail byte that looks like a lead
    // byte (the 8A of リ) leads nothing.
    const std::pair<std::string_view, std::string_view> bytes[] = {
        {"\x82  ", "\x82 "},
        {"ab\x83 ", "ab\x83 "},
        {"\x83\x8A  ", "\x83\x8A"},
        {"\x82\xA0 ", "\x82\xA0"},
        {"\x83\x8A\x82 ", "\x83\x8A\x82 "},
        {"a\x82", "a\x82"},
        {"\x8A\x8A\x8A ", "\x8A\x8A\x8A "},
    };
    for (const auto& [text, deleted] : bytes) {
        EXPECT_EQ(EndSpaceDelete(text), deleted) << testing::PrintToString(text);
        EXPECT_EQ(WithoutEndSpaces(text), deleted) << testing::PrintToString(text);
    }
}

}  // namespace
}  // namespace tovix
