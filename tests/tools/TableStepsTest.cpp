// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "dict/DicFileSet.h"
#include "dict/DicTable.h"
#include "dict/KeyAlphabet.h"
#include "dict/KeyRange.h"
#include "platform/Cp932.h"
#include "platform/MessageText.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"
#include "tools/SplitSteps.h"
#include "tools/Steps.h"

namespace tovix {
namespace {

struct Entry {
    const char* head;  // UTF-8, as in the work file
    const char* translation;
};

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t end; (end = bytes.find("\r\n", from)) != std::string::npos; from = end + 2) {
        lines.push_back(bytes.substr(from, end - from));
    }
    EXPECT_EQ(from, bytes.size()) << "text after the last line end";
    return lines;
}

// Key -> value of a global table or one block of a table file.
std::map<std::string, int> Values(const std::vector<std::string>& lines, size_t first, size_t count,
                                  Direction direction) {
    std::map<std::string, int> values;
    const size_t keyBytes = static_cast<size_t>(KeyBytes(direction));
    for (size_t i = first; i < first + count; ++i) {
        values[Cp932ToUtf8(lines[i].substr(0, keyBytes))] =
            std::stoi(lines[i].substr(keyBytes + 1));
    }
    return values;
}

// A dictionary file set built from work lines by the table builder and the
// split step, with the user's files committed as a command does.
class SetFixture : public ::testing::Test {
  protected:
    SetFixture() { std::filesystem::create_directories(job.workDir); }

    void WriteWork(const std::vector<Entry>& entries) {
        std::string work;
        std::string pair;
        for (const Entry& e : entries) {
            work += Utf8ToCp932(e.head) + "\t" + Utf8ToCp932(e.translation) + "\r\n";
            pair += Utf8ToCp932(e.head) + "\r\n\t" + Utf8ToCp932(e.translation) + "\r\n";
        }
        test::WriteBytes(job.WorkFile("TOVIXSRT.TXT"), work);
        test::WriteBytes(job.WorkFile("TOVIXSEP.TXT"), pair);
    }

    void MakeTable(Direction direction) {
        job.Source = job.WorkFile("TOVIXSRT.TXT").string();
        job.Dest = GlobalTableFileName(dic).string();
        direction == Direction::English ? MakeTableEng(job) : MakeTableJpn(job);
    }

    long long Split(Direction direction) {
        job.Source = job.WorkFile("TOVIXSEP.TXT").string();
        job.Dest = GlobalTableFileName(dic).string();
        job.Extra = dic;
        job.DatName = TableFileName(dic).string();
        return SplitTovix(job, direction);
    }

    long long Build(Direction direction, const std::vector<Entry>& entries) {
        WriteWork(entries);
        MakeTable(direction);
        const long long kept = Split(direction);
        EXPECT_FALSE(job.Failed);
        job.CommitOutputs();
        return kept;
    }

    std::vector<std::string> Part(int part) {
        EXPECT_TRUE(std::filesystem::exists(PartFileName(dic, part)));
        return Lines(test::ReadBytes(PartFileName(dic, part)));
    }

    test::TempDir dir;
    test::RecordingReporter reporter;
    ToolJob job{reporter, dir / "work"};
    std::string dic = (dir / "D.DIC").string();
};

