// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/OpenDictionary.h"

#include <gtest/gtest.h>

#include "dict/DicFileSet.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

std::string Warning(const std::filesystem::path& file, const std::string& text) {
    return "   " + file.string() + " の\r\n   " + text + "          ";
}

// The checks come in order, each naming its file; a failed opening hands
// back nothing read.
TEST(OpenDictionaryTest, OpensTheFileAndItsTableOrSaysWhichFailed) {
    test::TempDir dir;
    const std::filesystem::path eng =
        test::BuildDictionary(dir, Direction::English, {"bank\t銀行"}, "E.DIC");
    const std::filesystem::path jpn =
        test::BuildDictionary(dir, Direction::Japanese, {"かんじ[漢字]\tkanji"}, "J.DIC");
    test::WriteBytes(dir / "DAMAGED.DIC", "DAMAGED.DIC\r\n");
    test::WriteBytes(dir / "DAMAGED.DAT", "aa=1\r\nab=x\r\n");
    test::WriteBytes(dir / "DIRTABLE.DIC", "DIRTABLE.DIC\r\n");
    std::filesystem::create_directory(dir / "DIRTABLE.DAT");
    const std::string missing = "指定された辞書ファイルが存在しません。";
    const std::string unreadable = "指定された辞書ファイルがオープンできません。";
    const std::string noTable = "指定された辞書テーブルファイルがオープンできませんでした。";
    struct Case {
        std::filesystem::path file;
        Direction direction;
        OpenFailure failure;
        std::string message;
    };
    const Case cases[] = {
        {eng, Direction::English, OpenFailure::None, ""},
        {jpn, Direction::Japanese, OpenFailure::None, ""},
        {dir / "NONE.DIC", Direction::English, OpenFailure::Missing,
         Warning(dir / "NONE.DIC", missing)},
        {dir.path(), Direction::English, OpenFailure::Missing, Warning(dir.path(), missing)},
        // A regular file that cannot be read from its start.
        {"/proc/self/mem", Direction::English, OpenFailure::Unreadable,
         Warning("/proc/self/mem", unreadable)},
        // A table of the other direction does not fit.
        {jpn, Direction::English, OpenFailure::TableUnreadable,
         Warning(TableFileName(jpn), noTable)},
        {dir / "DAMAGED.DIC", Direction::English, OpenFailure::TableUnreadable,
         Warning(dir / "DAMAGED.DAT", noTable)},
        {dir / "DIRTABLE.DIC", Direction::English, OpenFailure::TableUnreadable,
         Warning(dir / "DIRTABLE.DAT", noTable)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.string());
        const OpenedDictionary opened = OpenDictionary(c.file, c.direction);
        EXPECT_EQ(opened.failure, c.failure);
        EXPECT_EQ(opened.message, c.message);
        EXPECT_EQ(opened.Opened(), c.failure == OpenFailure::None);
        if (opened.Opened()) {
            TBvStrings file;
            file.LoadFromFile(c.file);
            EXPECT_EQ(opened.lines.GetText(), file.GetText());
            EXPECT_GT(opened.table.Count(), 0);
        } else {
            EXPECT_EQ(opened.lines.Count(), 0);
            EXPECT_EQ(opened.table.Count(), 0);
        }
    }
}

}  // namespace
}  // namespace tovix
