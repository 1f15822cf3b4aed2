// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "platform/Cp932.h"
#include "platform/MessageText.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"
#include "tools/Steps.h"

namespace tovix {
namespace {

struct GatherRun {
    std::string output;  // CP932, empty when the step failed
    bool failed = false;
    std::vector<test::RecordingReporter::Shown> messages;
};

// Runs a gathering step on the sorted pair file `input` (CP932) and commits
// its output as a command does.
GatherRun RunGather(void (*step)(ToolJob&), const std::string& input) {
    test::TempDir dir;
    test::RecordingReporter reporter;
    ToolJob job(reporter, dir / "work");
    std::filesystem::create_directories(job.workDir);
    test::WriteBytes(job.WorkFile("TOVIXCRR.TXT"), input);
    job.Source = job.WorkFile("TOVIXCRR.TXT").string();
    job.Dest = (dir / "OUT.TXT").string();
    step(job);
    GatherRun run{"", job.Failed, reporter.messages};
    if (!job.Failed) {
        job.CommitOutputs();
        run.output = test::ReadBytes(job.Dest);
    }
    return run;
}

TEST(GatherStepsTest, MergesAdjacentEntriesOfOneHeadword) {
    struct Case {
        const char* name;
        void (*step)(ToolJob&);
        const char* input;  // UTF-8
        const char* expected;
    };
    const Case cases[] = {
        {"new senses appended", GatherPair, "apple \r\n\tりんご\r\napple \r\n\tりんご,林檎\r\n",
         "apple \r\n\tりんご,林檎\r\n"},
        {"three entries in order", GatherPair, "a \r\n\tx,y\r\na \r\n\ty,z\r\na \r\n\tw,x\r\n",
         "a \r\n\tx,y,z,w\r\n"},
        {"case counts; interleaved entries stay apart", GatherPair,
         "apple \r\n\tx\r\nApple \r\n\ty\r\napple \r\n\tz\r\n",
         "apple \r\n\tx\r\nApple \r\n\ty\r\napple \r\n\tz\r\n"},
        {"a blank keeps a sense apart", GatherPair, "b \r\n\tx, y\r\nb \r\n\ty\r\n",
         "b \r\n\tx, y,y\r\n"},
        {"compared with the old senses only", GatherPair, "c \r\n\tx\r\nc \r\n\ty,y\r\n",
         "c \r\n\tx,y,y\r\n"},
        {"trail bytes 5C are no separators", GatherPair, "表 \r\n\tソ,十\r\n表 \r\n\t十,能\r\n",
         "表 \r\n\tソ,十,能\r\n"},
        {"last headword without translation", GatherPair, "a \r\n\tx\r\nb ",
         "a \r\n\tx\r\nb \r\n\t\r\n"},
        {"empty file", GatherPair, "", ""},
        {"[PDIC]: trailing blanks ignored and dropped", GatherPairToPdic,
         "apple   \r\n\tりんご\r\napple\r\n\t林檎\r\nbank \r\n\t銀行\r\n",
         "apple\r\nりんご,林檎\r\nbank\r\n銀行\r\n"},
    };
    for (const Case& c : cases) {
        const GatherRun run = RunGather(c.step, Utf8ToCp932(c.input));
        EXPECT_FALSE(run.failed) << c.name;
        EXPECT_EQ(Cp932ToUtf8(run.output), c.expected) << c.name;
    }
}

TEST(GatherStepsTest, MoreThan128SensesInAMergeFail) {
    auto senses = [](int count, char letter) {
        std::string text;
        for (int i = 1; i <= count; ++i) {
            text += (i > 1 ? "," : "") + std::string(1, letter) + std::to_string(i);
        }
        return text;
    };
    struct Case {
        int held;
        int added;
        bool fails;
    };
    const Case cases[] = {{128, 1, false}, {1, 128, false}, {129, 1, true}, {1, 129, true}};
    for (const Case& c : cases) {
        const std::string input =
            "w \r\n\t" + senses(c.held, 'a') + "\r\nw \r\n\t" + senses(c.added, 'b') + "\r\n";
        const GatherRun run = RunGather(GatherPair, input);
        EXPECT_EQ(run.failed, c.fails) << c.held << "+" << c.added;
        if (c.fails) {
            ASSERT_EQ(run.messages.size(), 1u);
            EXPECT_EQ(run.messages[0].text, PaddedMessage("辞書ファイルの作成に失敗しました。"));
        } else {
            EXPECT_EQ(run.output,
                      "w \r\n\t" + senses(c.held, 'a') + "," + senses(c.added, 'b') + "\r\n");
        }
    }
    // A long translation that is never merged is copied as it is.
    EXPECT_FALSE(RunGather(GatherPair, "w \r\n\t" + senses(300, 'a') + "\r\n").failed);
}

}  // namespace
}  // namespace tovix
