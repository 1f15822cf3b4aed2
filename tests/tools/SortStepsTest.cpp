// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "dict/JpnEntryOrder.h"
#include "platform/Collation.h"
#include "platform/Cp932.h"
#include "platform/MessageText.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"
#include "tools/JpnTieSort.h"
#include "tools/Steps.h"
#include "tools/TableSteps.h"

namespace tovix {
namespace {

using namespace std::string_literals;

std::string J(std::string_view utf8) {
    return Utf8ToCp932(utf8);
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

class SortStepsTest : public ::testing::Test {
  protected:
    std::string Sort(const std::string& input, bool jpn = false) {
        test::WriteBytes(dir / "TOVIXCNV.TXT", input);
        job.Source = job.WorkFile("TOVIXCNV.TXT").string();
        job.Dest = (dir / "sorted.txt").string();
        job.Failed = false;
        (jpn ? WorkSortJpn : WorkSort)(job);
        EXPECT_FALSE(job.Failed);
        job.CommitOutputs();
        return test::ReadBytes(dir / "sorted.txt");
    }

    test::TempDir dir;
    test::RecordingReporter reporter;
    ToolJob job{reporter, dir.path()};
};

TEST_F(SortStepsTest, SortsWholeLinesInDictionaryOrder) {
    // Digits and signs first; case and hyphens do not separate words (e-mail
    // among the em words); a headword before its longer continuations; lines
    // equal but for case or hyphen by their bytes; kana in alphabet order
    // with voiced kana beside their plain kana, after every letter; kana
    // before kanji, in translations too; equal lines all kept.
    const std::vector<std::string> sorted = {
        J("3D \t立体"),
        J("a \tひとつの"),
        J("a bit \t少し"),
        J("aardvark \tツチブタ"),
        J("Apple \tりんご"),
        J("apple \tりんご"),
        J("apple \tりんご"),
        J("apple \t林檎"),
        J("elk \tヘラジカ"),
        J("e-mail \t電子メール"),
        J("email \t電子メール"),
        J("emu \tエミュー"),
        J("zoo \t動物園"),
        J("あい [愛]\tlove"),
        J("いか [烏賊]\tsquid"),
        J("かき \tx"),
        J("がき \tx"),
        J("かく \tx"),
        J("ソース [ソース]\tsauce"),
        J("んん [ンン]\thmm"),
    };
    std::vector<std::string> shuffled = sorted;
    std::mt19937 random(7);
    for (int round = 0; round < 3; ++round) {
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        EXPECT_EQ(Sort(Lines(shuffled)), Lines(sorted));
    }
}

// Guards: the sort compared whole lines, so a translation decided before a
// difference of headwords that the first level does not see (voicing, case)
// and the entries of one headword ended apart, which gathering then left as
// duplicates.
TEST_F(SortStepsTest, EntriesOfOneHeadwordStandTogether) {
    const std::vector<std::vector<std::string>> cases = {
        {J("あいはん [合い判]\tdocument seal"), J("あいばん [合い判]\tcheck mark"),
         J("あいばん [合い判]\tjoint seal"), J("あいまい [曖昧]\tvague")},
        {J("Apple \tリンゴ社 (米国の会社)"), J("apple \tりんご"), J("apple \t林檎"),
         J("apples \tりんご")},
        {"co-op \tcooperative", "coop \tchicken house", "coop \tcooperative",
         "cooperate \t協力する"},
    };
    std::mt19937 random(3);
    for (const std::vector<std::string>& sorted : cases) {
        std::vector<std::string> shuffled = sorted;
        for (int round = 0; round < 3; ++round) {
            std::shuffle(shuffled.begin(), shuffled.end(), random);
            EXPECT_EQ(Sort(Lines(shuffled)), Lines(sorted));
        }
    }
}

// Random lines made of `pieces`, `count` of them, with every fiftieth line
// repeated (equal lines are all kept).
std::vector<std::string> RandomLines(std::mt19937& random, const std::vector<std::string>& pieces,
                                     int count, int maxPieces, const std::string& start = "") {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        std::string line = i % 3 == 0 ? start : "";
        const int n = 1 + static_cast<int>(random() % static_cast<unsigned>(maxPieces));
        for (int p = 0; p < n; ++p) {
            line += pieces[random() % pieces.size()];
        }
        lines.push_back(line);
        if (i % 50 == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

// The step's order must be exactly the order of the collation's own
// comparison, also where it cannot be decided by the first bytes of the
// headwords' keys, and whether the lines are sorted and written on one
// processor or several.
TEST_F(SortStepsTest, OrderEqualsTheCollation) {
    std::mt19937 random(11);
    struct Case {
        const char* property;
        std::vector<std::string> lines;
    };
    const std::vector<std::string> beginnings = {"inter", "nation", "al",    "ization",
                                                 "Al",    "-",      " ",     "\t",
                                                 J("ソ"), J("ゼ"),  J("あ"), J("が")};
    const std::vector<std::string> translations = {
        J("りんご"), J("林檎"), J("リンゴ"), "Apple", "apple", "-", " ", J("ー"), J("が")};
    std::vector<std::string> sameHeadwords;
    for (const char* head : {"apple ", "Apple ", "a-pple ", "internationalization "}) {
        for (const std::string& line : RandomLines(random, translations, 300, 3)) {
            sameHeadwords.push_back(std::string(head) + "\t" + line);
        }
    }
    std::vector<std::string> longLines;
    for (int i = 0; i < 40; ++i) {
        // Equal for their first 70,000 bytes; TAB-less, or with the TAB late.
        const std::string tail = RandomLines(random, beginnings, 1, 6)[0];
        longLines.push_back(std::string(70000, 'w') + (i % 2 == 0 ? "" : "\t") + tail);
    }
    const std::vector<std::string> broken = {"a",      "\x81",  "\x81\t", "\xA0", "\xFD", "\x80",
                                             "\t\x81", "\x00"s, "b\t",    "\t",   "",     J("ア")};
    const std::vector<std::string> words = {"a", "b", "e", "k", "o", "r", "s", "t", "-", " "};
    const Case cases[] = {
        {"long common beginnings",
         RandomLines(random, beginnings, 3000, 8, "internationalization")},
        {"equal headwords, the translations decide", sameHeadwords},
        {"long lines equal far beyond their beginnings", longLines},
        {"lines without TAB, empty lines, bytes that are not CP932",
         RandomLines(random, broken, 2000, 4)},
        {"more lines than are written in one go", RandomLines(random, words, 30000, 12)},
    };
    Collation collation;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.property);
        std::vector<std::string> expected = c.lines;
        std::sort(expected.begin(), expected.end(),
                  [&](const std::string& a, const std::string& b) {
                      return collation.Compare(a, b) < 0;
                  });
        std::vector<std::string> shuffled = c.lines;
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        EXPECT_EQ(Sort(Lines(shuffled)), Lines(expected));
    }
}

// A reading stands alone exactly when a walk over its characters from the
// start (a lead byte and the byte after it, or one byte) ends at its end and
// it holds no TAB.
TEST(StandsAloneTest, TheWalkFromTheStartEndsAtTheEnd) {
    std::mt19937 random(17);
    const char bytes[] = {'\x82', '\x81', '\x9F', '\xE0', '\xFC', '\xA0', '\xFD', 'A', ' ', '\t'};
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (size_t n = random() % 7; n > 0; --n) {
            text += bytes[random() % std::size(bytes)];
        }
        size_t place = 0;
        while (place < text.size()) {
            place += IsLeadByte(text[place]) ? 2 : 1;
        }
        const bool expected = place == text.size() && text.find('\t') == std::string::npos;
        EXPECT_EQ(StandsAlone(text), expected) << testing::PrintToString(text);
    }
}

// A Japanese-English sort orders the lines as the collation orders their
// order lines (reading first), also among the many lines of one reading,
// whose rests tie far into their keys, and where a reading holds marks read
// after a kana, hyphens, or a lead byte without its trail byte.
TEST_F(SortStepsTest, JapaneseEnglishOrderEqualsTheCollationOfOrderLines) {
    std::mt19937 random(13);
    const std::vector<std::string> kana = {J("か"), J("が"), J("カ"), J("ー"), J("ゝ"), J("ぁ"),
                                           J("あ"), J("ア"), J("ん"), "-",     " ",     "\x82"};
    const std::vector<std::string> written = {J("漢"), J("字"), J("々"), J("ー"), J("か"), J("‐")};
    const std::vector<std::string> translations = {
        "(P) ", "a", "A", "-", J("が"), J("ー"), "the same long translation for many entries "};
    const std::vector<std::string> readings = RandomLines(random, kana, 60, 3);
    std::vector<std::string> lines;
    for (int i = 0; i < 6000; ++i) {
        std::string line = readings[random() % readings.size()];
        if (random() % 4 != 0) {
            line += (random() % 2 == 0 ? " [" : "[") + RandomLines(random, written, 1, 3)[0] + "]";
        }
        lines.push_back(line + "\t" + RandomLines(random, translations, 1, 4)[0]);
    }
    Collation collation;
    std::vector<std::string> expected = lines;
    std::sort(expected.begin(), expected.end(), [&](const std::string& a, const std::string& b) {
        return collation.Compare(JpnOrderLine(a), JpnOrderLine(b)) < 0;
    });
    std::shuffle(lines.begin(), lines.end(), random);
    EXPECT_EQ(Sort(Lines(lines), true), Lines(expected));
}

// What one run of a sort, a pair step and the table step leaves: the three
// files (or "-" for a file not written), the messages, the captions shown and
// whether it failed.
struct SortAndPairRun {
    std::string sorted;
    std::string pairs;
    std::string table;
    std::vector<std::string> messages;
    std::vector<std::string> captions;
    bool failed = false;
};

SortAndPairRun RunSortAndPair(const test::TempDir& dir, const std::string& input, bool jpn,
                              bool fused, bool pairsBlocked) {
    for (const char* name : {"TOVIXSRT.TXT", "TOVIXSEP.TXT", "TOVIXTAB.TXT"}) {
        std::filesystem::remove_all(dir / name);
    }
    test::RecordingReporter reporter;
    ToolJob job(reporter, dir.path());
    test::WriteBytes(dir / "TOVIXCNV.TXT", input);
    if (pairsBlocked) {
        std::filesystem::create_directory(dir / "TOVIXSEP.TXT");
    }
    const std::string sorted = job.WorkFile("TOVIXSRT.TXT").string();
    const std::string pairs = job.WorkFile("TOVIXSEP.TXT").string();
    job.Source = job.WorkFile("TOVIXCNV.TXT").string();
    job.Dest = sorted;
    // The global table goes to a work file, which is written in place (a set's
    // X.TBL would be staged until the command ends).
    const std::string table = job.WorkFile("TOVIXTAB.TXT").string();
    SortedTable sortedTable(jpn ? Direction::Japanese : Direction::English);
    if (fused) {
        job.Extra = pairs;
        (jpn ? WorkSortToPairAndTableJpn : WorkSortToPairAndTableEng)(job, sortedTable);
    } else {
        (jpn ? WorkSortJpn : WorkSort)(job);
        if (!job.Failed) {
            job.Source = sorted;
            job.Dest = pairs;
            (jpn ? WorkToPairJpn : WorkToPairEng)(job);
        }
    }
    if (!job.Failed) {
        job.Source = sorted;
        job.Dest = table;
        job.Extra.clear();
        if (fused) {
            MakeTableFrom(job, sortedTable);
        } else {
            (jpn ? MakeTableJpn : MakeTableEng)(job);
        }
    }
    SortAndPairRun run;
    run.failed = job.Failed;
    for (const auto& [path, text] :
         {std::pair{sorted, &run.sorted}, {pairs, &run.pairs}, {table, &run.table}}) {
        *text = std::filesystem::is_regular_file(path) ? test::ReadBytes(path) : "-";
    }
    EXPECT_EQ(run.table == "-", run.failed);
    for (const auto& message : reporter.messages) {
        run.messages.push_back(message.text);
    }
    run.captions = reporter.captions;
    return run;
}

// The sort that makes the pair file and the table on the way gives the files,
// messages and captions of the sort followed by the pair step and the table
// step reading the sorted file: on lines of both directions that span several
// blocks of writing, when a sorted line has no TAB (the pair file ends before
// it, the message names the sorted file) and when the pair file cannot be
// made.
TEST_F(SortStepsTest, SortToPairGivesWhatTheTwoStepsGive) {
    std::mt19937 random(29);
    const std::vector<std::string> eng = {"a", "b", "E", "-", " ", J("が"), "\t", "\tx", J("\tり")};
    const std::vector<std::string> jpn = {J("あ"), J("が"), J("[愛]"), J("[]"), "[", "]", " "};
    const std::vector<std::string> initials = {"a", "Q", "z", "x", "-", "'", ".", "1", " ", "m"};
    const std::vector<std::string> kana = {J("あ"), J("ぱ"), J("ン"), J("ー"),
                                           J("ゞ"), J("亜"), "k"};
    const auto withTabs = [&](const std::vector<std::string>& pieces, int count) {
        std::vector<std::string> lines;
        for (const std::string& line : RandomLines(random, pieces, count, 6)) {
            lines.push_back(line + "\t" + line);
        }
        return lines;
    };
    struct Case {
        const char* property;
        std::vector<std::string> lines;
        bool jpn;
        bool pairsBlocked;
        bool fails;
    };
    Case cases[] = {
        {"E-J lines over several blocks", withTabs(eng, 12000), false, false, false},
        {"J-E headwords with and without written forms", withTabs(jpn, 9000), true, false, false},
        {"E-J headwords of many initials and signs", withTabs(initials, 5000), false, false, false},
        {"J-E headwords of many initials", withTabs(kana, 5000), true, false, false},
        {"lines without TAB", RandomLines(random, eng, 9000, 6), false, false, true},
        {"one line without TAB in a late block", withTabs(eng, 12000), false, false, true},
        {"a pair file that cannot be made", withTabs(eng, 3000), false, true, true},
    };
    cases[5].lines.insert(cases[5].lines.begin() + 6000, "zzzzzz");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.property);
        const std::string input = Lines(c.lines);
        const SortAndPairRun twoSteps = RunSortAndPair(dir, input, c.jpn, false, c.pairsBlocked);
        const SortAndPairRun oneStep = RunSortAndPair(dir, input, c.jpn, true, c.pairsBlocked);
        EXPECT_EQ(twoSteps.failed, c.fails);
        EXPECT_EQ(oneStep.sorted, twoSteps.sorted);
        EXPECT_EQ(oneStep.pairs, twoSteps.pairs);
        EXPECT_EQ(oneStep.table, twoSteps.table);
        EXPECT_EQ(oneStep.messages, twoSteps.messages);
        EXPECT_EQ(oneStep.captions, twoSteps.captions);
        EXPECT_EQ(oneStep.failed, twoSteps.failed);
    }
}

