#include <gtest/gtest.h>

#include "platform/IoError.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"
#include "tools/LineWriter.h"
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

}  // namespace
}  // namespace tovix
