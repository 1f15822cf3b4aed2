// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Collation.h"

#include <gtest/gtest.h>
#include <unicode/ucol.h>
#include <unicode/uset.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "platform/Cp932.h"

namespace tovix {
namespace {

using namespace std::string_literals;

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

// Random lines over the corners of the collation: letters in both cases,
// digits, blanks, TABs, hyphens and apostrophes in their ASCII and Japanese
// forms, kana with the prolonged-sound and iteration marks whose weight
// depends on the kana before them, kanji, full-width and half-width forms, a
// NUL byte and bytes that are not CP932 (a lone lead byte, a lead byte before
// a TAB, single bytes without a character).
std::vector<std::string> RandomLines(std::mt19937& random, int count) {
    const std::vector<std::string> pieces = {"a",     "B",    "e",    "m",    "z",    "1",
                                             " ",     "\t",   "-",    "'",    "ab",   "em",
                                             "\x00"s, "\x80", "\xA0", "\xFD", "\x81", "\x81\t"};
    const std::vector<std::string> japanese =
        ToCp932({"‐", "’", "ア", "あ", "か", "が", "ー", "ゝ", "ゞ", "ヽ", "ヾ", "ｶ", "ﾞ", "ｰ",
                 "亜", "漢", "Ａ", "・", "ｱ"});
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        std::string line;
        const int length = static_cast<int>(random() % 7);
        for (int p = 0; p < length; ++p) {
            line += random() % 2 == 0 ? pieces[random() % pieces.size()]
                                      : japanese[random() % japanese.size()];
        }
        lines.push_back(line);
    }
    return lines;
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};

// The dictionary collation as it is defined: ICU's Japanese rules with
// hyphens and apostrophes made completely ignorable, compared up to the
// second level, ties broken by the bytes; the headwords (up to the first TAB)
// first, then the rests.
class DefinedCollation {
  public:
    DefinedCollation() {
        UErrorCode err = U_ZERO_ERROR;
        std::unique_ptr<UCollator, CollatorCloser> ja(ucol_open("ja", &err));
        int32_t length = 0;
        const UChar* jaRules = ucol_getRules(ja.get(), &length);
        std::u16string rules(reinterpret_cast<const char16_t*>(jaRules),
                             static_cast<size_t>(length));
        rules += u"&[last tertiary ignorable] = '-' = '' = \u2010 = \u2019";
        UParseError parseError;
        collator_.reset(ucol_openRules(reinterpret_cast<const UChar*>(rules.data()),
                                       static_cast<int32_t>(rules.size()), UCOL_DEFAULT,
                                       UCOL_SECONDARY, &parseError, &err));
        EXPECT_TRUE(U_SUCCESS(err));
    }

    int Compare(const std::string& a, const std::string& b) const {
        const std::u16string ua = Cp932ToUtf16(a);
        const std::u16string ub = Cp932ToUtf16(b);
        const size_t ta = std::min(ua.find(u'\t'), ua.size());
        const size_t tb = std::min(ub.find(u'\t'), ub.size());
        const size_t ba = std::min(a.find('\t'), a.size());
        const size_t bb = std::min(b.find('\t'), b.size());
        if (const int order = Collate(ua.substr(0, ta), ub.substr(0, tb))) {
            return order;
        }
        if (const int order = Sign(a.substr(0, ba).compare(b.substr(0, bb)))) {
            return order;
        }
        if (const int order = Collate(ua.substr(ta), ub.substr(tb))) {
            return order;
        }
        return Sign(a.substr(ba).compare(b.substr(bb)));
    }

  private:
    int Collate(const std::u16string& a, const std::u16string& b) const {
        const UCollationResult r =
            ucol_strcoll(collator_.get(), reinterpret_cast<const UChar*>(a.data()),
                         static_cast<int32_t>(a.size()), reinterpret_cast<const UChar*>(b.data()),
                         static_cast<int32_t>(b.size()));
        return r == UCOL_EQUAL ? 0 : r == UCOL_LESS ? -1 : 1;
    }

