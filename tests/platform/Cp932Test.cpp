// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Cp932.h"

#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include <optional>

namespace tovix {
namespace {

std::string Utf8(std::u16string_view utf16) {
    std::string out(utf16.size() * 3, '\0');
    int32_t n = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &n,
                reinterpret_cast<const UChar*>(utf16.data()), static_cast<int32_t>(utf16.size()),
                &err);
    out.resize(static_cast<size_t>(n));
    return out;
}

TEST(Cp932Test, DecodesMicrosoftTable) {
    struct Case {
        std::string cp932;
        std::u16string expected;
    };
    const Case cases[] = {
        {"\x81\x60", u"\uFF5E"},                // wave dash is the full-width tilde
        {"\x81\x7C", u"\uFF0D"},                // minus sign
        {"\x87\x40", u"\u2460"},                // NEC circled one
        {"\xFA\x40", u"\u2170"},                // IBM small roman one
        {"\x82\xA0\x83\x5C", u"\u3042\u30BD"},  // a, so (trail byte 0x5C)
        {"abc\t", u"abc\t"},
        {"\xB1", u"\uFF71"},      // half-width katakana
        {"\x80", u"\uFFFD"},      // no mapping: visible replacement
        {"\x85\x40", u"\uFFFD"},  // unassigned double-byte code
        {"a\x82", u"a\uFFFD"},    // lone lead byte at the end
        // Guards: ICU's table turned these control bytes into one another.
        {"\x1A\x1C\x7F\x82\x7F", u"\u001A\u001C\u007F\uFFFD\u007F"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cp932ToUtf16(c.cp932), c.expected) << c.cp932;
    }
}

TEST(Cp932Test, EncodesWithFallbacksAndQuestionMark) {
    struct Case {
        std::u16string utf16;
        std::string expected;
    };
    const Case cases[] = {
        {u"\u301C", "\x81\x60"},  // wave dash
        {u"\uFF5E", "\x81\x60"},
        {u"\u2212", "\x81\x7C"},  // minus sign
        {u"\u2014", "\x81\x5C"},  // em dash
        {u"\u00E9", "?"},
        {u"\u20AC", "?"},
        {u"\U0001F600", "?"},
        {u"x\u3042y", "x\x82\xA0y"},
        {u"\u001A\u001C\u007F", "\x1A\x1C\x7F"},  // guards as in the decoding
        {u"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf16ToCp932(c.utf16), c.expected);
        // A text to search for has no form where a character would become "?".
        EXPECT_EQ(Utf8ToCp932Exact(Utf8(c.utf16)),
                  c.expected == "?" ? std::nullopt : std::optional<std::string>(c.expected));
    }
    EXPECT_EQ(Utf8ToCp932Exact("?"), "?");
    EXPECT_EQ(Utf8ToCp932Exact("a\xFF"), std::nullopt);  // malformed UTF-8
}

TEST(Cp932Test, Utf8RoundTripOfOrdinaryText) {
    const std::string utf8 = "りんご apple 林檎ソ表ー";
    std::string cp932 = Utf8ToCp932(utf8);
    EXPECT_EQ(cp932.size(), 2u * 8 + 7);
    EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
}

TEST(Cp932Test, LiteralMacroConvertsOnce) {
    const std::string& a = TOVIX_CP932("ー");
    EXPECT_EQ(a, "\x81\x5B");
}

TEST(Cp932Test, LeadBytes) {
    EXPECT_FALSE(IsLeadByte('\x80'));
    EXPECT_TRUE(IsLeadByte('\x81'));
    EXPECT_TRUE(IsLeadByte('\x9F'));
    EXPECT_FALSE(IsLeadByte('\xA0'));
    EXPECT_FALSE(IsLeadByte('\xDF'));
    EXPECT_TRUE(IsLeadByte('\xE0'));
    EXPECT_TRUE(IsLeadByte('\xFC'));
    EXPECT_FALSE(IsLeadByte('\xFD'));
}

// Guards texts longer than ICU's int32_t counts (a 2 GiB line gave "code page
// 932 decoding failed"): they go in pieces, and no cut between two pieces may
// part a character, whatever the piece size.
TEST(Cp932Test, LongTextsConvertInPiecesWithoutPartingCharacters) {
    const std::string cp932 = "a" + Utf8ToCp932("漢字") + "\x81\x81\x81" + Utf8ToCp932("ア\tソ") +
                              "b\x82";  // runs of lead-byte codes, a lone lead byte at the end
    const std::u16string utf16 = u"a\U0001F600\u6F22\U0001F600b";
    const std::string utf8 =
        "a\xF0\x9F\x98\x80\xE6\xBC\xA2\xC3\xA9"
        "b";
    for (size_t piece = 1; piece <= 8; ++piece) {
        EXPECT_EQ(Cp932ToUtf16(cp932, piece), Cp932ToUtf16(cp932)) << piece;
        EXPECT_EQ(Cp932ToUtf8(cp932, piece), Cp932ToUtf8(cp932)) << piece;
        EXPECT_EQ(Utf16ToCp932(utf16, piece), Utf16ToCp932(utf16)) << piece;
        EXPECT_EQ(Utf8ToCp932(utf8, piece), Utf8ToCp932(utf8)) << piece;
    }
}

}  // namespace
}  // namespace tovix