TEST_F(SortStepsTest, EmptyInputAndLineEnds) {
    EXPECT_EQ(Sort(""), "");
    EXPECT_TRUE(std::filesystem::exists(dir / "sorted.txt"));
    EXPECT_EQ(Sort("b \tB\na \tA\rc \tC"), "a \tA\r\nb \tB\r\nc \tC\r\n");
}

// The written-form list is sorted from memory: the file, captions and
// messages are those of the sort of the same text written to a work file,
// also for lines holding a NUL byte and for a text of many blocks.
TEST_F(SortStepsTest, SortOfATextInMemoryIsTheSortOfItsFile) {
    std::vector<std::string> many;
    std::mt19937 random(7);
    for (int i = 0; i < 5000; ++i) {
        many.push_back(J("漢字") + std::to_string(random() % 997) + "\t" + J("かんじ") + "\t" +
                       std::to_string(i % 40));
    }
    const std::string cases[] = {
        "",
        Lines({J("犬\tいぬ\t2"), J("漢字\tかんじ\t6"), J("お茶\tおちゃ\t5")}),
        Lines({J("犬\tいぬ\t2"), J("漢") + "\0"s + J("字\tかんじ\t6"), "\0"s, J("茶\tちゃ\t5")}),
        Lines(many),
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text.substr(0, 40));
        reporter.captions.clear();
        const std::string fromFile = Sort(text);
        const auto fileCaptions = reporter.captions;
        reporter.captions.clear();
        job.Dest = (dir / "sorted.txt").string();
        SortTextInto(job, text);
        EXPECT_FALSE(job.Failed);
        job.CommitOutputs();
        EXPECT_EQ(test::ReadBytes(dir / "sorted.txt"), fromFile);
        EXPECT_EQ(reporter.captions, fileCaptions);
        EXPECT_TRUE(reporter.messages.empty());
    }
}

