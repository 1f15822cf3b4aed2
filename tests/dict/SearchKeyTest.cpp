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

}  // namespace
}  // namespace tovix
