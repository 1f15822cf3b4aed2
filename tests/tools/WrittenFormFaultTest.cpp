// SPDX-License-Identifier: GPL-3.0-or-later
// Fault injection over a Japanese-English build, whose set has its
// written-form file besides the parts and the table: whichever write, flush
// or rename fails, the set opened afterwards is the old one or the new one
// whole, written-form file included, and a kanji finds that set's entry.

#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>

#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/OpenDictionary.h"
#include "platform/FaultInjection.h"
#include "support/RecordingReporter.h"
#include "support/SetFiles.h"
#include "tools/Chains.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

class WrittenFormFaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(work_);
        test::WriteBytes(work_ / "old.exm",
                         test::ExmText({"かんじ[漢字]\tkanji", "いぬ[犬]\tdog"}));
        test::WriteBytes(work_ / "new.exm",
                         test::ExmText({"かんじ[漢字]\tChinese character", "ねこ[猫]\tcat"}));
        ASSERT_TRUE(Build("old.exm"));
        oldBytes_ = test::SetBytes(Dic(), Direction::Japanese);
        for (const fs::path& file : test::SetFileNames(Dic(), Direction::Japanese)) {
            fs::copy_file(file, work_ / file.filename());
        }
        ASSERT_TRUE(Build("new.exm"));
        newBytes_ = test::SetBytes(Dic(), Direction::Japanese);
    }

    fs::path Dic() const { return dir_ / "T.DIC"; }

    bool Build(const char* exm) const {
        test::RecordingReporter reporter;
        ToolJob job(reporter, work_);
        job.InName1 = (work_ / exm).string();
        job.OutName1 = Dic().string();
        return bool(ExmToTovix(job, Direction::Japanese));
    }

    void RestoreOld() const {
        for (const fs::path& file : test::SetFileNames(Dic(), Direction::Japanese)) {
            fs::copy_file(work_ / file.filename(), file, fs::copy_options::overwrite_existing);
        }
    }

    // "old" or "new" when the set is that set whole and 漢字 finds its
    // translation; "mixed" otherwise.
    std::string Opened() const {
        OpenedDictionary opened = OpenDictionary(Dic(), Direction::Japanese);
        const std::string bytes = test::SetBytes(Dic(), Direction::Japanese);
        std::string state = bytes == oldBytes_ ? "old" : bytes == newBytes_ ? "new" : "mixed";
        SearchState search;
        search.direction = Direction::Japanese;
        search.dicFile = Dic();
        search.table = std::move(opened.table);
        LineStoreView view;
        test::RecordingReporter reporter;
        const bool found = Lookup(search, view, reporter, Utf8ToCp932("漢字")).matched;
        const std::string translation = found ? Cp932ToUtf8(view.ViewLine(view.TopLine() + 1)) : "";
        if (translation != (state == "old" ? "\tkanji" : "\tChinese character")) {
            state += " looked up wrong";
        }
        return state;
    }

    // Flushes cost nothing on /dev/shm: the many builds stay quick.
    test::TempDir dir_{fs::is_directory("/dev/shm") && access("/dev/shm", W_OK) == 0
                           ? fs::path("/dev/shm")
                           : fs::temp_directory_path()};
    fs::path work_ = dir_ / "work";
    std::string oldBytes_;
    std::string newBytes_;
};

TEST_F(WrittenFormFaultTest, EveryFailingWriteFlushOrRenameLeavesTheOldOrTheNewSet) {
    for (const FaultOperation operation :
         {FaultOperation::Write, FaultOperation::Sync, FaultOperation::Rename}) {
        RestoreOld();
        InjectFault(operation, LONG_MAX, FaultAction::Fail);
        ASSERT_TRUE(Build("new.exm"));
        const long count = FaultCount(operation);
        ClearFaults();
        ASSERT_GT(count, 0);
        for (long n = 1; n <= count; ++n) {
            RestoreOld();
            InjectFault(operation, n, FaultAction::Fail);
            EXPECT_FALSE(Build("new.exm"));
            ClearFaults();
            const std::string opened = Opened();
            EXPECT_TRUE(opened == "old" || opened == "new")
                << opened << " (operation " << static_cast<int>(operation) << ", n " << n << ")";
        }
    }
}

}  // namespace
}  // namespace tovix
