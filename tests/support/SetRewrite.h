// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixture of the tests that rewrite a dictionary file set under faults:
// an old set is built, kept aside, and rebuilt with other entries; after each
// faulty rebuild the test asks what a reader finds. Opened() gives "old" or
// "new" when the set, opened as the viewer opens it (an unfinished
// replacement completed first), is byte for byte that set and the lookup of
// the word finds that set's translation; otherwise "mixed", "unopenable" or
// "... looked up wrong"; any other file in the set's folder is named after it.
// A test of another command than a build makes the set's state then the old
// set and what its command makes of it the new one (TakeOldAndNew).

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/OpenDictionary.h"
#include "platform/Cp932.h"
#include "platform/FaultInjection.h"
#include "platform/ReplaceJournal.h"
#include "support/RecordingReporter.h"
#include "support/SetFiles.h"
#include "support/TempDir.h"
#include "tools/Chains.h"

namespace tovix::test {

// The two sets: their [EXM] entries (UTF-8), and a word (UTF-8) with the
// translation line each set shows for it.
struct SetRewrite {
    Direction direction;
    std::vector<std::string> oldEntries;
    std::vector<std::string> newEntries;
    std::string word;
    std::string oldTranslation;
    std::string newTranslation;
};

class SetRewriteTest : public ::testing::Test {
  protected:
    explicit SetRewriteTest(SetRewrite sets)
        : sets_(std::move(sets)),
          oldTranslation_(sets_.oldTranslation),
          newTranslation_(sets_.newTranslation) {}

    void SetUp() override {
        std::filesystem::create_directories(work_);
        std::filesystem::create_directories(setDir_);
        WriteBytes(work_ / "old.exm", ExmText(sets_.oldEntries));
        WriteBytes(work_ / "new.exm", ExmText(sets_.newEntries));
        ASSERT_TRUE(Build("old.exm"));
        oldBytes_ = SetBytes(Dic(), sets_.direction);
        std::filesystem::create_directories(pristine_);
        for (const std::filesystem::path& file : SetFileNames(Dic(), sets_.direction)) {
            std::filesystem::copy_file(file, pristine_ / file.filename());
        }
        ASSERT_TRUE(Build("new.exm"));
        newBytes_ = SetBytes(Dic(), sets_.direction);
        ASSERT_NE(oldBytes_, newBytes_);
    }

    std::filesystem::path Dic() const { return setDir_ / "T.DIC"; }

    // Builds the set (or the set `dic`) from the [EXM] file `exm` of the
    // work folder.
    bool Build(const std::string& exm, const std::filesystem::path& dic = {}) const {
        RecordingReporter reporter;
        ToolJob job(reporter, work_);
        job.InName1 = (work_ / exm).string();
        job.OutName1 = (dic.empty() ? Dic() : dic).string();
        return bool(ExmToTovix(job, sets_.direction));
    }

    // The command the sweeps rewrite the set with: a build from "new.exm",
    // or the command given to TakeOldAndNew.
    bool Rewrite() const { return rewrite_ ? rewrite_() : Build("new.exm"); }

    // The set's folder as it is now becomes the old state, and what `command`
    // makes of it the new one, with the word's translation in each; the sets
    // `inputs` (of the direction tested), which the command reads, must stay
    // as they are now in both.
    void TakeOldAndNew(std::function<bool()> command,
                       std::vector<std::filesystem::path> inputs = {}) {
        std::filesystem::remove_all(pristine_);
        std::filesystem::copy(setDir_, pristine_);
        inputs_ = std::move(inputs);
        inputBytes_ = InputBytes();
        oldBytes_ = SetBytes(Dic(), sets_.direction);
        OpenedDictionary opened = OpenDictionary(Dic(), sets_.direction);
        ASSERT_TRUE(opened.Opened());
        oldTranslation_ = LookUp(opened);
        rewrite_ = std::move(command);
        ASSERT_TRUE(Rewrite());
        newBytes_ = SetBytes(Dic(), sets_.direction);
        ASSERT_NE(oldBytes_, newBytes_);
        opened = OpenDictionary(Dic(), sets_.direction);
        ASSERT_TRUE(opened.Opened());
        newTranslation_ = LookUp(opened);
    }

