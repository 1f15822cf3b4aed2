// SPDX-License-Identifier: GPL-3.0-or-later
// Fault injection over a Japanese-English build, whose set has its
// written-form file besides the parts and the table: whichever write, flush
// or rename fails, the set opened afterwards is the old one or the new one
// whole, written-form file included, and a kanji finds that set's entry.

#include <gtest/gtest.h>

#include "platform/FaultInjection.h"
#include "support/SetRewrite.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

class WrittenFormFaultTest : public test::SetRewriteTest {
  protected:
    WrittenFormFaultTest()
        : SetRewriteTest({Direction::Japanese,
                          {"かんじ[漢字]\tkanji", "いぬ[犬]\tdog"},
                          {"かんじ[漢字]\tChinese character", "ねこ[猫]\tcat"},
                          "漢字",
                          "\tkanji",
                          "\tChinese character"}) {}
};

TEST_F(WrittenFormFaultTest, EveryFailingWriteFlushOrRenameLeavesTheOldOrTheNewSet) {
    for (const FaultOperation operation :
         {FaultOperation::Write, FaultOperation::Sync, FaultOperation::Rename}) {
        const long count = Count(operation);
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
