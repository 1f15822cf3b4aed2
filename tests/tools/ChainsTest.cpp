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

TEST(ChainsTest, OneRowServesBothDirectionsOfACommand) {
    const auto commands = ToolCommands();
    EXPECT_EQ(commands.size(), 20u);  // 16 of each direction, 4 of none
    for (size_t n = 0; n < commands.size(); ++n) {
        const ToolCommand& command = commands[n];
        EXPECT_EQ(&FindToolCommand(command.id), &command);
        const std::string eng = command.Caption(Direction::English);
        const std::string jpn = command.Caption(Direction::Japanese);
        if (command.directions == ToolDirections::Each) {
            EXPECT_EQ(eng.substr(0, 6), "英和") << n;
            EXPECT_EQ(jpn.substr(0, 6), "和英") << n;
            EXPECT_EQ(eng.substr(6), jpn.substr(6)) << n;
        } else {
            EXPECT_EQ(eng, jpn) << n;
        }
    }

    struct Case {
        ToolCommandId id;
        ToolForm form;
        const char* caption;  // in J-E
        const char* headLimit;
        const char* transLimit;
    };
    using enum ToolCommandId;
    const Case cases[] = {
        {ExmTogether, ToolForm::InPlace, "和英辞書整形 (タブ区切り [EXM] の重複を許可しない)", "",
         ""},
        {ExmToTovix, ToolForm::OneInOneOut, "和英辞書作成 (タブ区切り [EXM] を変換)", "", ""},
        {TovixToExm, ToolForm::OneInOneOut,
         "和英辞書変換 (改行区切り [TOVIX] を タブ区切り [EXM] に変換)", "", ""},
        {NewTovix, ToolForm::NewFile, "和英辞書 [Tovix] の新規作成", "", ""},
        {ExmDicCheck, ToolForm::LengthCheck, "辞書検査(タブ区切り [EXM] の辞書の検査)", "60",
         "360"},
        {PdicDicDivide, ToolForm::LengthCheck, "辞書検査(改行区切り [PDIC] の辞書の検査)", "256",
         "512"},
    };
    for (const Case& c : cases) {
        const ToolCommand& command = FindToolCommand(c.id);
        EXPECT_EQ(command.form, c.form) << c.caption;
        EXPECT_EQ(command.Caption(Direction::Japanese), c.caption);
        EXPECT_EQ(command.headLimit, c.headLimit) << c.caption;
        EXPECT_EQ(command.transLimit, c.transLimit) << c.caption;
    }

    // The names' roles take the direction the command runs in.
    const ToolNameRoles toExm = FindToolCommand(TovixToExm).Roles(Direction::Japanese);
    EXPECT_TRUE(toExm.readsSets);
    EXPECT_FALSE(toExm.writesSet);
    EXPECT_EQ(toExm.direction, Direction::Japanese);
    const ToolNameRoles remake = FindToolCommand(ReMakeTovix).Roles(Direction::English);
    EXPECT_TRUE(remake.readsSets && remake.writesSet);
    EXPECT_EQ(remake.direction, Direction::English);
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
