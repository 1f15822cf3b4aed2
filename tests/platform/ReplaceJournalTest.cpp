// SPDX-License-Identifier: GPL-3.0-or-later
// Several files replaced as one: whatever fails, the files are afterwards
// (once CompleteReplacement ran, as every reader of them does first) all old
// or all new, and no staged file or journal is left.

#include "platform/ReplaceJournal.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FaultInjection.h"
#include "platform/IoError.h"
#include "platform/PosixIo.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kNames = {"S.DIC", "S.001", "S.002", "S.DAT"};

class ReplaceJournalTest : public ::testing::Test {
  protected:
    fs::path Journal() const { return JournalFileName(dir_ / "S.DIC"); }

    // The old files; S.002 is missing, as a part file that a set gains.
    void WriteOld() const {
        for (const std::string& name : kNames) {
            if (name != "S.002") {
                test::WriteBytes(dir_ / name, "old " + name);
            }
        }
    }

    // Stages the new content of every file and commits; false when the
    // commit threw.
    bool ReplaceAll() const {
        try {
            StagedReplacement staged;
            for (const std::string& name : kNames) {
                const FileDescriptor file = OpenFile(staged.Stage(dir_ / name), O_WRONLY | O_TRUNC);
                WriteAll(file.Get(), "new " + name, name);
            }
            staged.Commit(Journal());
        } catch (const IoError&) {
            return false;
        }
        return true;
    }

    // "old", "new" or "mixed"; every other entry of the directory is listed.
    std::string State() const {
        int fresh = 0;
        for (const std::string& name : kNames) {
            fresh += test::ReadBytes(dir_ / name) == "new " + name;
        }
        std::string others;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            if (std::find(kNames.begin(), kNames.end(), name) == kNames.end()) {
                others += " " + name;
            }
        }
        const int total = static_cast<int>(kNames.size());
        return (fresh == 0 ? "old" : fresh == total ? "new" : "mixed") + others;
    }

    test::TempDir tempDir_;
    fs::path dir_ = tempDir_.path();
};

TEST_F(ReplaceJournalTest, EveryFailedWriteFlushOrRenameLeavesAllOldOrAllNew) {
    for (const FaultOperation operation :
         {FaultOperation::Write, FaultOperation::Sync, FaultOperation::Rename}) {
        WriteOld();
        InjectFault(operation, LONG_MAX, FaultAction::Fail);
        ASSERT_TRUE(ReplaceAll());
        const long count = FaultCount(operation);
        ASSERT_GT(count, 0);
        for (long n = 1; n <= count; ++n) {
            WriteOld();
            fs::remove(dir_ / "S.002");
            InjectFault(operation, n, FaultAction::Fail);
            const bool replaced = ReplaceAll();
            ClearFaults();
            EXPECT_FALSE(replaced) << static_cast<int>(operation) << " " << n;
            CompleteReplacement(Journal());
            const std::string state = State();
            EXPECT_TRUE(state == "old" || state == "new") << state << " at " << n;
        }
    }
}

// Fault: a set was replaced one rename at a time, so a failing rename (a
// directory in the way) left new and old files mixed.
TEST_F(ReplaceJournalTest, FileThatCannotBeReplacedStopsBeforeAnyRename) {
    WriteOld();
    fs::remove(dir_ / "S.002");
    fs::create_directory(dir_ / "S.002");
    EXPECT_FALSE(ReplaceAll());
    fs::remove(dir_ / "S.002");
    EXPECT_EQ(State(), "old");
}

TEST_F(ReplaceJournalTest, DamagedJournalIsNeverActedOn) {
    WriteOld();
    InjectFault(FaultOperation::Rename, 2, FaultAction::Fail);  // the first file's rename
    ASSERT_FALSE(ReplaceAll());
    ClearFaults();
    const std::string journal = test::ReadBytes(Journal());
    ASSERT_FALSE(journal.empty());
    std::string flipped = journal;
    flipped[flipped.size() / 2] ^= 1;
    const std::string damages[] = {journal.substr(0, journal.size() / 2),
                                   journal.substr(0, journal.rfind("end")), flipped,
                                   journal + "x\n", ""};
    for (const std::string& damaged : damages) {
        test::WriteBytes(Journal(), damaged);
        try {
            CompleteReplacement(Journal());
            ADD_FAILURE() << "acted on: " << damaged;
        } catch (const IoError& e) {
            EXPECT_EQ(e.error(), EBADMSG);
        }
        EXPECT_EQ(State().substr(0, 3), "old");  // the staged files stay as well
    }
    test::WriteBytes(Journal(), journal);
    EXPECT_TRUE(CompleteReplacement(Journal()));
    EXPECT_EQ(State(), "new");
    EXPECT_FALSE(CompleteReplacement(Journal()));
}

// Fault: an output named through a link replaced the link by a plain file,
// and a 0600 file became 0644.
TEST_F(ReplaceJournalTest, LinkedFilesAreWrittenThroughAndKeepTheirMode) {
    WriteOld();
    fs::create_directory(dir_ / "real");
    fs::rename(dir_ / "S.001", dir_ / "real" / "S.001");
    fs::create_symlink("real/S.001", dir_ / "S.001");
    ::chmod((dir_ / "S.DAT").c_str(), 0600);
    ASSERT_TRUE(ReplaceAll());
    EXPECT_TRUE(fs::is_symlink(dir_ / "S.001"));
    EXPECT_EQ(test::ReadBytes(dir_ / "real" / "S.001"), "new S.001");
    EXPECT_EQ(fs::status(dir_ / "S.DAT").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(State(), "new real");
}

}  // namespace
}  // namespace tovix
