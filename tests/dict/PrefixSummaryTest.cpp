// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/PrefixSummary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "components/MbString.h"
#include "dict/KanaText.h"

namespace tovix {
namespace {

// The test the lookup makes of a headword, reduced to what the summary relies
// on: the line begins with the text, single-byte letters compared without
// case, a katakana as its hiragana.
bool BeginsWith(std::string_view line, std::string_view text) {
    if (line.size() < text.size()) {
        return false;
    }
    for (size_t place = 0; place < text.size();) {
        const size_t start = place;
        const std::string_view ch = text.substr(start, NextChar(text, place));
        const std::string_view other = line.substr(start, ch.size());
        if (ch.size() == 1 ? AsciiLower(ch[0]) != AsciiLower(other[0])
                           : KataToHiraChar(ch) != KataToHiraChar(other)) {
            return false;
        }
    }
    return true;
}

auto LineAt(const std::vector<std::string>& lines) {
    return [&lines](int n) { return std::string_view(lines[static_cast<size_t>(n)]); };
}

int PlainScan(const std::vector<std::string>& lines, int from, int last, std::string_view text) {
    for (int n = from; n <= last; n += 2) {
        if (BeginsWith(lines[static_cast<size_t>(n)], text)) {
            return n;
        }
    }
    return -1;
}

std::string RandomText(std::mt19937& random, size_t maxSize) {
    // Letters of both cases, a trail byte that is '[', the bytes of ア (83 41)
    // and あ (82 A0), a blank, NUL, and the hyphen and apostrophe that the
    // prefixes leave out, so that short lines, padding, case and kana folding
    // and left-out bytes all meet.
    static const std::string kBytes =
        std::string("aAbB[ \x83-'\x82\xA0", 11) + std::string(1, '\0');
    std::string text(random() % (maxSize + 1), ' ');
    for (char& c : text) {
        c = kBytes[random() % kBytes.size()];
    }
    return text;
}

// Sorted lines (as a part is) and shuffled ones (as a hand-edited part may
// be): the summary must find exactly what a line-by-line scan finds.
TEST(PrefixSummaryTest, FindsWhatAPlainScanFinds) {
    std::mt19937 random(7);
    for (const bool sorted : {true, false}) {
        std::vector<std::string> lines(700);
        for (std::string& line : lines) {
            line = RandomText(random, 11);
        }
        if (sorted) {
            std::sort(lines.begin(), lines.end());
        }
        const int count = static_cast<int>(lines.size());
        PrefixSummary summary(count);
        for (int trial = 0; trial < 3000; ++trial) {
            const int from = static_cast<int>(random() % lines.size());
            const int last = std::min(count - 1, from + static_cast<int>(random() % 400));
            const std::string text = trial % 3 == 0
                                         ? lines[random() % lines.size()].substr(0, random() % 10)
                                         : RandomText(random, 10);
            const int found = summary.FindFirst(from, last, text, LineAt(lines), [&](int n) {
                return BeginsWith(lines[static_cast<size_t>(n)], text);
            });
            ASSERT_EQ(found, PlainScan(lines, from, last, text))
                << (sorted ? "sorted" : "shuffled") << " from " << from << " to " << last;
        }
    }
}

TEST(PrefixSummaryTest, LinesBeyondTheSummaryAreStillTested) {
    const std::vector<std::string> lines = {"abc", "x", "abd", "y"};
    PrefixSummary summary(2);
    const int found = summary.FindFirst(0, 3, "abd", LineAt(lines), [&](int n) {
        return BeginsWith(lines[static_cast<size_t>(n)], "abd");
    });
    EXPECT_EQ(found, 2);
}

// Runs of lines that all need case folding or have left-out bytes, between
// runs that cannot match: the match must be found in the middle run.
TEST(PrefixSummaryTest, CaseAndLeftOutBytesNeverHideAMatch) {
    struct Case {
        const char* line;
        const char* text;
    };
    const Case cases[] = {
        {"ABCDEFGHIJ", "abc"},       {"abcdefghij", "ABCDEFGH"},
        {"O'NEILL-X1", "o'neill-x"}, {"e-mail address", "E-MAIL"},
        {"I'll do it now", "i'll"},  {"ZZ-TOP band", "zz-t"},
        {"--------xy", "--------x"}, {"Q", "q"},
    };
    const int run = 2 * PrefixSummary::kChunkLines;
    for (const Case& c : cases) {
        std::vector<std::string> lines(static_cast<size_t>(3 * run), "zzzzzzzzzz");
        std::fill_n(lines.begin() + run, run, c.line);
        PrefixSummary summary(3 * run);
        for (int from : {0, 1}) {
            const int found = summary.FindFirst(
                from, 3 * run - 1, c.text, LineAt(lines),
                [&](int n) { return BeginsWith(lines[static_cast<size_t>(n)], c.text); });
            EXPECT_EQ(found, run + from) << c.line << " / " << c.text;
        }
    }
}

}  // namespace
}  // namespace tovix
