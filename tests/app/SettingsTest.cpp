// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Settings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

#include <gtest/gtest.h>

#include "app/TemporaryFiles.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

std::string S(const char* utf8) {
    return Utf8ToCp932(utf8);
}

class SettingsTest : public ::testing::Test {
  protected:
    test::TempDir tempDir_;
    fs::path dir_ = tempDir_.path();
    fs::path path_ = dir_ / "tovix.INI";
};

const char* const kDefaultFile =
    "[FormMain]\r\nMem=0\r\nLeft=-1\r\nTop=-1\r\nWidth=-1\r\nHeight=-1\r\n"
    "[FormView]\r\nMem=0\r\nLeft=-1\r\nTop=-1\r\nWidth=-1\r\nHeight=-1\r\n"
    "[EditJyouhou]\r\nEditFontName=system\r\nEditFontSize=14\r\nEditFontColor=clBlack\r\n"
    "EditBackColor=clWindow\r\n"
    "[TextJyouhou]\r\nTextFontName=system\r\nTextFontSize=14\r\nTextFontColor=clBlack\r\n"
    "TextBackColor=clWindow\r\n"
    "[FindStrName]\r\n1=\r\n[SearchUperLower]\r\nSet=0\r\n[FuncKey]\r\nDisp=1\r\n"
    "[Wrap]\r\nSet=1\r\n[WrapSet]\r\nLength=60\r\n[RomajiInput]\r\nImeStyleN=0\r\n"
    "[History]\r\nReopenLast=1\r\nSize=100\r\n[Lookup]\r\nSelection=0\r\n";

// Reopening the last dictionary is on for a new settings file only: a file
// written before the option existed keeps starting empty.
TEST_F(SettingsTest, MissingEmptyOrForeignFileGivesDefaults) {
    GeneralSettings defaults;
    EXPECT_EQ(ReadIniFileValue(path_), defaults);
    defaults.reopenLast = false;
    for (const char* text : {"", "garbage\r\n[FormMain\r\n=\r\n", "[FormMain]\r\nMem=yes\r\n"}) {
        test::WriteBytes(path_, text);
        EXPECT_EQ(ReadIniFileValue(path_), defaults) << text;
    }
    // A history size outside 0 .. kHistorySizeMax is brought into it.
    for (const auto& [text, size] : {std::pair{"[History]\r\nSize=-3\r\n", 0},
                                     std::pair{"[History]\r\nSize=99999\r\n", kHistorySizeMax}}) {
        test::WriteBytes(path_, text);
        EXPECT_EQ(ReadIniFileValue(path_).historySize, size) << text;
    }
}

TEST_F(SettingsTest, FreshFileHoldsEveryKeyInOrder) {
    WriteIniFileValue(path_, GeneralSettings());
    EXPECT_EQ(test::ReadBytes(path_), kDefaultFile);
}

TEST_F(SettingsTest, GeneralSettingsRoundTripAndKeepOtherKeys) {
    const std::string others =
        S("; 手で書いた行\r\n[EngProgTitle]\r\n1=英辞郎ソ\\\r\n[Own]\r\nx=1\r\n");
    test::WriteBytes(path_, others);

    GeneralSettings settings;
    settings.mainWindow = {true, 10, 20, 640, 480};
    settings.zoomWindow = {false, 0, -5, 300, 200};
    settings.searchField = {S("ＭＳ ゴシック"), "12", "clRed", "$00FFEEDD"};
    settings.view = {"Noto Sans CJK JP", "x", "clNavy", "clWhite"};
    settings.findText = S("表示 = ソ\\");
    settings.findMatchCase = true;
    settings.showFunctionKeys = false;
    settings.zoomWrap = false;
    settings.zoomWrapLength = "72";
    settings.imeStyleN = true;
    settings.reopenLast = false;
    settings.historySize = 0;
    settings.selectionLookup = true;
    WriteIniFileValue(path_, settings);

    EXPECT_EQ(ReadIniFileValue(path_), settings);
    const std::string text = test::ReadBytes(path_);
    EXPECT_EQ(text.substr(0, others.size()), others);
    EXPECT_EQ(ReadDictionaryList(path_, Direction::English)[0].title, S("英辞郎ソ\\"));
}

