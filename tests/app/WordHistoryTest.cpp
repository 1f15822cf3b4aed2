// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WordHistory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

HistoryWord E(const std::string& text) {
    return {Direction::English, text};
}
HistoryWord J(const char* utf8) {
    return {Direction::Japanese, Utf8ToCp932(utf8)};
}

TEST(WordHistoryTest, AddKeepsEachWordOnceNewestLastWithinTheLimit) {
    WordHistory history(3);
    for (const HistoryWord& word : {E("apple"), J("さかな"), E("pear"), E("apple"), E("apple")}) {
        history.Add(word);
    }
    EXPECT_EQ(history.Words(), (std::vector<HistoryWord>{J("さかな"), E("pear"), E("apple")}));
    history.Add(E("fig"));
    EXPECT_EQ(history.Words(), (std::vector<HistoryWord>{E("pear"), E("apple"), E("fig")}));
    // Nothing that is not one short line of a direction.
    for (const HistoryWord& word : {E(""), E("a\tb"), E("a\r\nb"), E(std::string(256, 'a')),
                                    HistoryWord{Direction::None, "x"}}) {
        EXPECT_FALSE(history.Add(word));
    }
    history.SetLimit(1);
    EXPECT_EQ(history.Words(), (std::vector<HistoryWord>{E("fig")}));
    history.SetLimit(0);
    EXPECT_TRUE(history.Words().empty());
    EXPECT_FALSE(history.Add(E("kiwi")));
}

// Back and forward walk the words of one direction and pass over the word the
// field shows already.
TEST(WordHistoryTest, BackAndForwardStayInTheirDirection) {
    WordHistory history(10);
    for (const HistoryWord& word : {E("apple"), J("さかな"), E("pear"), E("fig")}) {
        history.Add(word);
    }
    EXPECT_EQ(history.Back(Direction::English, "fig"), "pear");
    EXPECT_EQ(history.Back(Direction::English, "pear"), "apple");
    EXPECT_EQ(history.Back(Direction::English, "apple"), std::nullopt);
    EXPECT_EQ(history.Forward(Direction::English, "apple"), "pear");
    EXPECT_EQ(history.Forward(Direction::English, "pear"), "fig");
    EXPECT_EQ(history.Forward(Direction::English, "fig"), std::nullopt);
    EXPECT_EQ(history.Back(Direction::Japanese, ""), Utf8ToCp932("さかな"));
    // A new word puts the cursor after the newest again.
    history.Add(E("kiwi"));
    EXPECT_EQ(history.Back(Direction::English, "ki"), "kiwi");
}

TEST(WordHistoryTest, FileRoundTripsAndDamagedFilesReadAsNone) {
    test::TempDir dir;
    const fs::path path = dir / "tovix.HIS";
    std::vector<HistoryWord> words;
    EXPECT_EQ(ReadWordHistory(path, words), HistoryRead::Missing);

    const std::vector<HistoryWord> kept = {E("apple"), J("さかな")};
    WriteWordHistory(path, kept);
    EXPECT_EQ(test::ReadBytes(path),
              "TovixHistory 1\r\nE\tapple\r\nJ\t" + Utf8ToCp932("さかな") + "\r\n");
    EXPECT_EQ(ReadWordHistory(path, words), HistoryRead::Read);
    EXPECT_EQ(words, kept);

    const std::string damaged[] = {
        "",
        "TovixHistory 2\r\n",
        "TovixHistory 1\r\nE\tapple",      // cut off
        "TovixHistory 1\r\nX\tapple\r\n",  // no direction
        "TovixHistory 1\r\nE apple\r\n",   // no TAB
        "TovixHistory 1\r\nE\t\r\n",       // empty word
        "TovixHistory 1\r\nE\ta\x01\r\n",  // control character
        "TovixHistory 1\nE\tapple\n",      // LF only
        "TovixHistory 1\r\nE\t" + std::string(256, 'a') + "\r\n",
        std::string(2 << 20, 'a'),  // far too large
    };
    for (const std::string& text : damaged) {
        test::WriteBytes(path, text);
        words = kept;
        EXPECT_EQ(ReadWordHistory(path, words), HistoryRead::Damaged) << text.substr(0, 40);
        EXPECT_TRUE(words.empty());
    }
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_EQ(ReadWordHistory(path, words), HistoryRead::Damaged);
}

// A write that fails leaves the old file whole.
TEST(WordHistoryTest, FailedWriteKeepsTheOldFile) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into a read-only folder";
    }
    test::TempDir dir;
    const fs::path path = dir / "tovix.HIS";
    WriteWordHistory(path, {E("apple")});
    const std::string before = test::ReadBytes(path);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(WriteWordHistory(path, {E("pear")}), IoError);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(test::ReadBytes(path), before);
}

}  // namespace
}  // namespace tovix
