// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "dict/DicFileSet.h"
#include "platform/Cp932.h"
#include "platform/MessageText.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"
#include "tools/Steps.h"

namespace tovix {
namespace {

// Fixture texts are written in UTF-8 and stored as CP932, as the files are.
std::string J(std::string_view utf8) {
    return Utf8ToCp932(utf8);
}

using Step = void (*)(ToolJob&);

class ConvertStepsTest : public ::testing::Test {
  protected:
    // Runs `step` from "in.txt" holding `input` to "out.txt" and returns what
    // it wrote; the step must succeed.
    std::string Convert(Step step, const std::string& input) {
        test::WriteBytes(dir / "in.txt", input);
        job.Source = (dir / "in.txt").string();
        job.Dest = (dir / "out.txt").string();
        job.Failed = false;
        step(job);
        EXPECT_FALSE(job.Failed) << (reporter.messages.empty() ? ""
                                                               : reporter.messages.back().text);
        job.CommitOutputs();
        return test::ReadBytes(dir / "out.txt");
    }

    // Writes a dictionary file set "SET.DIC" with `parts` part files, each
    // empty unless given in `content` (part number, text).
    std::string WriteSet(int parts, const std::vector<std::pair<int, std::string>>& content) {
        const std::filesystem::path dic = dir / "SET.DIC";
        test::WriteBytes(dic, dic.string() + "\r\n\r\n");
        for (int part = 1; part <= parts; ++part) {
            test::WriteBytes(PartFileName(dic, part), "");
        }
        for (const auto& [part, text] : content) {
            test::WriteBytes(PartFileName(dic, part), text);
        }
        return dic.string();
    }

