// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/PartFileSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "components/BvStrings.h"
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