    std::unique_ptr<UCollator, CollatorCloser> collator_;
};

TEST(CollationTest, CompareAndSortKeysFollowTheDefinedCollation) {
    const DefinedCollation defined;
    Collation collation;
    auto expectSameOrder = [&](const std::string& a, const std::string& b) {
        SCOPED_TRACE(Cp932ToUtf8(a) + " | " + Cp932ToUtf8(b));
        const int expected = defined.Compare(a, b);
        EXPECT_EQ(Sign(collation.Compare(a, b)), expected);
        EXPECT_EQ(Sign(collation.SortKey(a).compare(collation.SortKey(b))), expected);
    };
    // A prolonged-sound or iteration mark after a hyphen or apostrophe is
    // not read in the context of the kana before the sign.
    const std::vector<std::string> marks =
        ToCp932({"アー", "ア-ー", "ア‐ー", "アア", "ア-ア", "ア", "かゝ", "か'ゝ", "か’ゞ", "かか",
                 "かが", "ｶｰ", "ｶ-ｰ", "ｶｱ", "e-mail", "email", "Email", "em ail"});
    for (const std::string& a : marks) {
        for (const std::string& b : marks) {
            expectSameOrder(a, b);
        }
    }
    std::mt19937 random(3);
    const std::vector<std::string> lines = RandomLines(random, 1500);
    for (size_t i = 0; i < lines.size(); ++i) {
        expectSameOrder(lines[i], lines[(i * 7 + 1) % lines.size()]);
    }
}

// Sorting by decoded lines and ICU's comparison gives exactly the order of
// the sort keys, on lines that tie at the first level (marks read in context,
// case, width, hyphens), on random lines with broken bytes, and on many lines
// of one headword, which the beginnings of their rests order.
TEST(CollationTest, SortIndexesGivesTheOrderOfCompare) {
    std::mt19937 random(13);
    std::vector<std::string> lines = RandomLines(random, 3000);
    for (const std::string& head : ToCp932({"a", "ア", "ー", ""})) {
        for (const std::string& rest : RandomLines(random, 500)) {
            lines.push_back(head + "\t" + rest);
            lines.push_back(head + "\t" + Utf8ToCp932("【名】") + rest);
        }
    }
    for (const std::string& head : ToCp932(
             {"アー", "ア-ー", "アア", "ああ", "ｱｱ", "かゝ", "かか", "かが", "e-mail", "Email"})) {
        for (const char* rest : {"", "\t", "\tx", "\tX", "\t-x", "\t\x81", " \ty"}) {
            lines.push_back(head + rest);
            lines.push_back(head + rest);
        }
    }
    std::shuffle(lines.begin(), lines.end(), random);
    Collation collation;
    std::vector<std::string> expected = lines;
    std::sort(expected.begin(), expected.end(), [&](const std::string& a, const std::string& b) {
        return collation.Compare(a, b) < 0;
    });
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    std::vector<std::uint32_t> order(lines.size());
    std::iota(order.begin(), order.end(), 0u);
    collation.SortIndexes(views, order);
    std::vector<std::string> sorted;
    for (std::uint32_t i : order) {
        sorted.push_back(lines[i]);
    }
    EXPECT_EQ(sorted, expected);
}

// A headword key decides only where the whole line's order agrees, and a key
// cut short is the beginning of the whole key.
TEST(CollationTest, HeadwordKeysAgreeWithTheOrder) {
    Collation collation;
    std::mt19937 random(5);
    std::vector<std::string> lines = RandomLines(random, 600);
    const std::vector<std::string> heads = {"a", "a-b", "ab", "Ab", "abc", "a b", "ｶ", "カ", "ガ"};
    for (const std::string& head : heads) {
        for (const char* rest : {"", "\t", "\tx", "\tX", "\t\x81", " \ty"}) {
            lines.push_back(head + rest);
        }
    }
    std::vector<std::string> keys;
    for (const std::string& line : lines) {
        std::string key;
        collation.AppendHeadwordKey(line, key);
        for (size_t size : {1, 4, 12}) {
            std::string prefix = "x";
            collation.AppendHeadwordKeyPrefix(line, size, prefix);
            EXPECT_GE(prefix.size() - 1, std::min(size, key.size()));
            EXPECT_EQ(prefix.substr(1), key.substr(0, prefix.size() - 1));
        }
        keys.push_back(key);
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        for (size_t j = 0; j < lines.size(); j += 7) {
            if (keys[i] != keys[j]) {
                SCOPED_TRACE(Cp932ToUtf8(lines[i]) + " | " + Cp932ToUtf8(lines[j]));
                EXPECT_EQ(keys[i] < keys[j], collation.Compare(lines[i], lines[j]) < 0);
            }
        }
    }
}

// Plain ASCII headwords get their keys without ICU; they must be ICU's own
// first-level keys of the headword without its hyphens and apostrophes.
TEST(CollationTest, AsciiHeadwordKeysAreTheFirstLevelKeys) {
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<UCollator, CollatorCloser> ja(ucol_open("ja", &err));
    ucol_setStrength(ja.get(), UCOL_PRIMARY);
    Collation collation;
    std::mt19937 random(9);
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        const int length = static_cast<int>(random() % 24);
        for (int c = 0; c < length; ++c) {
            // Mostly letters, blanks and signs, at times any ASCII byte.
            line += random() % 4 == 0 ? static_cast<char>(random() % 128)
                                      : "aeiou tnsrlAEZ-'.,(0"[random() % 20];
        }
        const std::string head = line.substr(0, line.find('\t'));
        std::u16string text;
        for (char c : head) {
            if (c != '-' && c != '\'') {
                text += static_cast<char16_t>(c);
            }
        }
        uint8_t expected[256];
        const int32_t size = ucol_getSortKey(ja.get(), reinterpret_cast<const UChar*>(text.data()),
                                             static_cast<int32_t>(text.size()), expected, 256);
        std::string key;
        collation.AppendHeadwordKey(line, key);
        ASSERT_EQ(key,
                  std::string(reinterpret_cast<const char*>(expected), static_cast<size_t>(size)))
            << line;
    }
}

