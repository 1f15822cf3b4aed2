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
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/FaultInjection.h"
#include "platform/IoError.h"
#include "platform/PosixIo.h"
#include "platform/StagedFile.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kNames = {"S.DIC", "S.001", "S.002", "S.DAT"};

class ReplaceJournalTest : public ::testing::Test {
  protected:
    fs::path Journal() const { return JournalFileName(dir_ / "S.DIC"); }

    // The files a journal of this set may replace.
    std::vector<fs::path> Replaceable() const {
        std::vector<fs::path> files;
        for (const std::string& name : kNames) {
            files.push_back(dir_ / name);
        }
        return files;
    }

    bool Complete() const { return CompleteReplacement(Journal(), Replaceable()); }

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
            Complete();
            const std::string state = State();
            EXPECT_TRUE(state == "old" || state == "new") << state << " at " << n;
        }
    }
}

size_t OpenDescriptors() {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

// The files replaced are held until the replacement is done and then let go:
// none stays open (a viewer edits for hours), and a FIFO where a file stood
// is renamed over without the commit waiting for a writer to open it.
TEST_F(ReplaceJournalTest, ACommitLeavesNoDescriptorOpenAndNeverOpensATargetForReading) {
    for (const Durability durability : {Durability::Journalled, Durability::RenamesOnly}) {
        WriteOld();
        fs::remove(dir_ / "S.001");
        ASSERT_EQ(::mkfifo((dir_ / "S.001").c_str(), 0600), 0);
        const size_t before = OpenDescriptors();
        {
            StagedReplacement staged(durability);
            for (const std::string& name : kNames) {
                test::WriteBytes(staged.Stage(dir_ / name), "new " + name);
            }
            staged.Commit(Journal());
        }
        EXPECT_EQ(State(), "new");
        for (int wait = 0; wait < 200 && OpenDescriptors() != before; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(OpenDescriptors(), before) << static_cast<int>(durability);
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
            Complete();
            ADD_FAILURE() << "acted on: " << damaged;
        } catch (const IoError& e) {
            EXPECT_EQ(e.error(), EBADMSG);
        }
        EXPECT_EQ(State().substr(0, 3), "old");  // the staged files stay as well
    }
    test::WriteBytes(Journal(), journal);
    EXPECT_TRUE(Complete());
    EXPECT_EQ(State(), "new");
    EXPECT_FALSE(Complete());
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

// A journal with `lines` (version 2 when they have four fields), closed as a
// writer closes it: anyone can compute the checksum.
std::string PlantedJournal(const std::vector<std::string>& lines, int version = 2) {
    std::string text = "tovix replace journal " + std::to_string(version) + "\n";
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char end[64];
    std::snprintf(end, sizeof end, "end %zu %016llx\n", lines.size(),
                  static_cast<unsigned long long>(hash));
    return text + end;
}

std::string Fingerprint(const fs::path& file) {
    struct stat status {};
    ::lstat(file.c_str(), &status);
    return std::to_string(status.st_ino) + "\t" + std::to_string(status.st_size);
}

// Fault: a journal found beside a set (one that came with a set from
// someone) was carried out whatever it named: a file outside the set was
// overwritten, and a line "S.002 TAB S.001" destroyed a part.
TEST_F(ReplaceJournalTest, JournalIsCarriedOutOnlyWhenItRenamesTheSetsOwnStagedFiles) {
    dir_ = tempDir_.path() / "set";
    const std::string staged = ".S.001.tovix-0123456789abcdef";
    const std::string victim = (tempDir_.path() / "victim.txt").string();
    struct Case {
        const char* what;
        std::string stagedContent;  // written to `staged` when not empty
        std::vector<std::string> lines;
        int version;
    };
    const std::vector<Case> cases = {
        {"outside the folder", "payload", {staged + "\t../victim.txt\t1\t7"}, 2},
        {"absolute outside", "payload", {staged + "\t" + victim + "\t1\t7"}, 2},
        {"a part onto a part", "", {"S.002\tS.001\t1\t1"}, 2},
        {"staged name of another file", "payload", {staged + "\tS.DAT\t1\t7"}, 2},
        {"not the staged pattern", "payload", {".S.001.tovix-XYZ\tS.001\t1\t7"}, 2},
        {"a separator in a bare name", "payload", {"sub/" + staged + "\tS.001\t1\t7"}, 2},
        {"not a file of the set", "payload", {".S.TXT.tovix-0123456789abcdef\tS.TXT\t1\t7"}, 2},
        {"a stale staged file, not the one written", "half", {staged + "\tS.001\t1\t4"}, 2},
        {"version 1 outside the folder", "payload", {staged + "\t../victim.txt"}, 1},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        WriteOld();
        test::WriteBytes(victim, "victim");
        if (!c.stagedContent.empty()) {
            test::WriteBytes(dir_ / staged, c.stagedContent);
        }
        const std::string planted = PlantedJournal(c.lines, c.version);
        test::WriteBytes(Journal(), planted);
        const std::string before = State();
        try {
            Complete();
            ADD_FAILURE() << "carried out: " << c.what;
        } catch (const IoError& e) {
            EXPECT_EQ(e.error(), EBADMSG) << c.what;
            EXPECT_EQ(e.path(), Journal()) << c.what;
        }
        EXPECT_EQ(State(), before) << c.what;
        EXPECT_EQ(test::ReadBytes(Journal()), planted) << c.what;
        EXPECT_EQ(test::ReadBytes(victim), "victim") << c.what;
    }
}

// The staged file the journal was written for is carried out, from a journal
// of this version and of the version before.
TEST_F(ReplaceJournalTest, JournalOfTheSetsOwnStagedFileIsCarriedOut) {
    for (const int version : {1, 2}) {
        WriteOld();
        const fs::path staged = dir_ / ".S.001.tovix-0123456789abcdef";
        test::WriteBytes(staged, "new S.001");
        const std::string line = staged.filename().string() + "\tS.001" +
                                 (version == 2 ? "\t" + Fingerprint(staged) : "");
        test::WriteBytes(Journal(), PlantedJournal({line}, version));
        EXPECT_TRUE(Complete()) << version;
        EXPECT_EQ(test::ReadBytes(dir_ / "S.001"), "new S.001") << version;
        EXPECT_FALSE(fs::exists(Journal())) << version;
    }
}

// Fault: a staged file was written by reopening its name, so a link put in
// its place meanwhile made the program write a file outside the set.
TEST_F(ReplaceJournalTest, StagedFileReplacedByALinkIsNeverWrittenThroughOrRenamed) {
    dir_ = tempDir_.path() / "set";
    fs::create_directories(dir_);
    WriteOld();
    const fs::path outside = tempDir_.path() / "outside.txt";
    test::WriteBytes(outside, "outside");
    for (const bool beforeWriting : {true, false}) {
        StagedReplacement staged;
        const fs::path path = staged.Stage(dir_ / "S.001");
        staged.Stage(dir_ / "S.DAT");
        if (!beforeWriting) {
            WriteAll(OpenForWriting(path).Get(), "new", path);
        }
        fs::remove(path);
        fs::create_symlink(outside, path);
        if (beforeWriting) {
            EXPECT_THROW(OpenForWriting(path), IoError);
        }
        EXPECT_THROW(staged.Commit(Journal()), IoError);
        EXPECT_EQ(test::ReadBytes(outside), "outside");
        EXPECT_FALSE(fs::is_symlink(dir_ / "S.001"));
        fs::remove(path);
    }
    EXPECT_EQ(State(), "old");
}

}  // namespace
}  // namespace tovix
