// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IniFile.h"

#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "platform/IniUpdate.h"
#include "platform/IoError.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

std::string S(const char* utf8) {
    return Utf8ToCp932(utf8);
}

class IniFileTest : public ::testing::Test {
  protected:
    test::TempDir tempDir_;
    fs::path dir_ = tempDir_.path();
    fs::path path_ = dir_ / "tovix.INI";
};

constexpr int kDefault = 7;
constexpr int kAsDefault = -1;  // flag column: the read must give the default

TEST(IniFileReadTest, ValuesAndDefaults) {
    struct Case {
        std::string text;
        std::string section;
        std::string key;
        std::string value;  // "<d>" when the default comes back
        int integer;
        int flag;  // 0, 1, or kAsDefault
    };
    const std::string base = "[FormMain]\r\nMem=1\r\nLeft = 0x10 \r\nTop=12abc\r\nWidth=\r\n";
    const Case cases[] = {
        {"", "FormMain", "Mem", "<d>", kDefault, kAsDefault},
        {base, "FormMain", "Mem", "1", 1, 1},
        {base, "formmain", "MEM", "1", 1, 1},
        {base, "FormMain", "Left", "0x10", 16, 1},
        {base, "FormMain", "Top", "12abc", kDefault, kAsDefault},
        {base, "FormMain", "Width", "", kDefault, kAsDefault},
        {base, "FormMain", "Height", "<d>", kDefault, kAsDefault},
        {base, "FormView", "Mem", "<d>", kDefault, kAsDefault},
        {"[A]\r\nMem=yes\r\n", "A", "Mem", "yes", kDefault, kAsDefault},
        {"[A]\r\nk=0\r\n", "A", "k", "0", 0, 0},
        {"[A]\r\nk=-2\r\n", "A", "k", "-2", -2, 1},
        {"[A]\r\nk=+5\r\n", "A", "k", "+5", 5, 1},
        {"[A]\r\nk=0X1f\r\n", "A", "k", "0X1f", 31, 1},
        {"[A]\r\nk=0x\r\n", "A", "k", "0x", kDefault, kAsDefault},
        {"[A]\r\nk=2147483647\r\n", "A", "k", "2147483647", INT_MAX, 1},
        {"[A]\r\nk=2147483648\r\n", "A", "k", "2147483648", kDefault, kAsDefault},
        {"[A]\r\nk=-2147483648\r\n", "A", "k", "-2147483648", INT_MIN, 1},
        {"[A]\r\nk=0xFFFFFFFF\r\n", "A", "k", "0xFFFFFFFF", -1, 1},
        {"[A]\r\nk=0x100000000\r\n", "A", "k", "0x100000000", kDefault, kAsDefault},
        {"[A]\r\nk=1 2\r\n", "A", "k", "1 2", kDefault, kAsDefault},
        // Value is everything after the first "=", trimmed.
        {"[A]\r\n  k\t=  a=b  \r\n", "A", "k", "a=b", kDefault, kAsDefault},
        // LF-only and unterminated last lines.
        {"[A]\nk=3\n", "A", "k", "3", 3, 1},
        {"[A]\r\nk=3", "A", "k", "3", 3, 1},
        // First section and first key of a name win.
        {"[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\n", "A", "k", "1", 1, 1},
        {"[A]\r\nx=1\r\n[a]\r\nk=3\r\n", "A", "k", "<d>", kDefault, kAsDefault},
        // A key of another section, a comment and keys before any section.
        {"k=1\r\n[B]\r\nk=2\r\n[A]\r\n;k=3\r\n", "A", "k", "<d>", kDefault, kAsDefault},
        {"[ A ]  \r\nk=4\r\n", "A", "k", "4", 4, 1},
        // 0x5D inside a double-byte name is not the closing bracket.
        {S("[ゾ]\r\nk=5\r\n"), S("ゾ"), "k", "5", 5, 1},
        // Trail bytes are never folded: ア is 83 41, 83 61 is another name.
        {S("[A]\r\nア=6\r\n"), "A", "\x83\x61", "<d>", kDefault, kAsDefault},
        {S("[A]\r\nア=6\r\n"), "a", S("ア"), "6", 6, 1},
        {S("[A]\r\nk=ソ表\\\r\n"), "A", "k", S("ソ表\\"), kDefault, kAsDefault},
    };
    for (const Case& c : cases) {
        const IniFile file(c.text);
        SCOPED_TRACE(Cp932ToUtf8(c.text) + " / " + c.key);
        EXPECT_EQ(file.ReadString(c.section, c.key, "<d>"), c.value);
        EXPECT_EQ(file.ReadInteger(c.section, c.key, kDefault), c.integer);
        EXPECT_EQ(file.ReadBool(c.section, c.key, false), c.flag == kAsDefault ? false : c.flag);
        EXPECT_EQ(file.ReadBool(c.section, c.key, true), c.flag == kAsDefault ? true : c.flag);
    }
}