// ICU's first-level key of a headword, with the ignored signs as the
// collation hands them over (a character ICU ignores entirely).
std::string IcuFirstLevelKey(const UCollator* ja, const std::string& head) {
    std::u16string text = Cp932ToUtf16(head);
    for (char16_t& unit : text) {
        if (unit == u'-' || unit == u'\'' || unit == u'\u2010' || unit == u'\u2019') {
            unit = 0x0001;
        }
    }
    uint8_t key[1024];
    const int32_t size = ucol_getSortKey(ja, reinterpret_cast<const UChar*>(text.data()),
                                         static_cast<int32_t>(text.size()), key, 1024);
    return std::string(reinterpret_cast<const char*>(key), static_cast<size_t>(size));
}

// Every double-byte CP932 character that decodes to one character.
std::vector<std::string> DoubleByteCharacters() {
    std::vector<std::string> chars;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<char>(lead))) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string ch = {static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string text = Cp932ToUtf16(ch);
            if (text.size() == 1 && text[0] != u'\uFFFD') {
                chars.push_back(ch);
            }
        }
    }
    return chars;
}

// Headwords of kana, kanji and other double-byte characters get their keys
// from a table, not from ICU: they must be ICU's own first-level keys, also
// where ICU reads a character in the context of the one before (the long
// vowel mark and the iteration marks after a kana), which the table leaves
// to ICU. Every pair and many triples of kana and marks, and random headwords
// of every double-byte character mixed with ASCII.
TEST(CollationTest, DoubleByteHeadwordKeysAreTheFirstLevelKeys) {
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<UCollator, CollatorCloser> ja(ucol_open("ja", &err));
    ucol_setStrength(ja.get(), UCOL_PRIMARY);
    Collation collation;
    std::vector<std::string> kana;
    for (const std::string& ch : DoubleByteCharacters()) {
        if (ch[0] == '\x82' || ch[0] == '\x83') {
            kana.push_back(ch);
        }
    }
    for (const char* mark :
         {"ー", "ゝ", "ゞ", "ヽ", "ヾ", "々", "〆", "・", "‐", "’", "ａ", "漢"}) {
        kana.push_back(Utf8ToCp932(mark));
    }
    auto expectIcuKey = [&](const std::string& head) {
        std::string key;
        collation.AppendHeadwordKey(head + "\tx", key);
        ASSERT_EQ(key, IcuFirstLevelKey(ja.get(), head)) << Cp932ToUtf8(head);
    };
    for (const std::string& a : kana) {
        for (const std::string& b : kana) {
            expectIcuKey(a + b);
        }
    }
    std::mt19937 random(11);
    auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    for (int i = 0; i < 100000; ++i) {
        expectIcuKey(pick(kana) + pick(kana) + pick(kana));
    }
    const std::vector<std::string> all = DoubleByteCharacters();
    for (int i = 0; i < 50000; ++i) {
        std::string head;
        const int length = static_cast<int>(random() % 8);
        for (int c = 0; c < length; ++c) {
            const int kind = static_cast<int>(random() % 8);
            head += kind < 3   ? pick(all)
                    : kind < 6 ? pick(kana)
                               : std::string(1, "aZ0 -'.(x"[random() % 9]);
        }
        expectIcuKey(head);
        // The key of a whole text runs on over its TABs.
        const std::string text = head + "\t" + pick(kana) + "\ta" + pick(all);
        std::string key;
        collation.AppendTextKeyPrefix(text, std::string::npos, key);
        ASSERT_EQ(key, IcuFirstLevelKey(ja.get(), text)) << Cp932ToUtf8(text);
    }
}

