// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/MbString.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/Cp932.h"

namespace tovix {
namespace {

std::string S(const char* utf8) {
    return Utf8ToCp932(utf8);
}

TEST(MbStringTest, PositionsNeverStartOnTrailBytes) {
    struct Case {
        std::string pattern;
        std::string text;
        size_t pos;
        size_t posEnd;
    };
    const Case cases[] = {
        {S("ア"), S("aアア"), 2, 3},
        {"a", S("aアア"), 1, 1},
        {"A", S("ア"), 0, 0},     // ア is 83 41
        {"[", S("ー[x]"), 2, 3},  // ー is 81 5B
        {"\\", S("ソ\\"), 2, 3},  // ソ is 83 5C
        {"]", S("ゾ]"), 2, 3},    // ゾ is 83 5D
        {"]", S("ゾ"), 0, 0},
        {",", S("表,"), 2, 3},
        {"\t", S("ソ\tx"), 2, 3},
        {S("ソ"), S("xソ"), 2, 3},
        {S("◆"), S("a◆b"), 2, 3},
        {"", "abc", 0, 0},
        {"a", "", 0, 0},
        {"bc", "abcbc", 2, 2},
        {"cd", "abc", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MbPos(c.pattern, c.text), CharIndex(c.pos)) << Cp932ToUtf8(c.text);
        EXPECT_EQ(MbPosEnd(c.pattern, c.text), ByteColumn(c.posEnd)) << Cp932ToUtf8(c.text);
    }
}

// The first match on a character boundary, found by walking every character
// from the start.
size_t WalkingFind(std::string_view pattern, std::string_view text) {
    for (size_t place = 0; place < text.size() && !pattern.empty();
         place += IsDoubleByteChar(text, place) ? 2 : 1) {
        if (text.substr(place).starts_with(pattern)) {
            return place;
        }
    }
    return std::string_view::npos;
}

// Random runs of lead bytes (which are also trail bytes), trail bytes that
// are ASCII, NULs before and after lead bytes, and patterns that begin with
// any of them.
TEST(MbStringTest, FindAgreesWithWalkingOnRandomBytes) {
    const std::string bytes("\x81\x82\x9F\xE0\xFC[]\t a\0\xA0\x40\x5B", 14);
    std::mt19937 random(17);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (size_t n = random() % 16; n > 0; --n) {
            text += bytes[random() % bytes.size()];
        }
        std::string pattern;
        for (size_t n = random() % 3 + 1; n > 0; --n) {
            pattern += bytes[random() % bytes.size()];
        }
        const size_t expected = WalkingFind(pattern, text);
        ASSERT_EQ(MbFind(pattern, text), expected) << i;
        ASSERT_EQ(static_cast<bool>(MbPosEnd(pattern, text)), expected != std::string_view::npos)
            << i;
    }
}

TEST(MbStringTest, CopyAndLength) {
    const std::string text = S("aアb");
    EXPECT_EQ(MbLength(text), 3u);
    EXPECT_EQ(MbCopy(text, CharIndex(2), 1), S("ア"));
    EXPECT_EQ(MbCopy(text, CharIndex(0), 2), S("aア"));
    EXPECT_EQ(MbCopy(text, CharIndex(2), 10), S("アb"));
    EXPECT_EQ(MbCopy(text, CharIndex(4), 1), "");
    EXPECT_EQ(MbCopy(text, CharIndex(9), 1), "");
    EXPECT_EQ(MbCopy(text, CharIndex(1), 0), "");
    EXPECT_EQ(MbLength(""), 0u);
    EXPECT_EQ(MbLength("a\x82"), 2u);  // a lead byte at the end is one character
    EXPECT_EQ(MbCharCount(S("漢字x").c_str()), 3u);
}

TEST(MbStringTest, CountCharBytes) {
    size_t bytes = 99;
    EXPECT_EQ(CountCharBytes(bytes, S("漢aア"), 2), 2u);
    EXPECT_EQ(bytes, 3u);
    EXPECT_EQ(CountCharBytes(bytes, S("漢aア"), 0), 3u);
    EXPECT_EQ(bytes, 5u);
    EXPECT_EQ(CountCharBytes(bytes, "", 3), 0u);
    EXPECT_EQ(bytes, 0u);
}

TEST(MbStringTest, CaseMappingLeavesTrailBytesAlone) {
    // ア is 83 41 and ゾ is 83 5D: their second bytes look like "A" and "]".
    EXPECT_EQ(MbLowerCase(S("ABCアＡＢ")), S("abcアＡＢ"));
    std::string text = S("XＡアY");
    EXPECT_EQ(MbChangeCase(text, false), S("xＡアy"));
    std::string wide = S("XＡアΩY");
    EXPECT_EQ(MbChangeCase(wide, true), S("xａアωy"));

    std::string up = S("aア");
    size_t place = 0;
    EXPECT_EQ(ChangeCharCase(up, place, true, true), 1u);
    EXPECT_EQ(ChangeCharCase(up, place, true, true), 2u);
    EXPECT_EQ(ChangeCharCase(up, place, true, true), 0u);
    EXPECT_EQ(up, S("Aア"));
}

TEST(MbStringTest, CharacterSteps) {
    const std::string text = S("aア");
    size_t place = 0;
    EXPECT_FALSE(IsDoubleByteChar(text, 0));
    EXPECT_TRUE(IsDoubleByteChar(text, 1));
    EXPECT_EQ(NextChar(text, place), 1u);
    EXPECT_EQ(NextChar(text, place), 2u);
    EXPECT_EQ(NextChar(text, place), 0u);
    EXPECT_FALSE(IsDoubleByteChar(std::string("\x83\0", 2), 0));

    EXPECT_TRUE(StartsWithText(S("アイウ"), 2, S("イウ")));
    EXPECT_FALSE(StartsWithText(S("アイ"), 0, "A"));
    EXPECT_FALSE(StartsWithText("ab", 0, "abc"));
    EXPECT_TRUE(HasDoubleByte(S("abcア")));
    EXPECT_FALSE(HasDoubleByte("abc\xB1"));
    EXPECT_FALSE(HasDoubleByte(std::string("a\0\x82\xA0", 4)));

    size_t a = 0;
    size_t b = 0;
    const std::string x = S("アb");
    const std::string y = S("アc");
    EXPECT_EQ(CompareChar(x, a, y, b), 0);
    EXPECT_EQ(a, 2u);
    EXPECT_LT(CompareChar(x, a, y, b), 0);
    EXPECT_EQ(a, 2u);
}

// Guards an int overflow: a separator found beyond 2 GiB came back as a
// negative position.
TEST(MbStringTest, PositionsBeyondTwoGibibytes) {
    const size_t before = size_t{1} << 31;
    std::string text;
    try {
        text.reserve(before + 3);
        text.assign(before, 'a');
    } catch (const std::bad_alloc&) {
        GTEST_SKIP() << "not enough memory for a 2 GiB line";
    }
    text += S("漢\t");
    EXPECT_EQ(MbPosEnd("\t", text), ByteColumn(before + 3));
    EXPECT_EQ(MbPosEnd(S("漢"), text), ByteColumn(before + 2));
    EXPECT_EQ(MbPos("\t", text), CharIndex(before + 2));
    EXPECT_EQ(MbLength(text), before + 2);
}

}  // namespace
}  // namespace tovix
