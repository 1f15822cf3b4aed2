// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "platform/Cp932.h"
#include "platform/MessageText.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"
#include "tools/Steps.h"

namespace tovix {
namespace {

struct CheckRun {
    std::string inRange;  // CP932
    std::string outOfRange;
    bool failed = false;
    std::vector<test::RecordingReporter::Shown> messages;
};

// Runs a check or divide step on `input` (CP932) with the given limits and
// answers to its questions, and commits its outputs as a command does.
CheckRun RunCheck(void (*step)(ToolJob&), const std::string& input, const std::string& headLimit,
                  const std::string& transLimit, std::deque<MessageResult> answers = {}) {
    test::TempDir dir;
    test::RecordingReporter reporter;
    reporter.answers = std::move(answers);
    ToolJob job(reporter, dir / "work");
    job.Source = (dir / "IN.TXT").string();
    job.Dest = (dir / "IN-RANGE.TXT").string();
    job.Extra = (dir / "OUT-OF-RANGE.TXT").string();
    job.HeadLimit = headLimit;
    job.TransLimit = transLimit;
    test::WriteBytes(job.Source, input);
    step(job);
    CheckRun run{"", "", job.Failed, reporter.messages};
    if (!job.Failed) {
        job.CommitOutputs();
        run.inRange = test::ReadBytes(job.Dest);
        run.outOfRange = test::ReadBytes(job.Extra);
    }
    return run;
}

std::string Bytes(size_t count) {
    return std::string(count, 'x');
}

std::string Kanji(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += Utf8ToCp932("漢");
    }
    return text;
}

TEST(CheckStepsTest, EntriesGoToTheFileOfTheirLengths) {
    struct Case {
        const char* name;
        void (*step)(ToolJob&);
        std::string input;
        std::string inRange;
        std::string outOfRange;
    };
    const std::string exact = Bytes(60) + "\t" + Bytes(360) + "\r\n";
    const std::string kanji = Kanji(30) + "\t" + Kanji(180) + "\r\n";
    const std::string longHead = Bytes(61) + "\ty\r\n";
    const std::string longTrans = "h\t" + Bytes(361) + "\r\n";
    const std::string pdicExact = Bytes(256) + "\r\n\t" + Bytes(511) + "\r\n";
    const std::string pdicTab = "h\r\n\t" + Bytes(512) + "\r\n";
    const std::string pdicLongHead = Bytes(257) + "\r\nt\r\n";
    const Case cases[] = {
        {"[EXM] at the limits and one over", CheckExm, exact + longHead + kanji + longTrans,
         exact + kanji, longHead + longTrans},
        {"[EXM] TABs after the first belong to the translation", CheckExm,
         "h\t" + Bytes(358) + "\t\t\r\n", "h\t" + Bytes(358) + "\t\t\r\n", ""},
        {"[PDIC] translation line counts its TAB", CheckPdic, pdicExact + pdicTab + pdicLongHead,
         pdicExact, pdicTab + pdicLongHead},
        {"[PDIC] last headword without translation", CheckPdic, "h\r\nt\r\nlast",
         "h\r\nt\r\nlast\r\n\r\n", ""},
    };
    for (const Case& c : cases) {
        const bool exm = c.step == CheckExm;
        const CheckRun run = RunCheck(c.step, c.input, exm ? "60" : "256", exm ? "360" : "512");
        EXPECT_FALSE(run.failed) << c.name;
        EXPECT_EQ(run.inRange, c.inRange) << c.name;
        EXPECT_EQ(run.outOfRange, c.outOfRange) << c.name;
    }
}

TEST(CheckStepsTest, BadInputFailsWithItsMessage) {
    struct Case {
        void (*step)(ToolJob&);
        std::string input;
        std::string headLimit;
        std::string transLimit;
        std::string message;
    };
    const Case cases[] = {
        {CheckExm, "a\tb\r\nno tab\r\n", "60", "360", "TAB が存在しない行があります。"},
        {CheckExm, "a\tb\r\n", "6x", "360", "'6x' は整数ではありません"},
        {CheckPdic, "a\r\nb\r\n", "256", "", "'' は整数ではありません"},
        {DividePdic, "a\r\nb\r\n", "256", "5１２", "'5１２' は整数ではありません"},
        {DividePdic, "a\r\nb\r\n", "99999999999", "512", "'99999999999' は整数ではありません"},
    };
    for (const Case& c : cases) {
        const CheckRun run = RunCheck(c.step, c.input, c.headLimit, c.transLimit);
        EXPECT_TRUE(run.failed) << c.message;
        ASSERT_EQ(run.messages.size(), 1u) << c.message;
        EXPECT_EQ(run.messages[0].text, PaddedMessage(c.message));
        EXPECT_EQ(run.messages[0].buttons, kButtonAbort);
    }
}

TEST(CheckStepsTest, DivisionCutsLongTranslationsAtTheirMarks) {
    struct Case {
        const char* name;
        const char* translation;  // UTF-8
        const char* limit;
        const char* expected;  // in-range file, UTF-8
    };
    const Case cases[] = {
        {"no mark: one part", "abcdefghijklmnopqrstuvwxyz1234", "10",
         "h  *1\r\nabcdefghijklmnopqrstuvwxyz1234\r\n"},
        {"a◆b", "a◆b", "3", "h  *1\r\na◆\r\nh  *2\r\nb\r\n"},
        {"slash and bracket", "abc / def【ghi】 / jk", "10",
         "h  *1\r\nabc / def\r\nh  *2\r\n【ghi】\r\nh  *3\r\n / jk\r\n"},
        {"a long piece stays whole", "ab◆xxxxxxxxxxxxxxxxxxxx", "5",
         "h  *1\r\nab◆\r\nh  *2\r\nxxxxxxxxxxxxxxxxxxxx\r\n"},
        {"marks inside trail bytes are no marks", "堰檗堰y", "4", "h  *1\r\n堰檗堰y\r\n"},
        {"within the limit: unchanged", "\tabc", "4", "h\r\n\tabc\r\n"},
    };
    for (const Case& c : cases) {
        const CheckRun run =
            RunCheck(DividePdic, "h\r\n" + Utf8ToCp932(c.translation) + "\r\n", "256", c.limit);
        EXPECT_FALSE(run.failed) << c.name;
        EXPECT_EQ(Cp932ToUtf8(run.inRange), c.expected) << c.name;
        EXPECT_EQ(run.outOfRange, "") << c.name;
    }
}

TEST(CheckStepsTest, DivisionAsksAtLongHeadwords) {
    const std::string longHead = "a" + Kanji(25);
    const std::string input = longHead + "\r\nx\r\nok\r\ny\r\n";
    const std::string question = PaddedMessage(
        "見出しが指定文字数を超えています。終了しますか\r\n   a" + Cp932ToUtf8(Kanji(23)) + "   ");

    const CheckRun goOn = RunCheck(DividePdic, input, "10", "512", {MessageResult::No});
    EXPECT_FALSE(goOn.failed);
    EXPECT_EQ(goOn.inRange, "ok\r\ny\r\n");
    EXPECT_EQ(goOn.outOfRange, longHead + "\r\nx\r\n");
    ASSERT_EQ(goOn.messages.size(), 1u);
    EXPECT_EQ(goOn.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(goOn.messages[0].buttons, kButtonYes | kButtonNo);
    EXPECT_EQ(goOn.messages[0].text, question);

    // Guards: ending the division dropped every entry after the long headword.
    const CheckRun stop = RunCheck(DividePdic, input, "10", "512", {MessageResult::Yes});
    EXPECT_FALSE(stop.failed);
    EXPECT_EQ(stop.inRange, "");
    EXPECT_EQ(stop.outOfRange, input);
}

}  // namespace
}  // namespace tovix
