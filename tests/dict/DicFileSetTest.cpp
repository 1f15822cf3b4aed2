// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/DicFileSet.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tovix {
namespace {

TEST(DicFileSetTest, NamesReplaceOnlyTheLastExtensionOfTheFileName) {
    struct Case {
        const char* dicFile;
        int part;
        const char* partFile;
        const char* tableFile;
        const char* globalTable;
    };
    const Case cases[] = {
        {"ENGTOJPN.DIC", 1, "ENGTOJPN.001", "ENGTOJPN.DAT", "ENGTOJPN.TBL"},
        {"ENGTOJPN.DIC", 26, "ENGTOJPN.026", "ENGTOJPN.DAT", "ENGTOJPN.TBL"},
        {"WORDS", 1, "WORDS.001", "WORDS.DAT", "WORDS.TBL"},
        {"dir.v2/WORDS", 45, "dir.v2/WORDS.045", "dir.v2/WORDS.DAT", "dir.v2/WORDS.TBL"},
        {"/home/u/辞書/JPN.TXT.DIC", 17, "/home/u/辞書/JPN.TXT.017", "/home/u/辞書/JPN.TXT.DAT",
         "/home/u/辞書/JPN.TXT.TBL"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PartFileName(c.dicFile, c.part).string(), c.partFile) << c.dicFile;
        EXPECT_EQ(TableFileName(c.dicFile).string(), c.tableFile) << c.dicFile;
        EXPECT_EQ(GlobalTableFileName(c.dicFile).string(), c.globalTable) << c.dicFile;
    }
}

TEST(DicFileSetTest, PartNumbersWithoutThreeDigitsAreRefused) {
    EXPECT_THROW(PartFileName("X.DIC", 0), std::out_of_range);
    EXPECT_THROW(PartFileName("X.DIC", 1000), std::out_of_range);
}

}  // namespace
}  // namespace tovix
