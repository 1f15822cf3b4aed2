// SPDX-License-Identifier: GPL-3.0-or-later
// tovix-tool add, change and delete end to end, checked through the lookup:
// each edit lands where typing the headword finds it, --line picks one of
// two equal headwords, a wrong headword changes nothing, and two edits of one
// set at once take turns on its lock.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "cli/CliMessages.h"
#include "cli/CliRun.h"
#include "dict/DicFileSet.h"
#include "editing/EditMessages.h"
#include "platform/FileLock.h"
#include "support/SetFiles.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

using test::CliRun;

void Build(const CliRun& run) {
    run.Write("ej.txt", "abandon\t捨てる\r\nbank\t銀行\r\nzoo\t動物園\r\n");
    run.Write("je.txt", "あい[愛]\tlove\r\nかみ[紙]\tpaper\r\nかみ[神]\tgod\r\n");
    ASSERT_EQ(run.Run({"exm-to-tovix", "--eng", "ej.txt", "EJ.DIC"}).status, 0);
    ASSERT_EQ(run.Run({"exm-to-tovix", "--jpn", "je.txt", "JE.DIC"}).status, 0);
}

// The top line after typing `word`, or "(no match)".
std::string TopLine(const CliRun& run, const std::string& direction, const std::string& dic,
                    const char* word) {
    const std::string out = run.Run({"lookup", direction, "--paste", dic, word}).out;
    if (out.find("\t1\t") == std::string::npos) {
        return "(no match)";
    }
    const std::string line = out.substr(out.rfind('\t') + 1);
    return line.substr(0, line.size() - 1);
}

TEST(EditCommandTest, EditsLandWhereTypingTheHeadwordFindsThem) {
    CliRun run;
    Build(run);
    struct Step {
        std::vector<std::string> arguments;
        const char* word;
        const char* top;  // the top line after typing the word
    };
    const Step steps[] = {
        {{"add", "--eng", "EJ.DIC", "apple", "りんご"}, "apple", "apple "},
        {{"change", "--eng", "EJ.DIC", "apple", "林檎"}, "apple", "apple "},
        {{"add", "--jpn", "JE.DIC", "き", "[木]", "tree"}, "き", "き [木]"},
        // The written form left out stays as it is.
        {{"change", "--jpn", "JE.DIC", "き", "wood"}, "き", "き [木]"},
        {{"change", "--jpn", "JE.DIC", "き", "[樹]", "a tree"}, "き", "き [樹]"},
        {{"delete", "--eng", "EJ.DIC", "bank"}, "bank", "(no match)"},
    };
    for (const Step& s : steps) {
        const test::CliResult result = run.Run(s.arguments);
        EXPECT_EQ(result.status, 0) << s.arguments[0] << " " << s.word << "\n" << result.err;
        EXPECT_NE(result.out.find("完了しました: "), std::string::npos) << s.word;
        EXPECT_EQ(TopLine(run, s.arguments[1], s.arguments[2], s.word), s.top) << s.word;
    }
    EXPECT_EQ(test::ReadBytes(run / "TOVIXCGJ.TXT"),
              test::Sjis("JE.DIC\tき[樹]\ta tree\r\nJE.DIC\tき[木]\twood\r\n"));
    EXPECT_EQ(test::ReadBytes(run / "TOVIXDLE.TXT"), test::Sjis("EJ.DIC\tbank\t銀行\r\n"));
}

TEST(EditCommandTest, LinePicksTheEntryAndAWrongHeadwordChangesNothing) {
    CliRun run;
    Build(run);
    // かみ [紙] on line 0 of part 6, where typing かみ brings the view, and
    // かみ [神] on line 2.
    ASSERT_EQ(run.Run({"delete", "--jpn", "--line", "2", "JE.DIC", "かみ"}).status, 0);
    EXPECT_EQ(test::ReadBytes(run / "JE.006"), test::Sjis("かみ [紙]\r\n\tpaper\r\n"));

    const std::string before = test::SetBytes(run / "EJ.DIC", Direction::English);
    struct Refused {
        std::vector<std::string> arguments;
        int status;
    };
    const Refused refused[] = {
        {{"delete", "--eng", "EJ.DIC", "aban"}, 1},                    // not the whole headword
        {{"delete", "--eng", "--line", "2", "EJ.DIC", "abandon"}, 1},  // line 2 is no abandon
        {{"change", "--eng", "EJ.DIC", "zoo", "a\tb"}, 1},             // a TAB in the translation
        {{"add", "--eng", "EJ.DIC", "あ", "x"}, 1},               // no block for a kana headword
        {{"add", "--jpn", "JE.DIC", "tori", "[鳥]", "bird"}, 1},  // a reading in romaji
        {{"add", "--eng", "EJ.DIC", "apple"}, 2},
        {{"delete", "--eng", "--line", "x", "EJ.DIC", "zoo"}, 2},
    };
    for (const Refused& r : refused) {
        const test::CliResult result = run.Run(r.arguments);
        EXPECT_EQ(result.status, r.status) << r.arguments[0] << " " << r.arguments.back();
        EXPECT_EQ(test::SetBytes(run / "EJ.DIC", Direction::English), before);
    }
    EXPECT_NE(run.Run({"delete", "--eng", "EJ.DIC", "aban"}).err.find(cli_text::kNoSuchEntry),
              std::string::npos);
    EXPECT_NE(run.Run({"add", "--jpn", "JE.DIC", "tori", "[鳥]", "bird"})
                  .err.find(edit_text::kReadingNotKana),
              std::string::npos);
}

TEST(EditCommandTest, TwoEditsOfOneSetAtOnceTakeTurns) {
    CliRun run;
    Build(run);
    std::vector<pid_t> pids;
    {
        // Holding the set's lock here makes both start while an edit runs.
        const FileLock held(SetLockFileName(run / "EJ.DIC"), "lock");
        pids.push_back(run.Start({"add", "--eng", "EJ.DIC", "apple", "りんご"}, "a"));
        pids.push_back(run.Start({"add", "--eng", "EJ.DIC", "apricot", "あんず"}, "b"));
        const std::string waiting(tool_text::kProgressWaitForSet);
        for (const char* tag : {"a", "b"}) {
            for (int i = 0; i < 500 && run.ErrorsSoFar(tag).find(waiting) == std::string::npos;
                 ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            EXPECT_NE(run.ErrorsSoFar(tag).find(waiting), std::string::npos) << tag;
        }
    }
    EXPECT_EQ(run.Wait(pids[0], "a").status, 0);
    EXPECT_EQ(run.Wait(pids[1], "b").status, 0);
    EXPECT_EQ(TopLine(run, "--eng", "EJ.DIC", "apple"), "apple ");
    EXPECT_EQ(TopLine(run, "--eng", "EJ.DIC", "apricot"), "apricot ");
    EXPECT_EQ(test::ReadBytes(run / "TOVIXADE.TXT"),
              test::Sjis("EJ.DIC\tapple\tりんご\r\nEJ.DIC\tapricot\tあんず\r\n"));
}

}  // namespace
}  // namespace tovix