    // Kills the rewrite at its Nth write, flush or rename, for every N. After
    // each kill the set, once opened, is the old set (a killed command may
    // leave its staged files, never its journal) or the new one, and the next
    // rewrite makes it the new one.
    void SweepKills() const {
        for (const FaultOperation operation :
             {FaultOperation::Write, FaultOperation::Sync, FaultOperation::Rename}) {
            const long count = Count(operation);
            ASSERT_GT(count, 0);
            for (long n = 1; n <= count; ++n) {
                const std::string where = "operation " +
                                          std::to_string(static_cast<int>(operation)) + ", n " +
                                          std::to_string(n);
                RestoreOld();
                const pid_t pid = fork();
                ASSERT_GE(pid, 0);
                if (pid == 0) {
                    InjectFault(operation, n, FaultAction::Kill);
                    _exit(Rewrite() ? 0 : 1);
                }
                int status = 0;
                waitpid(pid, &status, 0);
                EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << where;
                const std::string opened = Opened();
                const std::string journal = " " + JournalFileName(Dic()).filename().string();
                const bool oldAndStaged = (opened == "old" || opened.starts_with("old .")) &&
                                          (opened + " ").find(journal + " ") == std::string::npos;
                EXPECT_TRUE(oldAndStaged || opened == "new") << opened << " (" << where << ")";
                EXPECT_TRUE(Rewrite()) << where;
                EXPECT_EQ(Opened(), "new") << where;
            }
        }
    }

    // The set's folder holds the old set alone again.
    void RestoreOld() const {
        for (const auto& entry : std::filesystem::directory_iterator(setDir_)) {
            std::filesystem::remove_all(entry.path());
        }
        std::filesystem::copy(pristine_, setDir_);
    }

    // How many operations of the kind a whole rebuild makes.
    long Count(FaultOperation operation) const {
        RestoreOld();
        InjectFault(operation, LONG_MAX, FaultAction::Fail);
        EXPECT_TRUE(Rewrite());
        const long count = FaultCount(operation);
        ClearFaults();
        return count;
    }

    std::string Opened() const {
        OpenedDictionary opened = OpenDictionary(Dic(), sets_.direction);
        if (!opened.Opened()) {
            return "unopenable";
        }
        const std::string bytes = SetBytes(Dic(), sets_.direction);
        std::string state = bytes == oldBytes_ ? "old" : bytes == newBytes_ ? "new" : "mixed";
        if (state != "mixed" &&
            LookUp(opened) != (state == "old" ? oldTranslation_ : newTranslation_)) {
            state += " looked up wrong";
        }
        if (InputBytes() != inputBytes_) {
            state += " inputs changed";
        }
        return state + OtherFiles(setDir_, Dic(), sets_.direction);
    }

    // The translation line of the first headword that the word begins.
    std::string LookUp(OpenedDictionary& opened) const {
        SearchState state;
        state.direction = sets_.direction;
        state.dicFile = Dic();
        state.table = std::move(opened.table);
        LineStoreView view;
        RecordingReporter reporter;
        if (!Lookup(state, view, reporter, Utf8ToCp932(sets_.word)).matched) {
            return "";
        }
        return Cp932ToUtf8(view.ViewLine(view.TopLine() + 1));
    }

    std::string InputBytes() const {
        std::string bytes;
        for (const std::filesystem::path& input : inputs_) {
            bytes += SetBytes(input, sets_.direction) +
                     OtherFiles(input.parent_path(), input, sets_.direction);
        }
        return bytes;
    }

    const SetRewrite sets_;
    std::string oldTranslation_;
    std::string newTranslation_;
    std::function<bool()> rewrite_;
    std::vector<std::filesystem::path> inputs_;
    std::string inputBytes_;
    // Flushes cost nothing on /dev/shm: the many builds stay quick.
    TempDir dir_{std::filesystem::is_directory("/dev/shm") && access("/dev/shm", W_OK) == 0
                     ? std::filesystem::path("/dev/shm")
                     : std::filesystem::temp_directory_path()};
    std::filesystem::path work_ = dir_ / "work";
    std::filesystem::path setDir_ = dir_ / "sets";
    std::filesystem::path pristine_ = dir_ / "pristine";
    std::string oldBytes_;
    std::string newBytes_;
};

}  // namespace tovix::test
