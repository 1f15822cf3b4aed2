// SPDX-License-Identifier: GPL-3.0-or-later
// Dictionaries built before the table builder keyed every kana where the
// collation sorts it (and before apostrophes stopped counting in English
// keys): the search still finds in them everything it found, and a remake
// brings the rest.

#include <gtest/gtest.h>

#include <map>

#include "dict/DicFileSet.h"
#include "dict/KeyAlphabet.h"
#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/OpenDictionary.h"
#include "support/BuildDictionary.h"
#include "tools/SplitSteps.h"

namespace tovix {
namespace {

struct Word {
    const char* text;
    bool foundBefore;  // by the search of that time, in the set of that time
    bool foundNow;     // by today's search, in the same set
};

// The global table the old builder wrote for the sorted entries, given as
// the slots where its value changes (every other slot repeats the one before).
void WriteOldGlobalTable(const std::filesystem::path& path, Direction direction,
                         const std::map<std::string, int>& changes) {
    std::string text = std::string(BlockMarkerKey(direction)) + "=0\r\n";
    int value = direction == Direction::English ? -1 : 0;
    const int n = AlphabetSize(direction);
    for (int p = 1; p <= n; ++p) {
        for (int q = 1; q <= n; ++q) {
            const std::string key =
                std::string(AlphabetChar(direction, p)) + std::string(AlphabetChar(direction, q));
            auto it = changes.find(Cp932ToUtf8(key));
            value = it == changes.end() ? value : it->second;
            text += key + "=" + std::to_string(value) + "\r\n";
        }
    }
    test::WriteBytes(path, text);
}

// The set as the old builder made it: the same sorted pair file, split by
// the old table. It has no written-form file.
std::filesystem::path OldSet(const test::TempDir& dir, Direction direction,
                             const std::vector<std::string>& entries,
                             const std::map<std::string, int>& oldTable) {
    const std::filesystem::path dic = test::BuildDictionary(dir, direction, entries);
    WriteOldGlobalTable(GlobalTableFileName(dic), direction, oldTable);
    test::RecordingReporter reporter;
    ToolJob job(reporter, dir / "work");
    job.Source = job.WorkFile("TOVIXSEP.TXT").string();
    job.Dest = GlobalTableFileName(dic).string();
    job.Extra = dic.string();
    job.DatName = TableFileName(dic).string();
    SplitTovix(job, direction);
    job.CommitOutputs(dic);
    EXPECT_FALSE(job.Failed);
    return dic;
}

// Types the word into a freshly opened dictionary; true when the last
// keystroke matched.
bool Found(const std::filesystem::path& dic, Direction direction, const std::string& word) {
    OpenedDictionary opened = OpenDictionary(dic, direction);
    EXPECT_TRUE(opened.Opened());
    SearchState state;
    state.direction = direction;
    state.dicFile = dic;
    state.table = std::move(opened.table);
    LineStoreView view;
    test::RecordingReporter reporter;
    std::string field;
    LookupOutcome outcome;
    for (char16_t key : Cp932ToUtf16(Utf8ToCp932(word))) {
        outcome = Lookup(state, view, reporter, field + Utf16ToCp932(std::u16string(1, key)));
        field = outcome.fieldText;
    }
    return outcome.matched;
}

TEST(OldSetLookupTest, OldSetsFindWhatTheyFoundAndRemakeFindsTheRest) {
    const std::vector<std::string> entries = {
        "あい[愛]\tlove",      "あ・かぺら[ア・カペラ]\ta cappella",
        "ゝ\titeration mark",  "ー\tlong vowel",
        "っちょ\tsuffix",      "つち[土]\tsoil",
        "めいし[名刺]\tcard",  "めをうばう[目を奪う]\tcaptivate",
        "わん[椀]\tbowl",      "をかし\tcharming",
        "うた[歌]\tsong",      "ヴぁいおりん[ヴァイオリン]\tviolin",
        "きょう[今日]\ttoday", "きよい[清い]\tpure",
    };
    const std::map<std::string, int> oldTable = {
        {"ああ", 4},  {"あい", 6},  {"うあ", 10}, {"きあ", 12},
        {"きよ", 14}, {"つあ", 16}, {"めあ", 20}, {"わあ", 24},
    };
    const Word words[] = {
        {"あい", true, true},     {"あ・かぺら", false, true},  {"ゝ", false, true},
        {"ー", false, true},      {"っちょ", false, false},     {"つち", true, true},
        {"めいし", true, true},   {"めをうばう", false, false}, {"わん", true, true},
        {"をかし", false, false}, {"うた", true, true},         {"ヴぁいおりん", false, true},
        {"きょう", true, true},   {"きよい", true, true},
    };
    test::TempDir dir;
    const std::filesystem::path dic = OldSet(dir, Direction::Japanese, entries, oldTable);
    for (const Word& w : words) {
        EXPECT_EQ(Found(dic, Direction::Japanese, w.text), w.foundNow) << w.text;
        EXPECT_TRUE(w.foundNow || !w.foundBefore) << w.text;
    }

    test::RecordingReporter reporter;
    ToolJob job(reporter, dir / "work");
    job.InName1 = dic.string();
    ASSERT_TRUE(ReMakeTovix(job, Direction::Japanese));
    for (const Word& w : words) {
        EXPECT_TRUE(Found(dic, Direction::Japanese, w.text)) << w.text << " after the remake";
    }
}

}  // namespace
}  // namespace tovix
