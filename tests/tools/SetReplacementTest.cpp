// SPDX-License-Identifier: GPL-3.0-or-later
// Fault injection over a whole dictionary build: an old set is rebuilt with
// other entries while the Nth write, flush or rename fails, or kills the
// process, for every N. Afterwards the set, opened as the viewer and the
// command line open it (OpenDictionary: an unfinished replacement completed
// first), is byte for byte the old set
// or the new one and the lookup finds that set's translation; a failed
// command leaves no staged file behind.
// Fault: a set was replaced one rename at a time, so a kill at the 16th
// rename left new and old part files mixed and the lookup found nothing.

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "dict/DicFileSet.h"
#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/OpenDictionary.h"
#include "platform/Cp932.h"
#include "platform/FaultInjection.h"
#include "platform/IoError.h"
#include "platform/PosixIo.h"
#include "support/RecordingReporter.h"
#include "support/SetFiles.h"
#include "support/SetRewrite.h"
#include "support/TempDir.h"
#include "tools/Chains.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

class SetReplacementTest : public test::SetRewriteTest {
  protected:
    SetReplacementTest()
        : SetRewriteTest({Direction::English,
                          {"apple\tりんご", "bank\t銀行", "cat\t猫", "zoo\t動物園"},
                          {"apple\t林檎", "bank\t土手", "cat\tネコ", "dog\t犬", "zoo\t動物園"},
                          "bank",
                          "\t銀行",
                          "\t土手"}) {}
};

constexpr FaultOperation kOperations[] = {FaultOperation::Write, FaultOperation::Sync,
                                          FaultOperation::Rename};

TEST_F(SetReplacementTest, EveryFailingWriteFlushOrRenameLeavesTheOldOrTheNewSet) {
    for (const FaultOperation operation : kOperations) {
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

TEST_F(SetReplacementTest, KilledAtEveryWriteFlushOrRenameLeavesTheOldOrTheNewSet) {
    SweepKills();
}

// Fault: the staged files of a killed build stayed for good (up to 25 hidden
// files, 15 MB, each time). The next build of the set removes them: only
// names of ours for the set's files, last written before it began.
TEST_F(SetReplacementTest, TheNextBuildRemovesWhatAKilledOneLeftStagedAndNothingElse) {
    enum Kind { kFile, kDirectory, kLink };
    struct Left {
        const char* name;
        Kind kind;
        bool old;  // last written before the build, or while it runs
        bool removed;
    };
    const Left lefts[] = {
        {".T.001.tovix-0123456789abcdef", kFile, true, true},
        {".T.045.tovix-0123456789abcdef", kFile, true, true},  // a part of either direction
        {".T.DAT.tovix-fedcba9876543210", kFile, true, true},
        {".T.TBL.tovix-fedcba9876543210", kFile, true, true},
        {".T.KJI.tovix-fedcba9876543210", kFile, true, true},
        {".T.DIC.tovix-fedcba9876543210", kFile, true, true},
        {"..T.DIC.tovix-journal.tovix-00000000000000aa", kFile, true, true},
        {".T.002.tovix-0123456789abcdef", kFile, false, false},  // another writer's, now
        {".T.003.tovix-0123456789ABCDEF", kFile, true, false},
        {".T.004.tovix-0123456789abcde", kFile, true, false},
        {".T.005.tovix-0123456789abcdef.bak", kFile, true, false},
        {"T.006.tovix-0123456789abcdef", kFile, true, false},
        {".U.001.tovix-0123456789abcdef", kFile, true, false},  // another set's
        {".T.TXT.tovix-0123456789abcdef", kFile, true, false},  // no file of the set
        {".T.007.tovix-0123456789abcdef", kDirectory, true, false},
        {".T.008.tovix-0123456789abcdef", kLink, true, false},
    };
    RestoreOld();
    const auto now = fs::file_time_type::clock::now();
    for (const Left& l : lefts) {
        const fs::path path = setDir_ / l.name;
        if (l.kind == kDirectory) {
            fs::create_directory(path);
        } else if (l.kind == kLink) {
            fs::create_symlink(work_ / "old.exm", path);
        } else {
            test::WriteBytes(path, "left");
        }
        if (l.kind != kLink) {
            fs::last_write_time(path,
                                l.old ? now - std::chrono::hours(1) : now + std::chrono::hours(1));
        }
    }
    ASSERT_TRUE(Build("new.exm"));
    for (const Left& l : lefts) {
        EXPECT_EQ(fs::exists(fs::symlink_status(setDir_ / l.name)), !l.removed) << l.name;
    }
}

// Runs `body` in a child process that has a tmpfs of `bytes` mounted on
// `dir`, in a mount namespace of its own. Returns the child's exit status:
// body's, or 77 when the system allows no such mount.
int InSmallTmpfs(const fs::path& dir, size_t bytes, const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        const uid_t uid = geteuid();
        const gid_t gid = getegid();
        const bool root = uid == 0;
        if (unshare(root ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS) != 0) {
            _exit(77);
        }
        if (!root) {
            test::WriteBytes("/proc/self/setgroups", "deny");
            test::WriteBytes("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
            test::WriteBytes("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
        }
        const std::string size = "size=" + std::to_string(bytes);
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tovix", dir.c_str(), "tmpfs", 0, size.c_str()) != 0) {
            _exit(77);
        }
        try {
            _exit(body());
        } catch (const std::exception& e) {
            std::cerr << e.what() << "\n";
            _exit(3);
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

// Fills the file system of `filler` to the last byte, then frees `pages` pages.
void LeaveFree(const fs::path& filler, long pages) {
    const FileDescriptor file = OpenFile(filler, O_WRONLY | O_CREAT | O_TRUNC);
    const std::string block(4096, 'x');
    try {
        for (;;) {
            WriteAll(file.Get(), block, filler);
        }
    } catch (const IoError&) {
    }
    const off_t size = lseek(file.Get(), 0, SEEK_END);
    ftruncate(file.Get(), std::max<off_t>(0, size - pages * 4096));
}

// Fault: a full disk during a build was reported, but the staged files
// stayed behind, up to 25 hidden files. Now the old set stays whole and
// nothing is left, however little room there is.
TEST_F(SetReplacementTest, FullDiskLeavesTheOldSetAndNoStagedFile) {
    const int status = InSmallTmpfs(setDir_, 512 * 1024, [&] {
        RestoreOld();
        fs::create_directory(setDir_ / "fill");
        for (long pages = 0;; ++pages) {
            LeaveFree(setDir_ / "fill" / "filler", pages);
            const bool built = Build("new.exm");
            const std::string opened = Opened();
            if (opened != (built ? "new fill" : "old fill")) {
                std::cerr << pages << " pages free: " << opened << "\n";
                return 1;
            }
            if (built) {
                return pages > 0 ? 0 : 2;
            }
        }
    });
    if (status == 77) {
        GTEST_SKIP() << "no tmpfs can be mounted here";
    }
    EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace tovix
