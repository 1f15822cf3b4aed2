#include "platform/Collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/Cp932.h"

namespace tovix {
namespace {

std::vector<std::string> ToCp932(const std::vector<std::string>& utf8) {
    std::vector<std::string> out;
    for (const std::string& s : utf8) {
        out.push_back(Utf8ToCp932(s));
    }
    return out;
}

// Shuffles the expected order, sorts with precomputed keys and with Compare,
// and checks both give the expected order back.
void ExpectSortsTo(const std::vector<std::string>& expectedUtf8) {
    Collation collation;
    const std::vector<std::string> expected = ToCp932(expectedUtf8);
    std::vector<std::string> lines = expected;
    std::mt19937 random(7);
    std::shuffle(lines.begin(), lines.end(), random);

    std::vector<std::pair<std::string, std::string>> keyed;
    for (const std::string& line : lines) {
        keyed.emplace_back(collation.SortKey(line), line);
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string> byKey;
    for (const auto& [key, line] : keyed) {
        byKey.push_back(line);
    }
    std::vector<std::string> byCompare = lines;
    std::sort(byCompare.begin(), byCompare.end(), [&](const std::string& a, const std::string& b) {
        return collation.Compare(a, b) < 0;
    });

    auto utf8 = [](const std::vector<std::string>& v) {
        std::string s;
        for (const std::string& line : v) {
            s += Cp932ToUtf8(line) + " | ";
        }
        return s;
    };
    EXPECT_EQ(utf8(byKey), utf8(expected));
    EXPECT_EQ(utf8(byCompare), utf8(expected));
}

TEST(CollationTest, DictionaryOrder) {
    struct Case {
        const char* property;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"case ignored, ties by bytes",
         {"Apple \tA", "apple \ta", "APPLY \tx", "apply \tx", "Apricot \tx"}},
        {"hyphen ignored", {"elk \tx", "e-mail \tx", "email \tx", "emu \tx"}},
        {"co-op beside coop", {"cook \tx", "co-op \tx", "coop \tx", "cooper \tx", "cop \tx"}},
        {"apostrophe ignored", {"ocean \tx", "o'clock \tx", "octopus \tx"}},
        {"blank and TAB before letters", {"a \tx", "a bit \tx", "aardvark \tx", "ab \tx"}},
        {"digits and signs before a", {"(a) \tx", "1 \tx", "3D \tx", "a \tx", "z \tx"}},
        {"kana and kanji after z", {"zoo \tx", "あ \tx", "亜 \tx"}},
        {"45 kana in alphabet order",
         {"あ", "い", "う", "え", "お", "か", "き", "く", "け", "こ", "さ", "し",
          "す", "せ", "そ", "た", "ち", "つ", "て", "と", "な", "に", "ぬ", "ね",
          "の", "は", "ひ", "ふ", "へ", "ほ", "ま", "み", "む", "め", "も", "や",
          "ゆ", "よ", "ら", "り", "る", "れ", "ろ", "わ", "ん"}},
        {"voiced kana beside plain kana",
         {"か", "が", "き", "ぎ", "は", "ば", "ぱ", "ひ", "び", "ぴ"}},
        {"voiced kana count as plain at the first level",
         {"かいしゃ [会社]\tx", "がくせい [学生]\tx", "かさ [傘]\tx", "がっこう [学校]\tx",
          "かとう [加藤]\tx"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.property);
        ExpectSortsTo(c.order);
    }
}

TEST(CollationTest, OnlyIdenticalLinesCompareEqual) {
    Collation collation;
    EXPECT_EQ(collation.Compare("apple", "apple"), 0);
    EXPECT_NE(collation.Compare("apple", "Apple"), 0);
    EXPECT_NE(collation.Compare("e-mail", "email"), 0);
    EXPECT_LT(collation.Compare("", "a"), 0);
    // Bytes that are not CP932 still sort deterministically.
    EXPECT_NE(collation.Compare("\x80", "\xA0"), 0);
}

}  // namespace
}  // namespace tovix
