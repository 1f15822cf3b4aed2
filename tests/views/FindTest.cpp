// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/Find.h"

#include <gtest/gtest.h>

#include "dict/DicFileSet.h"
#include "dict/LineStoreView.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

const std::vector<std::string> kEntries = {
    "apple\tりんご ABC", "apply\t適用する", "bank\t銀行 abc", "banana\tバナナ",  "cat\t猫",
    "dog\t犬 Abc",       "query\t質問?",    "zoo\t動物園",    "zebra\t縞馬 abc",
};

class FindFixture {
  public:
    explicit FindFixture(int part)
        : dicFile(test::BuildDictionary(dir, Direction::English, kEntries)) {
        search.direction = Direction::English;
        search.dicFile = dicFile;
        view.LoadFromFile(PartFileName(dicFile, part));
        search.currentPart = search.currentPartCopy = part;
    }

    FindOutcome Find(const std::string& utf8, FindDirection direction, bool matchCase = false) {
        SetFindText(find, utf8);
        find.direction = direction;
        find.matchCase = matchCase;
        return RunFind(search, find, view, reporter);
    }

    std::string Top() const { return Cp932ToUtf8(view.ViewLine(view.TopLine())); }

    test::TempDir dir;
    std::filesystem::path dicFile;
    SearchState search;
    FindState find;
    LineStoreView view;
    test::RecordingReporter reporter;
};

TEST(FindTest, FindsDownwardsAndUpwardsAcrossPartFiles) {
    struct Case {
        int startPart;
        const char* text;
        FindDirection direction;
        bool matchCase;
        FindOutcome outcome;
        int part;
        const char* top;
    };
    const Case cases[] = {
        {1, "りんご", FindDirection::Down, false, FindOutcome::Found, 1, "apple "},
        {1, "銀行", FindDirection::Down, false, FindOutcome::Found, 2, "bank "},
        {1, "abc", FindDirection::Down, false, FindOutcome::Found, 1, "apple "},
        {1, "abc", FindDirection::Down, true, FindOutcome::Found, 2, "bank "},
        {1, "Abc", FindDirection::Down, true, FindOutcome::Found, 4, "dog "},
        // Upwards from the top line: the translation below it is not searched.
        {26, "abc", FindDirection::Up, true, FindOutcome::Found, 2, "bank "},
        {4, "abc", FindDirection::Up, true, FindOutcome::Found, 2, "bank "},
        {4, "ABC", FindDirection::Up, true, FindOutcome::Found, 1, "apple "},
        {2, "猫", FindDirection::Up, false, FindOutcome::NotFound, 2, "banana "},
        // From a part without entries upwards into the parts before it.
        {24, "銀行", FindDirection::Up, false, FindOutcome::Found, 2, "bank "},
        {26, "りんご", FindDirection::Down, false, FindOutcome::NotFound, 26, "zebra "},
        // Guards: a character without a CP932 form was searched for as "?".
        {1, "?", FindDirection::Down, false, FindOutcome::Found, 17, "query "},
        {1, "🍎", FindDirection::Down, false, FindOutcome::NotFound, 1, "apple "},
        {26, "質問🍎", FindDirection::Up, false, FindOutcome::NotFound, 26, "zebra "},
    };
    for (const Case& c : cases) {
        FindFixture f(c.startPart);
        EXPECT_EQ(f.Find(c.text, c.direction, c.matchCase), c.outcome) << c.text;
        EXPECT_EQ(f.search.currentPart, c.part) << c.text;
        EXPECT_EQ(f.Top(), c.top) << c.text;
        EXPECT_TRUE(f.find.findRun);
        EXPECT_EQ(f.find.previousFindText, Utf8ToCp932(c.text));
    }
}

TEST(FindTest, ReFindSkipsTheEntryAtTheTopAndGoesBack) {
    FindFixture f(1);
    ASSERT_EQ(f.Find("ap", FindDirection::Down), FindOutcome::Found);
    EXPECT_EQ(f.Top(), "apple ");
    EXPECT_EQ(ReFindNext(f.search, f.find, f.view, f.reporter), FindOutcome::Found);
    EXPECT_EQ(f.Top(), "apply ");
    EXPECT_EQ(ReFindNext(f.search, f.find, f.view, f.reporter), FindOutcome::NotFound);
    EXPECT_EQ(f.Top(), "apply ");
    EXPECT_EQ(ReFindPrior(f.search, f.find, f.view, f.reporter), FindOutcome::Found);
    EXPECT_EQ(f.Top(), "apple ");
    // A hit on a translation line shows the entry from its headword.
    f.find.findText = Utf8ToCp932("適用");
    EXPECT_EQ(ReFindNext(f.search, f.find, f.view, f.reporter), FindOutcome::Found);
    EXPECT_EQ(f.find.foundLine, ViewLineIndex(3));
    EXPECT_EQ(f.Top(), "apply ");
}

TEST(FindTest, NothingToFind) {
    FindFixture f(1);
    EXPECT_EQ(ReFindNext(f.search, f.find, f.view, f.reporter), FindOutcome::NoFindText);
    EXPECT_EQ(FindNotice(FindOutcome::NoFindText), "    検索文字が設定されていません。   ");
    EXPECT_EQ(FindNotice(FindOutcome::NotFound), "    検索文字はありませんでした。   ");
    EXPECT_EQ(f.Find("", FindDirection::Down), FindOutcome::Cancelled);
    EXPECT_FALSE(f.find.findRun);
    // Bytes that stand only across a character boundary: the trail byte of
    // り (82 E8) and the lead byte of ん (82 F1).
    f.find.findText = "\xE8\x82";
    EXPECT_EQ(RunFind(f.search, f.find, f.view, f.reporter), FindOutcome::NotFound);
    f.search.direction = Direction::None;
    EXPECT_EQ(f.Find("apple", FindDirection::Down), FindOutcome::NotFound);
}

TEST(FindTest, UnreadablePartFileIsReportedAndTheViewStays) {
    FindFixture f(1);
    std::filesystem::remove(PartFileName(f.dicFile, 2));
    EXPECT_EQ(f.Find("銀行", FindDirection::Down), FindOutcome::ReadFailed);
    ASSERT_EQ(f.reporter.messages.size(), 1u);
    EXPECT_EQ(f.reporter.messages[0].text,
              "   " + PartFileName(f.dicFile, 2).string() +
                  " の\r\n   辞書ファイルがオープンできません。          ");
    EXPECT_EQ(f.search.currentPart, 1);
    EXPECT_EQ(f.Top(), "apple ");
}

TEST(FindTest, LineTestRespectsCharacterBoundariesAndCase) {
    EXPECT_TRUE(LineHolds("xxABCx", "abc", false));
    EXPECT_FALSE(LineHolds("xxABCx", "abc", true));
    // ア is 83 41: its trail byte is no "A", in either case mode.
    EXPECT_FALSE(LineHolds(Utf8ToCp932("ア"), "a", false));
    EXPECT_FALSE(LineHolds(Utf8ToCp932("ア"), "A", true));
    EXPECT_TRUE(LineHolds(Utf8ToCp932("アa"), "A", false));
    // The window marks the hit at its byte offset, past look-alike bytes.
    EXPECT_EQ(HitPlace(Utf8ToCp932("アxaA"), "A", false), 3u);
    EXPECT_EQ(HitPlace(Utf8ToCp932("アxaA"), "A", true), 4u);
    EXPECT_EQ(HitPlace(Utf8ToCp932("ア"), "A", false), std::string_view::npos);
}

}  // namespace
}  // namespace tovix
