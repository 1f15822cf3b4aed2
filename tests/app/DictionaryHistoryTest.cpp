// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DictionaryHistory.h"

#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "platform/Cp932.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

class DictionaryHistoryTest : public ::testing::Test {
  protected:
    test::TempDir tempDir_;
    fs::path dir_ = tempDir_.path();
    fs::path ini_ = dir_ / "tovix.INI";
};

// Most recent first, each once, cut to the limit; a shrinking list leaves no
// stale key behind that a larger limit would bring back.
TEST_F(DictionaryHistoryTest, RecentListMovesReopenedToFrontAndKeepsLimit) {
    EXPECT_TRUE(ReadRecentDictionaries(ini_, 10).empty());
    EXPECT_EQ(ReadLastDictionary(ini_), fs::path());
    const fs::path a = "/d/A.DIC", b = "/d/辞書/B.DIC", c = "/d/C.DIC";
    for (const fs::path& file : {a, b, c, a}) {
        NoteOpenedDictionary(ini_, file, 3);
    }
    EXPECT_EQ(ReadRecentDictionaries(ini_, 10), (std::vector<fs::path>{a, c, b}));
    EXPECT_EQ(ReadRecentDictionaries(ini_, 2), (std::vector<fs::path>{a, c}));
    EXPECT_EQ(ReadLastDictionary(ini_), a);

    NoteOpenedDictionary(ini_, b, 1);
    EXPECT_EQ(ReadRecentDictionaries(ini_, 10), (std::vector<fs::path>{b}));
    // With no history the last dictionary is still kept.
    NoteOpenedDictionary(ini_, c, 0);
    EXPECT_TRUE(ReadRecentDictionaries(ini_, 10).empty());
    EXPECT_EQ(ReadLastDictionary(ini_), c);
    // A path the CP932 settings file cannot hold is not kept at all.
    NoteOpenedDictionary(ini_, "/d/😀.DIC", 5);
    EXPECT_EQ(ReadLastDictionary(ini_), c);

    NoteOpenedDictionary(ini_, a, 5);
    ClearRecentDictionaries(ini_);
    EXPECT_TRUE(ReadRecentDictionaries(ini_, 10).empty());
    EXPECT_EQ(ReadLastDictionary(ini_), fs::path());
}

// Only found sets, only into empty lists; a list the user filled stays.
TEST_F(DictionaryHistoryTest, DefaultDictionariesGoOnlyIntoEmptyLists) {
    const fs::path shared = dir_ / "share";
    fs::create_directory(shared);
    test::WriteBytes(shared / "EDICT-EJ.DIC", "EDICT-EJ.DIC\r\n\r\n");
    EXPECT_EQ(RegisterDefaultDictionaries(ini_, shared), 1);
    const DictionaryList english = ReadDictionaryList(ini_, Direction::English);
    EXPECT_EQ(english[0],
              (DictionarySlot{Utf8ToCp932("EDICT 英和"), (shared / "EDICT-EJ.DIC").string(), "E"}));
    EXPECT_EQ(ReadDictionaryList(ini_, Direction::Japanese), DictionaryList());

    DictionaryList own;
    own[2] = {"Mine", "/m/MINE.DIC", ""};
    WriteDictionaryList(ini_, Direction::Japanese, own);
    test::WriteBytes(shared / "EDICT-JE.DIC", "EDICT-JE.DIC\r\n\r\n");
    EXPECT_EQ(RegisterDefaultDictionaries(ini_, shared), 0);
    EXPECT_EQ(ReadDictionaryList(ini_, Direction::Japanese), own);
    EXPECT_EQ(ReadDictionaryList(ini_, Direction::English), english);
}

}  // namespace
}  // namespace tovix