TEST_F(SetFixture, AppleApplyBankGivesTheWorkedTableAndParts) {
    Build(Direction::English, {{"apple ", "りんご"}, {"apply ", "適用する"}, {"bank ", "銀行"}});

    const auto global = Lines(test::ReadBytes(GlobalTableFileName(dic)));
    ASSERT_EQ(global.size(), 677u);
    EXPECT_EQ(global[0], "**=0");
    for (const auto& [key, value] : Values(global, 1, 676, Direction::English)) {
        const int expected = key[0] == 'a' ? (key[1] < 'p' ? 0 : 2) : 4;
        EXPECT_EQ(value, expected) << key;
    }

    EXPECT_EQ(Part(1), (std::vector<std::string>{"apple ", "\t" + Utf8ToCp932("りんご"), "apply ",
                                                 "\t" + Utf8ToCp932("適用する")}));
    EXPECT_EQ(Part(2), (std::vector<std::string>{"bank ", "\t" + Utf8ToCp932("銀行")}));
    for (int part = 3; part <= 26; ++part) {
        EXPECT_TRUE(Part(part).empty()) << part;
    }
    EXPECT_EQ(test::ReadBytes(dic), Utf8ToCp932(dic) + "\r\n\r\n");

    const auto dat = Lines(test::ReadBytes(TableFileName(dic)));
    ASSERT_EQ(dat.size(), 26u * 27u);
    for (size_t block = 0; block < 26; ++block) {
        EXPECT_EQ(dat[block * 27], "**=0");
        for (const auto& [key, value] : Values(dat, block * 27 + 1, 26, Direction::English)) {
            EXPECT_EQ(value, block == 0 && key[1] >= 'p' ? 2 : 0) << key;
        }
    }
}

TEST_F(SetFixture, GlobalTableKeys) {
    struct Case {
        const char* name;
        Direction direction;
        std::vector<Entry> entries;
        std::map<std::string, int> expected;
    };
    const Case cases[] = {
        {"one-letter headword only as first entry",
         Direction::English,
         {{"3D ", "三次元"}, {"a ", "一つの"}, {"able ", "できる"}},
         {{"aa", 2}, {"ab", 4}, {"az", 4}}},
        {"hyphens and capitals do not count",
         Direction::English,
         {{"E-Mail ", "電子メール"}, {"-ism ", "主義"}},
         {{"ea", 0}, {"em", 0}, {"ia", 2}, {"is", 2}}},
        {"no entry of a: part 1 ends with the signs",
         Direction::English,
         {{"3D ", "三次元"}, {"bank ", "銀行"}, {"bar ", "酒場"}},
         {{"aa", 0}, {"az", 0}, {"ba", 4}, {"bz", 4}}},
        {"no entry before b at all",
         Direction::English,
         {{"bank ", "銀行"}},
         {{"aa", -1}, {"az", -1}, {"ba", 0}, {"zz", 0}}},
        {"empty E-J", Direction::English, {}, {{"aa", -1}, {"zz", -1}}},
        {"apostrophes do not count either",
         Direction::English,
         {{"oak ", "樫"}, {"o'clock ", "時"}, {"odd ", "奇妙な"}},
         {{"oa", 0}, {"oc", 2}, {"od", 4}}},
        {"voiced kana key as plain",
         Direction::Japanese,
         {{"かく [角]", "angle"}, {"がくせい [学生]", "student"}, {"かさ [傘]", "umbrella"}},
         {{"かあ", 0}, {"かく", 2}, {"かさ", 4}}},
        {"small second kana keys as full size",
         Direction::Japanese,
         {{"きく [菊]", "chrysanthemum"},
          {"きよい [清い]", "pure"},
          {"きょう [今日]", "today"},
          {"きる [切る]", "cut"}},
         {{"きく", 0}, {"きゆ", 0}, {"きよ", 4}, {"きる", 6}}},
        {"every kana keyed where it sorts",
         Direction::Japanese,
         {{"うい [憂い]", "sad"},
          {"ヴぃでお [ビデオ]", "video"},
          {"つち [土]", "soil"},
          {"っちょ [っちょ]", "suffix"},
          {"めいし [名刺]", "card"},
          {"めをうばう [目を奪う]", "captivate"},
          {"わん [椀]", "bowl"},
          {"をかし [をかし]", "charming"}},
         {{"うい", 2}, {"つち", 6}, {"めい", 8}, {"めわ", 10}, {"わわ", 12}, {"わん", 14}}},
        {"no entry of あ",
         Direction::Japanese,
         {{"いえ [家]", "house"}},
         {{"ああ", -1}, {"あん", -1}, {"いあ", 0}, {"いえ", 0}}},
        {"empty J-E", Direction::Japanese, {}, {{"ああ", 0}, {"んん", 0}}},
    };
    for (const Case& c : cases) {
        WriteWork(c.entries);
        MakeTable(c.direction);
        ASSERT_FALSE(job.Failed) << c.name;
        const auto lines = Lines(test::ReadBytes(job.ReadPath(job.Dest)));
        const int n = AlphabetSize(c.direction);
        ASSERT_EQ(lines.size(), static_cast<size_t>(n * n + 1)) << c.name;
        const auto values = Values(lines, 1, static_cast<size_t>(n * n), c.direction);
        for (const auto& [key, value] : c.expected) {
            EXPECT_EQ(values.at(key), value) << c.name << ": " << key;
        }
        // Over the pair file of the same entries (as when gathered entries
        // are built) the table is the same.
        const std::string fromWork = test::ReadBytes(job.ReadPath(job.Dest));
        job.Source = job.WorkFile("TOVIXSEP.TXT").string();
        c.direction == Direction::English ? MakePairTableEng(job) : MakePairTableJpn(job);
        EXPECT_EQ(test::ReadBytes(job.ReadPath(job.Dest)), fromWork) << c.name;
    }
}

