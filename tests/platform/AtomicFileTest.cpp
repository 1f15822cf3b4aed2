// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AtomicFile.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/IoError.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
  protected:
    int EntryCount() const {
        int count = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) {
            ++count;
        }
        return count;
    }

    test::TempDir tempDir_;
    fs::path dir_ = tempDir_.path();
};

TEST_F(AtomicFileTest, ReplacesContentKeepingModeAndLinks) {
    const fs::path target = dir_ / "real.INI";
    const fs::path link = dir_ / "tovix.INI";
    WriteFileAtomically(target, std::string("a\0b\r\n", 5));
    EXPECT_EQ(test::ReadBytes(target), std::string("a\0b\r\n", 5));

    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real.INI", link);
    WriteFileAtomically(link, "new\r\n");

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(target), "new\r\n");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(EntryCount(), 2);
}

TEST_F(AtomicFileTest, FailedReplacementLeavesNoTemporaryFile) {
    const fs::path blocked = dir_ / "TOVIXTAB.TXT";
    fs::create_directory(blocked);  // a file cannot be renamed over a directory
    EXPECT_THROW(WriteFileAtomically(blocked, "\r\n"), IoError);
    EXPECT_THROW(WriteFileAtomically(dir_ / "missing" / "x", "\r\n"), IoError);
    EXPECT_TRUE(fs::is_directory(blocked));
    EXPECT_EQ(EntryCount(), 1);
}

}  // namespace
}  // namespace tovix
