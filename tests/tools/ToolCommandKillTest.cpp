// SPDX-License-Identifier: GPL-3.0-or-later
// The tool commands that replace a dictionary file set other than a build
// (rebuilding a set from its parts, a new set over an old one, joining two
// sets into a third, gathering a set's duplicates) killed at every write,
// flush and rename: the set, once opened, is wholly the old set or wholly the
// new one, the sets a join reads are untouched, and the command run again
// gives the new set.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Cp932.h"
#include "support/RecordingReporter.h"
#include "support/SetFiles.h"
#include "support/SetRewrite.h"
#include "tools/Chains.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

struct Case {
    const char* name;
    ChainResult (*chain)(ToolJob& job, Direction direction);
    // The set "T.DIC" is built from the old entries; for a join, the sets
    // it reads are built from the new entries and from `second`.
    test::SetRewrite sets;
    std::vector<std::string> second;
    // Lines (UTF-8) appended to the first part file of the old set, out of
    // order, for the rebuild to sort in.
    std::vector<std::string> appended;
    // What the word's translation line holds in the new set.
    std::string newTranslation;
};

const Case kCases[] = {
    {"Remake",
     ReMakeTovix,
     {Direction::English, {"apple\tりんご", "bank\t銀行"}, {"cat\t猫"}, "aardvark", "", ""},
     {},
     {"aardvark ", "\tツチブタ"},
     "ツチブタ"},
    {"New",
     NewTovix,
     {Direction::Japanese,
      {"かんじ[漢字]\tkanji", "いぬ[犬]\tdog"},
      {"ねこ[猫]\tcat"},
      "い",
      "",
      ""},
     {},
     {},
     "\tい"},
    {"Join",
     TovixAndTovixToTovix,
     {Direction::English,
      {"apple\tりんご", "bank\t銀行"},
      {"apple\t林檎", "dog\t犬"},
      "bank",
      "",
      ""},
     {"bank\t土手", "cat\tネコ"},
     {},
     "\t土手"},
    {"JoinAndGather",
     TovixAndTovixToTovixTogether,
     {Direction::Japanese,
      {"かんじ[漢字]\tkanji", "いぬ[犬]\tdog"},
      {"かんじ[漢字]\tChinese character"},
      "漢字",
      "",
      ""},
     {"かんじ[漢字]\tideograph", "ねこ[猫]\tcat"},
     {},
     "ideograph"},
    {"Gather",
     TovixTogether,
     {Direction::English, {"bank\t銀行", "bank\t土手", "cat\t猫"}, {"cat\tネコ"}, "bank", "", ""},
     {},
     {},
     "土手"},
};

class ToolCommandKillTest : public test::SetRewriteTest,
                            public ::testing::WithParamInterface<Case> {
  protected:
    ToolCommandKillTest() : SetRewriteTest(GetParam().sets) {}

    bool RunChain(const fs::path& in1, const fs::path& in2) const {
        test::RecordingReporter reporter;
        ToolJob job(reporter, work_);
        job.InName1 = in1.string();
        job.InName2 = in2.string();
        job.OutName1 = Dic().string();
        return bool(GetParam().chain(job, sets_.direction));
    }
};

TEST_P(ToolCommandKillTest, KilledAtEveryWriteFlushOrRenameLeavesTheOldOrTheNewSet) {
    const Case& c = GetParam();
    RestoreOld();
    std::string appended;
    for (const std::string& line : c.appended) {
        appended += Utf8ToCp932(line) + "\r\n";
    }
    test::WriteBytes(PartFileName(Dic(), 1), test::ReadBytes(PartFileName(Dic(), 1)) + appended);
    if (c.second.empty()) {
        TakeOldAndNew([this] { return RunChain(Dic(), {}); });
    } else {
        const fs::path inputs = dir_ / "inputs";
        fs::create_directories(inputs);
        test::WriteBytes(work_ / "second.exm", test::ExmText(c.second));
        ASSERT_TRUE(Build("new.exm", inputs / "A.DIC"));
        ASSERT_TRUE(Build("second.exm", inputs / "B.DIC"));
        TakeOldAndNew([this, inputs] { return RunChain(inputs / "A.DIC", inputs / "B.DIC"); },
                      {inputs / "A.DIC", inputs / "B.DIC"});
    }
    ASSERT_NE(newTranslation_.find(c.newTranslation), std::string::npos) << newTranslation_;
    SweepKills();
}

INSTANTIATE_TEST_SUITE_P(Commands, ToolCommandKillTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& row) {
                             return std::string(row.param.name);
                         });

}  // namespace
}  // namespace tovix
