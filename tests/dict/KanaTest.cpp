#include <gtest/gtest.h>

#include <set>

#include "dict/KanaFolding.h"
#include "dict/KanaText.h"
#include "dict/KeyAlphabet.h"
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

TEST(KanaTest, SearchKeysFoldVoicingAndSecondSmallKana) {
    struct Case {
        const char* key;
        const char* folded;
    };
    const Case cases[] = {
        {"がっ", "かつ"},  // がっこう
        {"ぢあ", "ちあ"},
        {"ぱぴ", "はひ"},
        {"ぶべ", "ふへ"},
        {"きょ", "きよ"},
        {"っか", "っか"},
        {"ゃゃ", "ゃや"},
        {"ぃぇ", "ぃえ"},
        {"アイ", "アイ"},
        {"ゐを", "ゐを"},
        {"ka", "ka"},
        {"x", "x"},
        {"", ""},
        {"さ", "さ"},
        // Small kana and the long vowel mark sort as their full-size vowel.
        {"ふぁ", "ふあ"},
        {"くぉ", "くお"},
        {"わゎ", "わわ"},
        {"かー", "かあ"},
        {"すー", "すう"},
        {"よー", "よお"},
        {"がー", "かあ"},
        {"んー", "んー"},
        {"ーか", "ーか"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FoldSearchKey(S(c.key)), S(c.folded)) << c.key;
    }
}

TEST(KanaTest, BuilderFoldsExactlySeventyHiraganaToTheInitials) {
    std::set<std::string> recognised;
    for (char32_t c = U'ぁ'; c <= U'ゖ'; ++c) {
        const std::string ch = FromCodePoint(c);
        const std::string_view folded = FoldToInitialKana(ch);
        if (!folded.empty()) {
            recognised.insert(ch);
            EXPECT_NE(AlphabetPosition(Direction::Japanese, folded), 0) << int(c);
        }
    }
    EXPECT_EQ(recognised.size(), 70u);

    struct Case {
        const char* ch;
        const char* folded;
    };
    const Case cases[] = {
        {"が", "か"}, {"ぢ", "ち"}, {"づ", "つ"}, {"ぽ", "ほ"}, {"ん", "ん"},
        {"あ", "あ"}, {"っ", ""},   {"ゃ", ""},   {"を", ""},   {"ゐ", ""},
        {"ア", ""},   {"ー", ""},   {"字", ""},   {"a", ""},    {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(FoldToInitialKana(S(c.ch))), S(c.folded)) << c.ch;
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
}

}  // namespace
}  // namespace tovix
