// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixture of the tests that rewrite a dictionary file set under faults:
// an old set is built, kept aside, and rebuilt with other entries; after each
// faulty rebuild the test asks what a reader finds. Opened() gives "old" or
// "new" when the set, opened as the viewer opens it (an unfinished
// replacement completed first), is byte for byte that set and the lookup of
// the word finds that set's translation; otherwise "mixed", "unopenable" or
// "... looked up wrong"; any other file in the set's folder is named after it.

#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/OpenDictionary.h"
#include "platform/Cp932.h"
#include "platform/FaultInjection.h"
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
    explicit SetRewriteTest(SetRewrite sets) : sets_(std::move(sets)) {}

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

    // Builds the set from the [EXM] file `exm` of the work folder.
    bool Build(const char* exm) const {
        RecordingReporter reporter;
        ToolJob job(reporter, work_);
        job.InName1 = (work_ / exm).string();
        job.OutName1 = Dic().string();
        return bool(ExmToTovix(job, sets_.direction));
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
        EXPECT_TRUE(Build("new.exm"));
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
            LookUp(opened) != (state == "old" ? sets_.oldTranslation : sets_.newTranslation)) {
            state += " looked up wrong";
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

    const SetRewrite sets_;
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
