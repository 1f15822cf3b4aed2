// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>

#include "platform/FileLock.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"
#include "tools/LineWriter.h"
#include "tools/ToolLock.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

TEST(ToolJobTest, StagedOutputsReachTheirPlaceOnlyOnCommit) {
    test::TempDir dir;
    test::RecordingReporter reporter;
    const std::string name = (dir / "X.TXT").string();
    test::WriteBytes(name, "old\r\n");
    {
        ToolJob job(reporter, dir.path());
        LineWriter out(job.WritePath(name));
        out.WriteLine("new");
        out.Close();
        EXPECT_EQ(test::ReadBytes(job.ReadPath(name)), "new\r\n");
        EXPECT_EQ(test::ReadBytes(name), "old\r\n");
    }  // destroyed without commit: the staged file goes, the old file stays
    EXPECT_EQ(test::ReadBytes(name), "old\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    ToolJob job(reporter, dir.path());
    LineWriter out(job.WritePath(name));
    out.WriteLine("new");
    out.Close();
    job.CommitOutputs();
    EXPECT_EQ(test::ReadBytes(name), "new\r\n");
    EXPECT_EQ(job.ReadPath(name), std::filesystem::path(name));
}

TEST(ToolJobTest, FailedStepReportsRestoresCaptionAndSetsFailed) {
    test::TempDir dir;
    test::RecordingReporter reporter;
    ToolJob job(reporter, dir.path());

    EXPECT_TRUE(RunStep(job, "辞書ソート中", "辞書ファイルのソートに失敗しました。",
                        [&] { EXPECT_EQ(reporter.Caption(), "  辞書ソート中  "); }));
    EXPECT_FALSE(job.Failed);
    EXPECT_EQ(reporter.Caption(), "Tovix (ﾒｲﾝ)");

    EXPECT_FALSE(RunStep(job, "辞書ソート中", "辞書ファイルのソートに失敗しました。",
                         [&] { throw IoError(dir / "x", ENOENT); }));
    EXPECT_TRUE(job.Failed);
    EXPECT_EQ(reporter.Caption(), "Tovix (ﾒｲﾝ)");
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(reporter.messages[0].buttons, kButtonAbort);
    EXPECT_EQ(reporter.messages[0].text, "   辞書ファイルのソートに失敗しました。          ");

    EXPECT_FALSE(RunStep(job, "", "x", [&] { throw StepError("   own text"); }));
    EXPECT_EQ(reporter.messages.back().text, "   own text");
}

// Fault: staged files had a predictable name (".X.tovix-" and the process
// number), so a link prepared under it made the tool write the link's target.
TEST(ToolJobTest, StagedFilesNeverWriteThroughAPreparedLink) {
    test::TempDir dir;
    test::RecordingReporter reporter;
    const std::string name = (dir / "X.TXT").string();
    test::WriteBytes(dir / "victim", "keep\r\n");
    std::filesystem::create_symlink(dir / "victim",
                                    dir / (".X.TXT.tovix-" + std::to_string(getpid())));
    ToolJob job(reporter, dir.path());
    LineWriter out(job.WritePath(name));
    out.WriteLine("new");
    out.Close();
    job.CommitOutputs();
    EXPECT_EQ(test::ReadBytes(name), "new\r\n");
    EXPECT_EQ(test::ReadBytes(dir / "victim"), "keep\r\n");
}

// Fault: two tool commands at once mixed their work files; the viewer's tool
// windows refuse a second command at once.
TEST(ToolJobTest, ToolLockRefusesOrWaitsWhileAnotherCommandRuns) {
    test::TempDir dir;
    test::RecordingReporter reporter;
    {
        const FileLock other(ToolLockFileName(dir.path()), "lock");  // another process's
        EXPECT_FALSE(ToolLock::Take(dir.path(), reporter, ToolLock::Mode::Refuse));
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages[0].text, PaddedMessage(tool_text::kToolBusy));
        EXPECT_EQ(reporter.messages[0].buttons, kButtonAbort);
        EXPECT_FALSE(ToolLock::Held(dir.path()));
    }
    std::optional<ToolLock> lock = ToolLock::Take(dir.path(), reporter, ToolLock::Mode::Wait);
    ASSERT_TRUE(lock);
    EXPECT_TRUE(ToolLock::Held(dir.path()));
    EXPECT_FALSE(FileLock::TryLock(ToolLockFileName(dir.path()), "lock"));
    lock.reset();
    EXPECT_FALSE(ToolLock::Held(dir.path()));
    EXPECT_EQ(reporter.caption, "Tovix (ﾒｲﾝ)");
}

}  // namespace
}  // namespace tovix
