// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Chains.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "dict/DicFileSet.h"
#include "platform/Cp932.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

TEST(ChainsTest, EveryMenuHandlerHasItsCommand) {
    const char* perDirection[] = {"ExmToTovix",
                                  "PdicToTovix",
                                  "TovixToExm",
                                  "PdicToExm",
                                  "ReMakeTovix",
                                  "NewTovix",
                                  "ExmTogether",
                                  "PdicTogether",
                                  "TovixTogether",
                                  "ExmAndExmToExm",
                                  "ExmAndExmToExmTogether",
                                  "PdicAndPdicToPdic",
                                  "PdicAndPdicToPdicTogether",
                                  "TovixAndTovixToTovix",
                                  "TovixAndTovixToTovixTogether"};
    for (const char* name : perDirection) {
        for (const char* direction : {"Eng", "Jpn"}) {
            const std::string handler = std::string("Menu") + direction + name + "Click";
            const ToolCommand* command = FindToolCommand(handler);
            ASSERT_NE(command, nullptr) << handler;
            EXPECT_EQ(command->handler, handler);
            EXPECT_EQ(command->caption.substr(0, 6),
                      direction == std::string("Eng") ? "英和" : "和英")
                << handler;
        }
    }
    EXPECT_EQ(ToolCommands().size(), 34u);

    struct Case {
        const char* handler;
        const char* runs;
        ToolWindow window;
        const char* headLimit;
        const char* transLimit;
    };
    const Case cases[] = {
        {"MenuMake01Click", "MenuEngExmTogetherClick", ToolWindow::TForm23, "", ""},
        {"MenuMake04Click", "MenuJpnExmToTovixClick", ToolWindow::TForm22, "", ""},
        {"MenuMake06Click", "MenuJpnTovixToExmClick", ToolWindow::TForm22, "", ""},
        {"MenuEngNewTovixClick", "MenuEngNewTovixClick", ToolWindow::TForm25, "", ""},
        {"MenuExmDicCheckClick", "MenuExmDicCheckClick", ToolWindow::TForm26, "60", "360"},
        {"MenuPdicDicDivideClick", "MenuPdicDicDivideClick", ToolWindow::TForm26, "256", "512"},
    };
    for (const Case& c : cases) {
        const ToolCommand* command = FindToolCommand(c.handler);
        ASSERT_NE(command, nullptr) << c.handler;
        EXPECT_EQ(command->handler, c.runs);
        EXPECT_EQ(command->window, c.window) << c.handler;
        EXPECT_EQ(command->headLimit, c.headLimit) << c.handler;
        EXPECT_EQ(command->transLimit, c.transLimit) << c.handler;
    }
    EXPECT_EQ(FindToolCommand("MenuEngExmDicCheckClick"), nullptr);
}

TEST(ChainsTest, AChainStopsAtTheFirstFailureAndWritesNothingOfTheUsers) {
    test::TempDir dir;
    test::RecordingReporter reporter;
    ToolJob job(reporter, dir.path());
    job.InName1 = (dir / "in.txt").string();
    job.OutName1 = (dir / "EJ.DIC").string();
    test::WriteBytes(job.InName1, Utf8ToCp932("apple\tりんご\r\nno tab\r\n"));

    EXPECT_FALSE(ExmToTovix(job, Direction::English));
    EXPECT_TRUE(job.Failed);
    EXPECT_EQ(reporter.caption, "Tovix (ﾒｲﾝ)");
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_NE(reporter.messages[0].text.find("辞書ファイルの内容が正しくありません。"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "TOVIXSRT.TXT"));  // the sort never ran
    EXPECT_FALSE(fs::exists(dir / "EJ.DIC"));
    EXPECT_FALSE(fs::exists(dir / "EJ.001"));

    // A failure of the previous command does not stop the next one.
    test::WriteBytes(job.InName1, Utf8ToCp932("apple\tりんご\r\n"));
    const ChainResult result = ExmToTovix(job, Direction::English);
    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(result.keptAtEnd, 0);
    EXPECT_FALSE(job.Failed);
    EXPECT_EQ(test::ReadBytes(dir / "EJ.001"), Utf8ToCp932("apple \r\n\tりんご\r\n"));
    EXPECT_EQ(reporter.caption, "Tovix (ﾒｲﾝ)");
    // No staged file is left; the set's lock file stays, as after an edit.
    for (const auto& file : fs::directory_iterator(dir.path())) {
        EXPECT_TRUE(!file.path().filename().string().starts_with(".") ||
                    file.path() == SetLockFileName(dir / "EJ.DIC"))
            << file.path();
    }
}

}  // namespace
}  // namespace tovix
