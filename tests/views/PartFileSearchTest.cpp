// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/PartFileSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "components/BvStrings.h"
#include "components/MbString.h"
#include "platform/IoError.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

// What the line store makes of the file, searched line by line.
std::optional<int> PlainSearch(const std::filesystem::path& file, std::string_view text,
                               FindDirection direction) {
    TBvStrings lines;
    lines.LoadFromFile(file);
    LineMatcher matcher(text, false);
    std::optional<int> found;
    for (int n = 0; n < lines.Count(); ++n) {
        if (matcher.Holds(lines.View(n))) {
            found = n;
            if (direction == FindDirection::Down) {
                break;
            }
        }
    }
    return found;
}

// Files of several blocks whose lines end in CR LF, LF, a lone CR or LF CR,
// with lines longer than a block and hits on either side of block borders:
// the line found and its number must be those of the line store.
TEST(PartFileSearchTest, FindsTheLineTheLineStoreNumbers) {
    const std::string ends[] = {"\r\n", "\n", "\r", "\n\r"};
    std::mt19937 random(11);
    test::TempDir dir;
    const std::filesystem::path file = dir / "part.001";
    PartFileSearch search;
    for (int round = 0; round < 12; ++round) {
        std::string bytes;
        const bool crLfOnly = round % 3 == 0;
        while (bytes.size() < 700 * 1024) {
            const size_t length = random() % 50 == 0 ? 300 * 1024 + random() % 1000 : random() % 60;
            std::string line(length, 'x');
            if (random() % 400 == 0) {
                line.replace(random() % (length + 1), 0, random() % 2 ? "Needle" : "neeDLE");
            }
            bytes += line;
            bytes += crLfOnly ? "\r\n" : ends[random() % 4];
        }
        if (round % 2 == 1) {
            bytes += "last needle without a line end";
        }
        test::WriteBytes(file, bytes);
        for (const FindDirection direction : {FindDirection::Down, FindDirection::Up}) {
            LineMatcher matcher("needle", false);
            EXPECT_EQ(search.Search(file, matcher, direction),
                      PlainSearch(file, "needle", direction))
                << "round " << round << (direction == FindDirection::Down ? " down" : " up");
        }
    }
}

// The line test as the whole line shows it: the text's bytes at a character
// boundary of the line, both with their single-byte letters upper-cased.
bool WholeLineHolds(std::string line, std::string text) {
    for (std::string* s : {&line, &text}) {
        for (size_t place = 0; place < s->size();) {
            ChangeCharCase(*s, place, true, false);
        }
    }
    return MbFind(text, line) != std::string::npos;
}

// Lines of several blocks of double-byte characters whose trail bytes look
// like letters, with the text planted at character boundaries and inside
// characters (after a lead byte) on either side of the block borders: a
// long line searched a piece at a time holds the text exactly when the
// whole line does, and its number is the line store's.
TEST(PartFileSearchTest, LongLinesSearchedInPiecesAsWholeLines) {
    const std::string texts[] = {"needle", "NeEdLe", "\x83\x6E\x83\x65" "e", "\x82\xA0"};
    const std::string fillers[] = {"\x83\x6E", "\x83\x65", "x", "\x82\xA0", "n"};
    std::mt19937 random(23);
    test::TempDir dir;
    const std::filesystem::path file = dir / "part.001";
    PartFileSearch search;
    for (int round = 0; round < 16; ++round) {
        const std::string& text = texts[round % std::size(texts)];
        std::vector<std::string> lines;
        std::string bytes;
        for (int n = 0; n < 6; ++n) {
            std::string line;
            const size_t length =
                random() % 3 == 0 ? random() % 40 : 300 * 1024 + random() % 700'000;
            while (line.size() < length) {
                line += fillers[random() % std::size(fillers)];
            }
            if (random() % 3 == 0 && length > 1000) {
                // Near a block border, after a lead byte or not.
                const size_t at = (random() % (length / (256 * 1024) + 1)) * 256 * 1024;
                const size_t place = std::min(line.size(), at + random() % 16);
                line.insert(place, (random() % 2 ? "\x83" : "") + text);
            }
            lines.push_back(line);
            bytes += line + "\r\n";
        }
        test::WriteBytes(file, bytes);
        std::optional<int> first;
        std::optional<int> last;
        for (int n = 0; n < static_cast<int>(lines.size()); ++n) {
            if (WholeLineHolds(lines[static_cast<size_t>(n)], text)) {
                first = first ? first : n;
                last = n;
            }
        }
        LineMatcher matcher(text, false);
        EXPECT_EQ(search.Search(file, matcher, FindDirection::Down), first) << "round " << round;
        EXPECT_EQ(search.Search(file, matcher, FindDirection::Up), last) << "round " << round;
    }
}

TEST(PartFileSearchTest, NothingFoundAndMissingFile) {
    test::TempDir dir;
    test::WriteBytes(dir / "empty.001", "");
    PartFileSearch search;
    LineMatcher matcher("needle", true);
    EXPECT_EQ(search.Search(dir / "empty.001", matcher, FindDirection::Down), std::nullopt);
    EXPECT_THROW(search.Search(dir / "missing.001", matcher, FindDirection::Up), IoError);
}

}  // namespace
}  // namespace tovix