TEST_F(SortStepsTest, SortFailureIsReported) {
    job.Source = (dir / "none.txt").string();
    job.Dest = job.WorkFile("TOVIXSRT.TXT").string();
    WorkSort(job);
    EXPECT_TRUE(job.Failed);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, PaddedMessage("辞書ファイルのソートに失敗しました。"));
    EXPECT_FALSE(std::filesystem::exists(job.WorkFile("TOVIXSRT.TXT")));
    EXPECT_EQ(reporter.captions.front(), "  辞書ソート中  ");
    EXPECT_EQ(reporter.caption, "Tovix (ﾒｲﾝ)");
}

TEST_F(SortStepsTest, JoinCopiesBothFilesLineByLine) {
    struct Case {
        std::string first;
        std::string second;
        std::string joined;
    };
    const Case cases[] = {
        {"a\r\nb", "c\r\nd\r\n", "a\r\nb\r\nc\r\nd\r\n"},
        {"a\nb\r", "\r\nc", "a\r\nb\r\n\r\nc\r\n"},
        {"", J("ソ\tゾ\r\n"), J("ソ\tゾ\r\n")},
        {"x", "", "x\r\n"},
    };
    for (const Case& c : cases) {
        test::WriteBytes(dir / "TOVIXTA1.TXT", c.first);
        test::WriteBytes(dir / "TOVIXTA2.TXT", c.second);
        job.Source = job.WorkFile("TOVIXTA1.TXT").string();
        job.Dest = job.WorkFile("TOVIXTA2.TXT").string();
        job.Extra = job.WorkFile("TOVIXTAB.TXT").string();
        reporter.captions.clear();
        JoinFiles(job);
        EXPECT_FALSE(job.Failed);
        EXPECT_EQ(test::ReadBytes(job.WorkFile("TOVIXTAB.TXT")), c.joined);
        EXPECT_EQ(reporter.captions, (std::vector<std::string>{"  辞書作成中１  ",
                                                               "  辞書作成中２  ", "Tovix (ﾒｲﾝ)"}));
    }

    std::filesystem::remove(job.WorkFile("TOVIXTA2.TXT"));
    JoinFiles(job);
    EXPECT_TRUE(job.Failed);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, PaddedMessage("辞書ファイルの作成に失敗しました。"));
}

}  // namespace
}  // namespace tovix
