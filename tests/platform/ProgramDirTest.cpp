// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProgramDir.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

class ProgramDirTest : public ::testing::Test {
  protected:
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_ / "readonly", fs::perms::owner_all, ignored);
    }

    test::TempDir tempDir_;
    fs::path dir_ = tempDir_.path();
};

TEST_F(ProgramDirTest, FallsBackToUserDirWhenExecutableDirIsNotWritable) {
    const fs::path user = dir_ / "home" / ".local" / "share" / "tovix";
    const fs::path file = dir_ / "file";
    std::ofstream(file) << "x";
    const fs::path readonly = dir_ / "readonly";
    fs::create_directory(readonly);
    fs::permissions(readonly, fs::perms::owner_read | fs::perms::owner_exec);

    struct Case {
        fs::path executableDir;
        fs::path expected;
    };
    std::vector<Case> cases = {
        {dir_, dir_}, {dir_ / "missing", user},
        {file, user}, {"/proc", user},  // not writable even for root
        {"", user},                     // the executable's path could not be found
    };
    if (geteuid() != 0) {  // root may write here despite the mode
        cases.push_back({readonly, user});
    }
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseProgramDir(c.executableDir, user), c.expected) << c.executableDir;
    }
    EXPECT_TRUE(fs::is_directory(user));
    // The probe file is removed again.
    EXPECT_FALSE(fs::exists(dir_ / (".tovix-probe-" + std::to_string(getpid()))));
}

// An installed copy never writes into its prefix's bin, even when it could
// (~/.local/bin); a build tree of the same layout, and a copy without the
// shared files, keep their files beside the program.
TEST_F(ProgramDirTest, InstalledCopyWritesToUserDirBuildTreeBesideProgram) {
    const fs::path user = dir_ / "user";
    const fs::path prefix = dir_ / "prefix";
    const fs::path build = dir_ / "build";
    const fs::path copy = dir_ / "copy";
    for (const fs::path& root : {prefix, build}) {
        fs::create_directories(root / "bin");
        fs::create_directories(root / "share" / "tovix");
    }
    std::ofstream(build / "CMakeCache.txt") << "x";
    fs::create_directories(copy / "bin");
    fs::create_directories(copy / "share" / "other");

    struct Case {
        fs::path executableDir;
        fs::path expected;
    };
    const std::vector<Case> cases = {
        {prefix / "bin", user},
        {build / "bin", build / "bin"},
        {copy / "bin", copy / "bin"},
        {prefix / "share", prefix / "share"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseProgramDir(c.executableDir, user), c.expected) << c.executableDir;
    }
}

// Fault: a program killed while it probed its folder left its probe file
// there for good.
TEST_F(ProgramDirTest, ProbeFilesOfProcessesThatAreGoneAreRemoved) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    const std::vector<std::string> gone = {".tovix-probe-" + std::to_string(child)};
    const std::vector<std::string> kept = {".tovix-probe-" + std::to_string(getppid()),
                                           ".tovix-probe-x1", ".tovix-probe-", "tovix-probe-1"};
    for (const auto* names : {&gone, &kept}) {
        for (const std::string& name : *names) {
            std::ofstream(dir_ / name) << "x";
        }
    }
    EXPECT_TRUE(IsWritableDir(dir_));
    for (const std::string& name : gone) {
        EXPECT_FALSE(fs::exists(dir_ / name)) << name;
    }
    for (const std::string& name : kept) {
        EXPECT_TRUE(fs::exists(dir_ / name)) << name;
    }
}

TEST_F(ProgramDirTest, UserDataDirFollowsXdgDataHome) {
    const char* savedXdg = std::getenv("XDG_DATA_HOME");
    const std::string saved = savedXdg ? savedXdg : "";
    const char* savedHome = std::getenv("HOME");
    const std::string home = savedHome ? savedHome : "";
    setenv("HOME", "/home/taro", 1);

    setenv("XDG_DATA_HOME", "/data/taro", 1);
    EXPECT_EQ(UserDataDir(), fs::path("/data/taro/tovix"));
    setenv("XDG_DATA_HOME", "relative/data", 1);  // only absolute paths count
    EXPECT_EQ(UserDataDir(), fs::path("/home/taro/.local/share/tovix"));
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(UserDataDir(), fs::path("/home/taro/.local/share/tovix"));

    savedXdg ? setenv("XDG_DATA_HOME", saved.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    savedHome ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
}

TEST(ProgramFileTest, NamesBuiltFromTheProgramName) {
    struct Case {
        fs::path executable;
        std::string extension;
        fs::path expected;
    };
    const Case cases[] = {
        {"tovix", ".INI", "tovix.INI"},
        {"X.EXE", ".INI", "X.INI"},
        {"/opt/tovix/bin/tovix", ".INI", "tovix.INI"},
        {"tovix.bin.old", ".AD1", "tovix.bin.AD1"},
        {".tovix", ".INI", ".tovix.INI"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NameWithExtension(c.executable, c.extension), c.expected) << c.executable;
    }

    SetProgramDir("/srv/dictionaries");
    EXPECT_EQ(ProgramDir(), fs::path("/srv/dictionaries"));
    EXPECT_EQ(SettingsFilePath(), fs::path("/srv/dictionaries/tovix.INI"));
    EXPECT_EQ(ProgramFile(".ADD"), fs::path("/srv/dictionaries/tovix.ADD"));
}

// A user's own TOVIX.HLP beside the program wins over the installed manual;
// the manual lies in share/tovix/help beside the program's bin folder.
TEST(HelpFileTest, UsersHelpFileFirstThenTheInstalledManual) {
    struct Case {
        std::vector<std::string> present;  // relative to the prefix
        std::string found;                 // empty: none
    };
    const Case cases[] = {
        {{"bin/TOVIX.HLP", "home/TOVIX.HLP", "share/tovix/help/index.html"}, "bin/TOVIX.HLP"},
        {{"home/TOVIX.HLP", "share/tovix/help/index.html"}, "home/TOVIX.HLP"},
        {{"share/tovix/help/index.html"}, "share/tovix/help/index.html"},
        {{"share/tovix/help/index.html/"}, ""},  // a folder is no help file
        {{}, ""},
    };
    for (const Case& c : cases) {
        test::TempDir prefix;
        fs::create_directories(prefix / "bin");
        for (const std::string& file : c.present) {
            fs::create_directories((prefix / file).parent_path());
            if (!file.ends_with('/')) {
                test::WriteBytes(prefix / file, "help");
            }
        }
        const auto found = FindHelpFile(HelpFileCandidates(prefix / "bin", prefix / "home"));
        EXPECT_EQ(found.value_or(fs::path()), c.found.empty() ? fs::path() : prefix / c.found)
            << c.found;
    }
}

}  // namespace
}  // namespace tovix