// The table takes every CP932 character to have one weight whatever its
// neighbours, but for the long vowel mark and the iteration marks, which its
// entries check against ICU beside a few neighbours only. ICU's own lists
// prove it for all neighbours: no contraction is made of CP932 characters,
// and only those marks are read in the context of the character before.
TEST(CollationTest, OnlyTheMarksAreReadInContext) {
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<UCollator, CollatorCloser> ja(ucol_open("ja", &err));
    std::unique_ptr<USet, decltype(&uset_close)> contractions(uset_openEmpty(), uset_close);
    std::unique_ptr<USet, decltype(&uset_close)> withContexts(uset_openEmpty(), uset_close);
    ucol_getContractionsAndExpansions(ja.get(), contractions.get(), nullptr, false, &err);
    ucol_getContractionsAndExpansions(ja.get(), withContexts.get(), nullptr, true, &err);
    ASSERT_TRUE(U_SUCCESS(err));
    const std::u16string marks = u"\u30FC\u309D\u309E\u30FD\u30FE";
    std::u16string cp932;
    for (const std::string& ch : DoubleByteCharacters()) {
        cp932 += Cp932ToUtf16(ch);
    }
    for (int byte = 0; byte < 0x80; ++byte) {
        cp932 += static_cast<char16_t>(byte);
    }
    for (int32_t i = 0; i < uset_getItemCount(withContexts.get()); ++i) {
        UChar32 start = 0;
        UChar32 end = 0;
        UChar text[64];
        const int32_t length = uset_getItem(withContexts.get(), i, &start, &end, text, 64, &err);
        if (length < 2) {
            continue;
        }
        // A contraction is read from its first character; a context decides
        // how its last character is read.
        const bool contraction = uset_containsString(contractions.get(), text, length) != 0;
        const char16_t read = contraction ? text[0] : text[length - 1];
        // Only strings of CP932 characters can be met in a line.
        if (std::all_of(text, text + length,
                        [&](UChar unit) { return cp932.find(unit) != std::u16string::npos; })) {
            EXPECT_TRUE(!contraction && marks.find(read) != std::u16string::npos)
                << Cp932ToUtf8(Utf16ToCp932(std::u16string(text, text + length)));
        }
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