// Builds each set, then checks that the parts hold the pair file exactly
// once and in order, and that the search finds each word through the
// table file inside its initial's part.
TEST_F(SetFixture, EveryEntryLiesWhereTheSearchFindsIt) {
    struct Lookup {
        const char* key;
        const char* head;
    };
    struct Case {
        const char* name;
        Direction direction;
        std::vector<Entry> entries;
        std::vector<Lookup> lookups;
        long long kept;
        std::map<int, size_t> partLines;
    };
    const Case cases[] = {
        {"signs stay in part 1, b in part 2",
         Direction::English,
         {{"3D ", "三次元"}, {"bank ", "銀行"}, {"bar ", "酒場"}},
         {{"aa", "3D "}, {"ba", "bank "}, {"ba", "bar "}},
         0,
         {{1, 2}, {2, 4}}},
        // Guards: only the first of an initial's headwords of a letter and a
        // blank or sign was keyed, so after signs the search missed "a bit",
        // and "q tip" went into the part of r.
        {"every letter-and-blank headword under its first key",
         Direction::English,
         {{"3D ", "三次元"},
          {"a bit ", "少し"},
          {"a lot ", "たくさん"},
          {"a.m. ", "午前"},
          {"able ", "できる"},
          {"q fever ", "Q熱"},
          {"q tip ", "綿棒"},
          {"rain ", "雨"}},
         {{"aa", "a bit "}, {"aa", "a lot "}, {"aa", "a.m. "}, {"qa", "q tip "}, {"ra", "rain "}},
         0,
         {{1, 10}, {17, 4}, {18, 2}}},
        {"kana headwords kept after z",
         Direction::English,
         {{"apple ", "りんご"}, {"zoo ", "動物園"}, {"りんご ", "apple"}, {"ワイン ", "wine"}},
         {{"ap", "apple "}, {"zo", "zoo "}},
         2,
         {{1, 2}, {26, 6}}},
        {"no あ: い stays in its part",
         Direction::Japanese,
         {{"いえ [家]", "house"}, {"いぬ [犬]", "dog"}, {"うみ [海]", "sea"}},
         {{"いえ", "いえ [家]"}, {"いぬ", "いぬ [犬]"}, {"うみ", "うみ [海]"}},
         0,
         {{1, 0}, {2, 4}, {3, 2}}},
        {"きょう inside its key きよ",
         Direction::Japanese,
         {{"きく [菊]", "chrysanthemum"},
          {"きよい [清い]", "pure"},
          {"きょう [今日]", "today"},
          {"きる [切る]", "cut"}},
         {{"きよ", "きよい [清い]"}, {"きよ", "きょう [今日]"}, {"きる", "きる [切る]"}},
         0,
         {{7, 8}}},
        {"が filed under か, kanji reading kept after ん",
         Direction::Japanese,
         {{"かく [角]", "angle"},
          {"がくせい [学生]", "student"},
          {"んと [んと]", "well"},
          {"日本 [日本]", "Japan"}},
         {{"かく", "がくせい [学生]"}, {"んと", "んと [んと]"}},
         1,
         {{6, 4}, {45, 4}}},
        {"を and ゐ in the part of わ",
         Direction::Japanese,
         {{"わん [椀]", "bowl"}, {"ゐなか [田舎]", "country"}, {"をかし [をかし]", "charming"}},
         {{"わん", "ゐなか [田舎]"}, {"わん", "をかし [をかし]"}},
         0,
         {{44, 6}, {45, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Build(c.direction, c.entries), c.kept);
        const int n = AlphabetSize(c.direction);
        std::string joined;
        for (int part = 1; part <= n; ++part) {
            joined += test::ReadBytes(PartFileName(dic, part));
            auto it = c.partLines.find(part);
            if (it != c.partLines.end()) {
                EXPECT_EQ(Part(part).size(), it->second) << "part " << part;
            }
        }
        EXPECT_EQ(joined, test::ReadBytes(job.WorkFile("TOVIXSEP.TXT")));

        const TDicTable table = TDicTable::LoadFromFile(TableFileName(dic), c.direction);
        ASSERT_EQ(table.Count(), n * (n + 1));
        for (const Lookup& l : c.lookups) {
            const std::string key = Utf8ToCp932(l.key);
            const auto lines = Part(PartNumber(c.direction, key));
            const KeyRange range = FindKeyRange(table, key);
            bool found = false;
            for (int i = range.start.value;
                 i <= range.end.value && i < static_cast<int>(lines.size()); i += 2) {
                found = found || lines[static_cast<size_t>(i)] == Utf8ToCp932(l.head);
            }
            EXPECT_TRUE(found) << l.head << " not in " << range.start << ".." << range.end;
        }
    }
}

// Entry editing recomputes one block from one part file; it must give the
// block the whole build gave.
TEST_F(SetFixture, PartTableGivesTheBlockOfTheBuild) {
    struct Case {
        Direction direction;
        std::vector<Entry> entries;
    };
    const Case cases[] = {
        {Direction::English,
         {{"3D ", "三次元"},
          {"bank ", "銀行"},
          {"bar ", "酒場"},
          {"bz ", "x"},
          {"zoo ", "動物園"},
          {"りんご ", "apple"}}},
        {Direction::English, {{"a ", "一つの"}, {"able ", "できる"}, {"axe ", "斧"}}},
        {Direction::Japanese,
         {{"いえ [家]", "house"},
          {"イス [椅子]", "chair"},
          {"かく [角]", "angle"},
          {"がくせい [学生]", "student"},
          {"きょう [今日]", "today"}}},
    };
    for (const Case& c : cases) {
        Build(c.direction, c.entries);
        const int n = AlphabetSize(c.direction);
        const auto built = Lines(test::ReadBytes(TableFileName(dic)));
        for (int part = 1; part <= n; ++part) {
            job.Source = PartFileName(dic, part).string();
            job.Dest = job.WorkFile("TOVIX.AD1").string();
            c.direction == Direction::English ? MakePairTableEng(job) : MakePairTableJpn(job);
            job.Source = job.Dest;
            job.Dest = job.WorkFile("TOVIX.ADD").string();
            c.direction == Direction::English ? MakeDatEng(job) : MakeDatJpn(job);
            ASSERT_FALSE(job.Failed);
            const auto edited = Lines(test::ReadBytes(job.ReadPath(job.Dest)));
            ASSERT_EQ(edited.size(), built.size());
            const auto first = built.begin() + (part - 1) * (n + 1);
            EXPECT_EQ(std::vector<std::string>(first, first + n + 1),
                      std::vector<std::string>(edited.begin() + (first - built.begin()),
                                               edited.begin() + (first - built.begin()) + n + 1))
                << "part " << part;
        }
    }
}

TEST_F(SetFixture, DamagedGlobalTableFailsTheSplitAndKeepsTheOldSet) {
    const std::vector<Entry> entries = {{"apple ", "りんご"}, {"bank ", "銀行"}};
    const std::string tbl = GlobalTableFileName(dic).string();
    const std::string message = PaddedMessage("辞書ファイルの作成に失敗しました。");
    struct Case {
        const char* name;
        std::string (*damage)(std::string);
    };
    const Case cases[] = {
        {"missing", [](std::string) { return std::string(); }},
        {"not a number", [](std::string t) { return t.replace(t.find("ab=0"), 4, "ab=x"); }},
        {"below -1", [](std::string t) { return t.replace(t.find("ab=0"), 4, "ab=-2"); }},
        {"blank after the value",
         [](std::string t) { return t.replace(t.find("ab=0"), 4, "ab=0 "); }},
        {"wrong key", [](std::string t) { return t.replace(t.find("ab=0"), 4, "ba=0"); }},
        {"cut short", [](std::string t) { return t.substr(0, t.find("zz=")); }},
    };
    WriteWork(entries);
    test::WriteBytes(dic, "old set\r\n");
    for (const Case& c : cases) {
        test::RecordingReporter r;
        ToolJob failing(r, job.workDir);
        failing.Source = job.WorkFile("TOVIXSRT.TXT").string();
        failing.Dest = tbl;
        MakeTableEng(failing);
        const std::string damaged = c.damage(test::ReadBytes(failing.ReadPath(tbl)));
        if (damaged.empty()) {
            std::filesystem::remove(failing.ReadPath(tbl));
        } else {
            test::WriteBytes(failing.ReadPath(tbl), damaged);
        }
        failing.Source = job.WorkFile("TOVIXSEP.TXT").string();
        failing.Extra = dic;
        failing.DatName = TableFileName(dic).string();
        EXPECT_EQ(SplitTovix(failing, Direction::English), 0) << c.name;
        EXPECT_TRUE(failing.Failed) << c.name;
        ASSERT_EQ(r.messages.size(), 1u) << c.name;
        EXPECT_EQ(r.messages[0].text, message) << c.name;
        EXPECT_EQ(r.messages[0].buttons, kButtonAbort);
    }
    EXPECT_EQ(test::ReadBytes(dic), "old set\r\n");
    EXPECT_FALSE(std::filesystem::exists(PartFileName(dic, 1)));
}

TEST_F(SetFixture, TableStepFailuresNameTheirFile) {
    WriteWork({{"apple ", "りんご"}});
    job.Source = (dir / "missing.txt").string();
    job.Dest = GlobalTableFileName(dic).string();
    MakeTableEng(job);
    EXPECT_TRUE(job.Failed);
    EXPECT_EQ(reporter.messages.back().text,
              FileMessage(job.Source, "指定されたファイルがオープンできませんでした。"));
    EXPECT_EQ(reporter.caption, "Tovix (ﾒｲﾝ)");

    job.Failed = false;
    job.Source = job.WorkFile("TOVIXSRT.TXT").string();
    job.Dest = (dir / "no-such-dir" / "D.TBL").string();
    MakePairTableJpn(job);
    EXPECT_TRUE(job.Failed);
    EXPECT_EQ(reporter.messages.back().text,
              FileMessage(job.Dest, "指定されたファイルが作成できませんでした。"));

    job.Failed = false;
    job.Source = (dir / "missing.AD1").string();
    job.Dest = job.WorkFile("TOVIX.ADD").string();
    MakeDatEng(job);
    EXPECT_TRUE(job.Failed);
    EXPECT_EQ(reporter.messages.back().text,
              PaddedMessage("辞書テーブルファイルの作成に失敗しました。"));

    reporter.captions.clear();
    job.Failed = false;
    job.Source = job.WorkFile("TOVIXSRT.TXT").string();
    job.Dest = GlobalTableFileName(dic).string();
    MakeTableEng(job);
    EXPECT_EQ(reporter.captions, (std::vector<std::string>{
                                     "  辞書読込中  ", "  辞書テーブル作成中  ", "Tovix (ﾒｲﾝ)"}));
}

}  // namespace
}  // namespace tovix
