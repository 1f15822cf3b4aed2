// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/SearchKey.h"

#include <gtest/gtest.h>

#include "platform/Cp932.h"

namespace tovix {
namespace {

std::string S(const char* utf8) {
    return Utf8ToCp932(utf8);
}

TEST(SearchKeyTest, EnglishKeys) {
    struct Case {
        std::string text;
        std::string key;
    };
    const Case cases[] = {
        {"w", "wa"},   {"wo", "wo"},  {"w o", "wa"}, {"e-mail", "em"}, {"-ism", "is"},
        {"3D", "aa"},  {"(a)", "aa"}, {"a1", "aa"},  {"b.", "ba"},     {"Apple", "ap"},
        {"APP", "ap"}, {"", ""},      {"x@y", "xa"}, {"--", ""},       {"@", "aa"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EngSearchKey(c.text), c.key) << c.text;
    }
    // Kana keep their bytes: the key then stands in no table line.
    EXPECT_EQ(EngSearchKey(S("りんご")), S("り"));
}

TEST(SearchKeyTest, JapaneseKeysFold) {
    struct Case {
        const char* text;
        const char* key;
    };
    const Case cases[] = {
        {"がっこう", "かつ"}, {"ぢ", "ちあ"},   {"さ", "さあ"},     {"きょう", "きよ"},
        {"ぱぴ", "はひ"},     {"っか", "つか"}, {"かんじ", "かん"}, {"漢字", "漢ん"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JpnSearchKey(S(c.text)), S(c.key)) << c.text;
    }
}

TEST(SearchKeyTest, RomajiTailConvertsOnlyAsAWhole) {
    struct Case {
        const char* text;
        const char* converted;  // nullptr: stays as typed
    };
    const Case cases[] = {
        {"ka", "か"},        {"k", nullptr},   {"かn", nullptr},     {"かnj", nullptr},
        {"かnji", nullptr},  {"かnn", "かん"}, {"かんji", "かんじ"}, {"kka", "っか"},
        {"kk", nullptr},     {"KA", nullptr},  {"kaか", nullptr},    {"-", "ー"},
        {"らー-", "らーー"}, {"lsu", "っ"},    {"llsu", nullptr},    {"ソa", "ソあ"},
    };
    for (const Case& c : cases) {
        std::optional<std::string> got = ConvertRomajiTail(S(c.text));
        if (c.converted == nullptr) {
            EXPECT_FALSE(got.has_value()) << c.text;
        } else {
            EXPECT_EQ(got, S(c.converted)) << c.text;
        }
    }
}

// Romaji typed a letter at a time into the Japanese-English field, with the
// input-method n option off (as the field has always converted) and on.
TEST(SearchKeyTest, TypedRomajiWithAndWithoutTheInputMethodN) {
    struct Case {
        const char* keys;
        bool imeStyleN;
        const char* field;
        const char* searched;
        bool pending;
    };
    const Case cases[] = {
        {"shinbun", false, "しnbun", "しnbun", false},
        {"kanji", false, "かnji", "かnji", false},
        {"konnichiha", false, "こんいちは", "こんいちは", false},
        {"nna", false, "んあ", "んあ", false},
        {"ky", false, "ky", "ky", true},
        {"かkx", false, "かkx", "かkx", false},
        {"shinbun", true, "しんぶn", "しんぶん", false},
        {"konnichiha", true, "こんにちは", "こんにちは", false},
        {"kanji", true, "かんじ", "かんじ", false},
        {"nna", true, "んな", "んな", false},
        {"onnna", true, "おんな", "おんな", false},
        {"kann", true, "かnn", "かん", false},
        {"kin'en", true, "きんえn", "きんえん", false},
        {"konnyaku", true, "こんにゃく", "こんにゃく", false},
        {"sanpo-", true, "さんぽー", "さんぽー", false},
        {"kany", true, "かny", "かny", true},
        {"KAN", true, "KAN", "KAN", false},
        {"カタカナ", true, "かたかな", "かたかな", false},
        {"漢字カナ", true, "漢字カナ", "漢字カナ", false},
    };
    for (const Case& c : cases) {
        std::string field;
        JpnField converted;
        for (char16_t key : Cp932ToUtf16(S(c.keys))) {
            converted = ConvertJpnField(field + Utf16ToCp932(std::u16string(1, key)), c.imeStyleN);
            field = converted.text;
        }
        EXPECT_EQ(Cp932ToUtf8(converted.text), c.field) << c.keys << " " << c.imeStyleN;
        EXPECT_EQ(Cp932ToUtf8(converted.searchText), c.searched) << c.keys << " " << c.imeStyleN;
        EXPECT_EQ(converted.pending, c.pending) << c.keys << " " << c.imeStyleN;
    }
}

}  // namespace
}  // namespace tovix