TEST_F(SettingsTest, ImmediateFontWritesTouchOnlyTheirKeys) {
    WriteIniFileValue(path_, GeneralSettings());
    FontSettings font{"Serif", "20", "clRed", "clYellow"};
    WriteFontKeys(path_, FontPlace::View, font);
    WriteBackColorKey(path_, FontPlace::SearchField, font);

    GeneralSettings expected;
    expected.reopenLast = true;
    expected.view = {"Serif", "20", "clRed", "clWindow"};
    expected.searchField.backColor = "clYellow";
    EXPECT_EQ(ReadIniFileValue(path_), expected);
}

TEST_F(SettingsTest, DictionaryLists) {
    EXPECT_EQ(ReadDictionaryList(path_, Direction::Japanese), DictionaryList());

    DictionaryList english;
    english[0] = {S("英和辞典"), "/home/taro/dic/ENGTOJPN.DIC", "F1"};
    english[1] = {"Extra", S("/home/taro/ソ\\EXTRA.DIC"), ""};
    WriteDictionaryList(path_, Direction::English, english);
    WriteDictionarySlot(path_, Direction::Japanese, 1, {"Jpn", "J.DIC", "J"});

    EXPECT_EQ(ReadDictionaryList(path_, Direction::English), english);
    DictionaryList japanese;
    japanese[0] = {"Jpn", "J.DIC", "J"};
    EXPECT_EQ(ReadDictionaryList(path_, Direction::Japanese), japanese);

    // Every slot is written, empty ones included, so a shorter list leaves no
    // stale slot behind.
    english[1] = DictionarySlot();
    WriteDictionaryList(path_, Direction::English, english);
    EXPECT_EQ(ReadDictionaryList(path_, Direction::English), english);
    const std::string text = test::ReadBytes(path_);
    EXPECT_NE(text.find("[EngProgTitle]\r\n1=" + S("英和辞典") + "\r\n2=\r\n3=\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("9=\r\n[EngProgName]"), std::string::npos);

    EXPECT_THROW(WriteDictionarySlot(path_, Direction::English, 0, {}), std::out_of_range);
    EXPECT_THROW(WriteDictionarySlot(path_, Direction::English, 10, {}), std::out_of_range);
    EXPECT_THROW(ReadDictionaryList(path_, Direction::None), std::invalid_argument);
}

TEST_F(SettingsTest, EmptyTemporaryFiles) {
    test::WriteBytes(dir_ / "TOVIXSRT.TXT", "apple\tりんご\r\n");
    test::WriteBytes(dir_ / "OTHER.TXT", "keep");
    EmptyTemporaryFiles(dir_);
    for (std::string_view name : kTemporaryFileNames) {
        EXPECT_EQ(test::ReadBytes(dir_ / name), "\r\n") << name;
    }
    EXPECT_EQ(test::ReadBytes(dir_ / "OTHER.TXT"), "keep");

    // A file that cannot be written stops the command: the ones before it are
    // emptied, the ones after it untouched.
    for (std::string_view name : kTemporaryFileNames) {
        test::WriteBytes(dir_ / name, "old");
    }
    fs::remove(dir_ / "TOVIXSEP.TXT");
    fs::create_directory(dir_ / "TOVIXSEP.TXT");
    try {
        EmptyTemporaryFiles(dir_);
        ADD_FAILURE() << "no IoError";
    } catch (const IoError& error) {
        EXPECT_EQ(error.path(), dir_ / "TOVIXSEP.TXT");
    }
    EXPECT_EQ(test::ReadBytes(dir_ / "TOVIXSRT.TXT"), "\r\n");
    EXPECT_EQ(test::ReadBytes(dir_ / "TOVIXDUP.TXT"), "old");
}

}  // namespace
}  // namespace tovix