    test::TempDir dir;
    test::RecordingReporter reporter;
    ToolJob job{reporter, dir.path()};
};

TEST_F(ConvertStepsTest, OneLineReadersWriteEachEntryInItsShape) {
    struct Case {
        Step step;
        std::string input;
        std::string expected;
    };
    // ゼ, ソ and ゾ end in the bytes of "[", "\" and "]"; ー ends in "[".
    const Case cases[] = {
        {ExmToWorkEng, J("apple\tりんご\r\n"), J("apple \tりんご\r\n")},
        {ExmToWorkEng, J("a\tb\tc\r\nd\t\r\n"), J("a \tb\tc\r\nd \t\r\n")},
        {ExmToWorkEng, J("ソゾ\tゼ\\\n"), J("ソゾ \tゼ\\\r\n")},
        {ExmToWorkJpn, J("あい[]\tlove\r\n"), J("あい [アイ]\tlove\r\n")},
        {ExmToWorkJpn, J("あい\tlove\r\n"), J("あい [あい]\tlove\r\n")},
        {ExmToWorkJpn, J("あい[愛]\tlove\r\n"), J("あい [愛]\tlove\r\n")},
        {ExmToWorkJpn, J("あい[愛\tlove\r\n"), J("あい [愛\tlove\r\n")},
        {ExmToWorkJpn, J("あい []余り\tlove\r\n"), J("あい  [アイ ]\tlove\r\n")},
        {ExmToWorkJpn, J("ぜろ[ゼロ]\tzero\r\n"), J("ぜろ [ゼロ]\tzero\r\n")},
        {ExmToWorkJpn, J("ゼゾ\tx\r\n"), J("ゼゾ [ゼゾ]\tx\r\n")},
        {ExmToWorkJpn, J("そーす[]\tsauce\r\n"), J("そーす [ソース]\tsauce\r\n")},
        {ExmToWorkJpn, J("あ]い[]\tx\r\n"), J("あ]い []\tx\r\n")},
        {WorkToPairEng, J("apple \tりんご\tx\r\n"), J("apple \r\n\tりんご\tx\r\n")},
        {WorkToPairJpn, J("あい [愛]\tlove\r\n"), J("あい [愛]\r\n\tlove\r\n")},
        {WorkToPairJpn, J("あい\tlove\r\n"), J("あい[あい]\r\n\tlove\r\n")},
        {WorkToPairJpn, J("あい[]x\tlove\r\n"), J("あい[アイ]\r\n\tlove\r\n")},
        {WorkToPairJpn, J("ゾ\t\r\n"), J("ゾ[ゾ]\r\n\t\r\n")},
        {WorkToPdic, J("apple  \tりんご\tx\r\n"), J("apple\r\nりんご\tx\r\n")},
        {WorkToPdic, J("ソ \t\tx"), J("ソ\r\n\tx\r\n")},
        {WorkToPdic, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Convert(c.step, c.input), c.expected) << Cp932ToUtf8(c.input);
    }
}

TEST_F(ConvertStepsTest, TwoLineReadersPairLinesAsTheyCome) {
    struct Case {
        Step step;
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {PdicToWork, J("apple   \r\n\tりんご\r\n"), J("apple \tりんご\r\n")},
        {PdicToExm, J("apple   \r\n\tりんご\r\n"), J("apple\tりんご\r\n")},
        {PdicToExm, J("a\n\t\tA\tB\nb"), J("a\t\tA\tB\r\nb\t\r\n")},
        {PdicToWork, J("ソ\r\nゾ\r\nc\r\n"), J("ソ \tゾ\r\nc \t\r\n")},
        // A TAB in a headword would end it there: it becomes a blank.
        {PdicToWork, J("apple\tpie \t\r\nパイ\r\n"), J("apple pie \tパイ\r\n")},
        {PdicToExm, J("\tx\r\ny\r\n"), J(" x\ty\r\n")},
        {PairToExm, J("apple \r\n\tりんご\r\nあい [愛]\r\n\tlove\r\n"),
         J("apple \tりんご\r\nあい [愛]\tlove\r\n")},
        {PairToExm, J("x\r\ny\r\n"), J("xy\r\n")},
        {PdicToWork, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Convert(c.step, c.input), c.expected) << Cp932ToUtf8(c.input);
    }
}

TEST_F(ConvertStepsTest, SetReadersReadEveryPartInOrder) {
    const std::string eng = WriteSet(26, {{1, J("apple  \r\n\tりんご\r\n3D \r\n\t立体\r\n")},
                                          {2, J("bee \r\n\tハチ\tx\r\n")},
                                          {26, J("zoo \r\n\t動物園")}});
    job.Source = eng;
    job.Dest = (dir / "eng.txt").string();
    TovixToExmEng(job);
    job.CommitOutputs();
    EXPECT_EQ(test::ReadBytes(dir / "eng.txt"),
              J("apple\tりんご\r\n3D\t立体\r\nbee\tハチ\tx\r\nzoo\t動物園\r\n"));
    job.Dest = (dir / "engwork.txt").string();
    TovixToWorkEng(job);
    job.CommitOutputs();
    EXPECT_EQ(test::ReadBytes(dir / "engwork.txt"),
              J("apple \tりんご\r\n3D \t立体\r\nbee \tハチ\tx\r\nzoo \t動物園\r\n"));

    // Headwords without "[" (as entry editing can store them) or without "]"
    // are converted too, not dropped.
    const std::string jpn =
        WriteSet(45, {{1, J("あい  [愛]\r\n\tlove\r\nあお \r\n\tblue\r\nあか [赤\r\n\tred\r\n")},
                      {45, J("ん [ン]\r\n\t\tn\r\n")}});
    job.Source = jpn;
    job.Dest = (dir / "jpn.txt").string();
    TovixToExmJpn(job);
    job.CommitOutputs();
    EXPECT_EQ(test::ReadBytes(dir / "jpn.txt"),
              J("あい[愛]\tlove\r\nあお\tblue\r\nあか[赤\tred\r\nん[ン]\t\tn\r\n"));
    job.Dest = (dir / "jpnwork.txt").string();
    TovixToWorkJpn(job);
    job.CommitOutputs();
    EXPECT_EQ(test::ReadBytes(dir / "jpnwork.txt"),
              J("あい  [愛]\tlove\r\nあお [あお]\tblue\r\nあか [赤\tred\r\nん [ン]\t\tn\r\n"));
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(ConvertStepsTest, FailuresReportTheirMessageAndKeepWhatWasWritten) {
    // A line without TAB: the content message names Source; the entries
    // before it stay in a work file.
    test::WriteBytes(dir / "TOVIXSRT.TXT", J("a \tA\r\napple\r\nb \tB\r\n"));
    job.Source = (dir / "TOVIXSRT.TXT").string();
    job.Dest = (dir / "TOVIXSEP.TXT").string();
    WorkToPairEng(job);
    EXPECT_TRUE(job.Failed);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text,
              FileMessage(job.Source, "辞書ファイルの内容が正しくありません。"));
    EXPECT_EQ(reporter.messages[0].buttons, kButtonAbort);
    EXPECT_EQ(reporter.caption, "Tovix (ﾒｲﾝ)");
    EXPECT_EQ(test::ReadBytes(dir / "TOVIXSEP.TXT"), "a \r\n\tA\r\n");

    // A TAB right after a lead byte is part of that character, not a separator.
    test::WriteBytes(dir / "user.txt", "old\r\n");
    test::WriteBytes(dir / "in.txt", "\x83\tx\r\n");
    job.Source = (dir / "in.txt").string();
    job.Dest = (dir / "user.txt").string();
    job.Failed = false;
    ExmToWorkEng(job);
    EXPECT_TRUE(job.Failed);
    job.DiscardOutputs();
    EXPECT_EQ(test::ReadBytes(dir / "user.txt"), "old\r\n");

    // A missing input, and a set with a part file missing: the step's own
    // message, and no output is created.
    const std::string set = WriteSet(45, {});
    std::filesystem::remove(PartFileName(set, 7));
    const struct {
        Step step;
        std::string source;
        const char* message;
    } missing[] = {
        {ExmToWorkEng, (dir / "none.txt").string(), "辞書ファイルの変換に失敗しました。"},
        {ExmToWorkJpn, (dir / "none.txt").string(), "辞書ファイルの作成に失敗しました。"},
        {WorkToPdic, (dir / "none.txt").string(), "辞書ファイルの作成に失敗しました。"},
        {PdicToExm, (dir / "none.txt").string(), "辞書ファイルの変換に失敗しました。"},
        {TovixToWorkJpn, set, "辞書ファイルの変換に失敗しました。"},
    };
    for (const auto& c : missing) {
        reporter.messages.clear();
        job.Failed = false;
        job.Source = c.source;
        job.Dest = (dir / "new.txt").string();
        c.step(job);
        job.CommitOutputs();
        EXPECT_TRUE(job.Failed);
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages[0].text, PaddedMessage(c.message));
        EXPECT_FALSE(std::filesystem::exists(dir / "new.txt"));
    }
}

TEST_F(ConvertStepsTest, WorkFilesAreWrittenInPlaceUserFilesOnlyOnCommit) {
    test::WriteBytes(dir / "in.txt", "a\tA\r\n");
    std::filesystem::create_directory(dir / "sub");
    ToolJob slashed(reporter, dir.path() / "");
    slashed.Source = (dir / "in.txt").string();
    const struct {
        std::string dest;
        bool inPlace;
    } cases[] = {
        {(dir / "TOVIXCNV.TXT").string(), true},
        {(dir / "sub" / ".." / "TOVIXTAB.TXT").string(), true},
        {(dir / "MYDIC.TXT").string(), false},
        {(dir / "in.txt").string(), false},
    };
    for (const auto& c : cases) {
        slashed.Dest = c.dest;
        ExmToWorkEng(slashed);
        ASSERT_FALSE(slashed.Failed);
        EXPECT_EQ(test::ReadBytes(c.dest) == "a \tA\r\n", c.inPlace) << c.dest;
        slashed.CommitOutputs();
        EXPECT_EQ(test::ReadBytes(c.dest), "a \tA\r\n") << c.dest;
    }
}

TEST_F(ConvertStepsTest, SeedsHoldOneEntryPerInitial) {
    job.Source = (dir / "NEW.DIC").string();
    SeedNewEng(job);
    job.CommitOutputs();
    std::string expected;
    for (char c = 'a'; c <= 'z'; ++c) {
        expected += std::string{c, '\t', c, '\r', '\n'};
    }
    EXPECT_EQ(test::ReadBytes(dir / "NEW.DIC"), expected);

    SeedNewJpn(job);
    job.CommitOutputs();
    const std::string jpn = test::ReadBytes(dir / "NEW.DIC");
    EXPECT_EQ(std::count(jpn.begin(), jpn.end(), '\n'), 45);
    EXPECT_TRUE(jpn.starts_with(J("あ[あ]\tあ\r\nい[い]\tい\r\n")));
    EXPECT_TRUE(jpn.ends_with(J("わ[わ]\tわ\r\nん[ん]\tん\r\n")));
    EXPECT_FALSE(job.Failed);
}

// [EXM] through the converters and the sort into a part file and back: every
// entry comes back, in the shape the [EXM] reader gives it.
TEST_F(ConvertStepsTest, RoundTripThroughAPartFileKeepsEveryEntry) {
    struct Case {
        Step toWork;
        Step toPair;
        Step back;
        int parts;
        std::string exm;
        std::vector<std::string> expected;  // sorted [EXM] lines
    };
    const Case cases[] = {
        {ExmToWorkEng,
         WorkToPairEng,
         TovixToExmEng,
         26,
         J("zoo\t動物園\r\napple\tりんご\r\nApple\t林檎\tx\r\napple\tりんご\r\nソ\t\r\n"),
         {J("Apple\t林檎\tx"), J("apple\tりんご"), J("apple\tりんご"), J("zoo\t動物園"),
          J("ソ\t")}},
        {ExmToWorkJpn,
         WorkToPairJpn,
         TovixToExmJpn,
         45,
         J("あい[愛]\tlove\r\nあい\tmatch\r\nいぬ[]\tdog\r\nあか[赤\tred\r\n"),
         {J("あい[あい]\tmatch"), J("あい[愛]\tlove"), J("あか[赤\tred"), J("いぬ[イヌ]\tdog")}},
    };
    for (const Case& c : cases) {
        test::WriteBytes(dir / "in.txt", c.exm);
        const std::string set = WriteSet(c.parts, {});
        const std::pair<Step, std::pair<std::string, std::string>> chain[] = {
            {c.toWork, {(dir / "in.txt").string(), job.WorkFile("TOVIXCNV.TXT").string()}},
            {WorkSort,
             {job.WorkFile("TOVIXCNV.TXT").string(), job.WorkFile("TOVIXSRT.TXT").string()}},
            {c.toPair, {job.WorkFile("TOVIXSRT.TXT").string(), PartFileName(set, 1).string()}},
            {c.back, {set, (dir / "out.txt").string()}},
        };
        for (const auto& [step, names] : chain) {
            job.Source = names.first;
            job.Dest = names.second;
            step(job);
            ASSERT_FALSE(job.Failed);
        }
        job.CommitOutputs();
        std::string expected;
        for (const std::string& line : c.expected) {
            expected += line + "\r\n";
        }
        EXPECT_EQ(test::ReadBytes(dir / "out.txt"), expected);
    }
}

}  // namespace
}  // namespace tovix