TEST(IniFileWriteTest, ChangesOnlyTheWrittenKey) {
    struct Case {
        std::string before;
        std::string section;
        std::string key;
        std::string value;
        std::string after;
    };
    const std::string others = S(
        "; 設定\r\n[EngProgTitle]\r\n1=ソフト表示\\\r\nUnknown = x \r\n\r\n[FormMain]\r\nMem=1\r\n"
        "Left=5\r\n\r\n; next\r\n[Z]\nz=1\n");
    const Case cases[] = {
        {others, "FormMain", "Left", "-1",
         S("; 設定\r\n[EngProgTitle]\r\n1=ソフト表示\\\r\nUnknown = x "
           "\r\n\r\n[FormMain]\r\nMem=1\r\n"
           "Left=-1\r\n\r\n; next\r\n[Z]\nz=1\n")},
        // A new key follows the section's last key, before its blank line.
        {others, "formmain", "Top", "3",
         S("; 設定\r\n[EngProgTitle]\r\n1=ソフト表示\\\r\nUnknown = x "
           "\r\n\r\n[FormMain]\r\nMem=1\r\n"
           "Left=5\r\nTop=3\r\n\r\n; next\r\n[Z]\nz=1\n")},
        {others, "EngProgTitle", "1", S("ゾ"),
         S("; 設定\r\n[EngProgTitle]\r\n1=ゾ\r\nUnknown = x \r\n\r\n[FormMain]\r\nMem=1\r\n"
           "Left=5\r\n\r\n; next\r\n[Z]\nz=1\n")},
        // A replaced line keeps its own ending.
        {others, "Z", "z", "2",
         S("; 設定\r\n[EngProgTitle]\r\n1=ソフト表示\\\r\nUnknown = x "
           "\r\n\r\n[FormMain]\r\nMem=1\r\n"
           "Left=5\r\n\r\n; next\r\n[Z]\nz=2\n")},
        {others, "New", "k", "v", others + "[New]\r\nk=v\r\n"},
        {"", "FormMain", "Mem", "0", "[FormMain]\r\nMem=0\r\n"},
        {"[A]", "A", "k", "v", "[A]\r\nk=v\r\n"},
        {"[A]\r\nx=1", "B", "k", "v", "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        // Guards: a last line ending in a lone CR got CR CR LF, and its value
        // then read with a CR (Width=640 no longer read as a number).
        {"[A]\r\nWidth=640\r", "A", "k", "v", "[A]\r\nWidth=640\r\nk=v\r\n"},
        {"[A]\r\n\r\n[B]\r\n", "A", "k", "v", "[A]\r\nk=v\r\n\r\n[B]\r\n"},
        {"[A]\r\nmem = 1 \r\n", "A", "Mem", "0", "[A]\r\nMem=0\r\n"},
        {"[A]\r\nk=1\r\n", "A", "k", "", "[A]\r\nk=\r\n"},
        // A value can never add lines to the file.
        {"[A]\r\nk=1\r\n", "A", "k", "x\r\n[A]\r\nk=2", "[A]\r\nk=x  [A]  k=2\r\n"},
    };
    for (const Case& c : cases) {
        IniFile file(c.before);
        file.WriteString(c.section, c.key, c.value);
        EXPECT_EQ(file.Text(), c.after) << Cp932ToUtf8(c.before) << " / " << c.key;
    }
}

TEST_F(IniFileTest, MissingOrUnreadableFileReadsAsEmpty) {
    EXPECT_EQ(IniFile::Load(path_).Text(), "");
    EXPECT_EQ(IniFile::Load(dir_).Text(), "");  // a directory cannot be read as a file
}

TEST_F(IniFileTest, UpdateCreatesFileAndKeepsOtherKeys) {
    IniUpdate first(path_);
    first.WriteBool("FormMain", "Mem", true);
    first.WriteInteger("FormMain", "Left", -1);
    first.WriteString("Wrap", "Set", "1");
    first.Commit();
    EXPECT_EQ(test::ReadBytes(path_), "[FormMain]\r\nMem=1\r\nLeft=-1\r\n[Wrap]\r\nSet=1\r\n");

    IniUpdate second(path_);
    second.WriteInteger("formmain", "left", 20);
    second.WriteInteger("FormMain", "Left", 30);  // the last value wins
    second.Commit();
    EXPECT_EQ(test::ReadBytes(path_), "[FormMain]\r\nMem=1\r\nLeft=30\r\n[Wrap]\r\nSet=1\r\n");

    // Only the settings file and its lock file remain: no temporary files.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) {
        ++entries;
    }
    EXPECT_EQ(entries, 2);
}

TEST_F(IniFileTest, UpdateFailuresThrowAndKeepTheFile) {
    IniUpdate intoMissingDir(dir_ / "missing" / "tovix.INI");
    intoMissingDir.WriteString("A", "k", "v");
    EXPECT_THROW(intoMissingDir.Commit(), IoError);

    // An existing file that cannot be read is not replaced by this update's
    // keys alone.
    fs::create_directory(path_);
    IniUpdate overUnreadable(path_);
    overUnreadable.WriteString("A", "k", "v");
    try {
        overUnreadable.Commit();
        ADD_FAILURE() << "no IoError";
    } catch (const IoError& error) {
        EXPECT_EQ(error.path(), path_);
    }
    EXPECT_TRUE(fs::is_directory(path_));
}

// Two processes rewrite the file at the same time, each its own keys; with the
// lock and the re-read under it, no key of either is lost.
TEST_F(IniFileTest, ConcurrentWritersLoseNoKeys) {
    constexpr int kRounds = 60;
    auto writeKeys = [this](const char* section) {
        for (int i = 0; i < kRounds; ++i) {
            IniUpdate update(path_);
            update.WriteInteger(section, "K" + std::to_string(i), i);
            update.WriteInteger("Shared", section, i);
            update.Commit();
        }
    };
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        try {
            writeKeys("Child");
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    writeKeys("Parent");
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const IniFile file = IniFile::Load(path_);
    for (int i = 0; i < kRounds; ++i) {
        EXPECT_EQ(file.ReadInteger("Parent", "K" + std::to_string(i), -1), i);
        EXPECT_EQ(file.ReadInteger("Child", "K" + std::to_string(i), -1), i);
    }
    EXPECT_EQ(file.ReadInteger("Shared", "Parent", -1), kRounds - 1);
    EXPECT_EQ(file.ReadInteger("Shared", "Child", -1), kRounds - 1);
}

}  // namespace
}  // namespace tovix
