// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/MainWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QTest>

#include "WindowTestSupport.h"
#include "app/gui/FunctionKeyBar.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "dict/DicFileSet.h"
#include "platform/IniFile.h"
#include "platform/ProgramDir.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

const std::vector<std::string> kEnglish = {
    "apple\t林檎",   "apply\t適用する", "bank\t銀行",  "e-mail\t電子メール",
    "email\tメール", "emu\tエミュー",   "zoo\t動物園",
};
const std::vector<std::string> kJapanese = {
    "かんがえ[考え]\tthought",
    "かんじ[漢字]\tChinese character",
    "かつ[勝つ]\tto win",
};

using MainWindowTest = test::WindowTest;

TEST_F(MainWindowTest, CommandLine) {
    const std::filesystem::path eng =
        test::BuildDictionary(dir, Direction::English, kEnglish, "E.DIC");
    const std::filesystem::path jpn =
        test::BuildDictionary(dir, Direction::Japanese, kJapanese, "J.DIC");
    const std::filesystem::path noTable = dir / "X.DIC";
    test::WriteBytes(noTable, "X.DIC\r\n\r\n");
    struct Case {
        QStringList arguments;
        Direction direction;
        QString caption;
        QString label;
        std::string message;  // empty: none
    };
    const QString main = QStringLiteral("Tovix (ﾒｲﾝ)");
    const QString english = QStringLiteral("英　語 : ");
    const QString japanese = QStringLiteral("日本語 : ");
    const Case cases[] = {
        {{}, Direction::English, main, english, ""},
        {{Q(jpn), "JPN"}, Direction::Japanese, main + "  " + Q(jpn), japanese, ""},
        // A table of the other direction does not fit: reported, the caption stays.
        {{Q(eng), "jpn"},
         Direction::Japanese,
         main,
         japanese,
         "   " + TableFileName(eng).string() +
             " の\r\n   指定された辞書テーブルファイルがオープンできませんでした。          "},
        {{Q(eng), "Eng"}, Direction::English, main + "  " + Q(eng), english, ""},
        {{Q(noTable), "ENG"},
         Direction::English,
         main,
         english,
         "   " + (dir / "X.DAT").string() +
             " の\r\n   指定された辞書テーブルファイルがオープンできませんでした。          "},
        {{Q(dir / "NONE.DIC"), "ENG"},
         Direction::English,
         main,
         english,
         "   " + (dir / "NONE.DIC").string() +
             " の\r\n   指定された辞書ファイルが存在しません。          "},
        {{Q(eng), "ENGLISH"},
         Direction::None,
         main,
         english,
         "   辞書選択の設定は ENG または JPN です。          "},
        // One argument, as a file manager starts the program: a dictionary
        // file set opens in the direction its table is written for; any
        // other file gets the warning.
        {{Q(eng)}, Direction::English, main + "  " + Q(eng), english, ""},
        {{Q(jpn)}, Direction::Japanese, main + "  " + Q(jpn), japanese, ""},
        {{Q(noTable)},
         Direction::None,
         main,
         english,
         "   辞書ファイル(ENGTOJPN.DIC)と辞書選択(ENG)を指定してください。          "},
    };
    for (const Case& c : cases) {
        reporter.messages.clear();
        auto window = Start(c.arguments);
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(window->Search().direction, c.direction);
        EXPECT_EQ(window->windowTitle(), c.caption);
        EXPECT_EQ(window->Label11()->text(), c.label);
        if (c.message.empty()) {
            EXPECT_TRUE(reporter.messages.empty());
        } else {
            ASSERT_EQ(reporter.messages.size(), 1u);
            EXPECT_EQ(reporter.messages[0].text, c.message);
            EXPECT_EQ(reporter.messages[0].kind, MessageKind::Warning);
            EXPECT_EQ(reporter.messages[0].buttons, kButtonYes | kButtonNo);
        }
    }
}

// Guards against a half-opened dictionary at start-up: the view showing the
// dictionary file while the lookup had no table for it.
TEST_F(MainWindowTest, DictionaryWhoseTableCannotBeReadIsNotOpenedAtStartUp) {
    test::WriteBytes(dir / "X.DIC", "X.DIC\r\n\r\n");
    auto window = Start({Q(dir / "X.DIC"), "ENG"});
    EXPECT_EQ(window->BigView1()->LineCount(), LineCount(0));
    EXPECT_TRUE(window->Search().dicFile.empty());
    EXPECT_EQ(window->Search().direction, Direction::English);
    reporter.messages.clear();
    QTest::keyClicks(window->DicEdit1(), "x");
    EXPECT_EQ(window->Search().currentPart, 0);
    EXPECT_EQ(window->BigView1()->LineCount(), LineCount(0));
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(MainWindowTest, OneArgumentLeavesNoDirectionForTyping) {
    auto window = Start({"X.DIC"});
    reporter.messages.clear();
    QTest::keyClicks(window->DicEdit1(), "a");
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, "   辞書判別が正しくありません。          ");
}

TEST_F(MainWindowTest, TypingMovesTheView) {
    const std::filesystem::path eng =
        test::BuildDictionary(dir, Direction::English, kEnglish, "E.DIC");
    const std::filesystem::path jpn =
        test::BuildDictionary(dir, Direction::Japanese, kJapanese, "J.DIC");
    struct Case {
        std::filesystem::path dic;
        const char* direction;
        QString keys;
        QString field;
        std::string top;
    };
    const Case cases[] = {
        {eng, "ENG", "APPL", "APPL", "apple "},
        {eng, "ENG", "e-m", "e-m", "e-mail "},
        {eng, "ENG", "ema", "ema", "email "},
        {eng, "ENG", "zo", "zo", "zoo "},
        {jpn, "JPN", "kannji", "かんじ", "かんじ [漢字]"},
        {jpn, "JPN", "kanji", "かnji", "かつ [勝つ]"},
    };
    for (const Case& c : cases) {
        auto window = Start({Q(c.dic), c.direction});
        QTest::keyClicks(window->DicEdit1(), c.keys);
        EXPECT_EQ(window->DicEdit1()->text(), c.field);
        EXPECT_EQ(Top(*window), c.top) << c.keys.toStdString();
        EXPECT_EQ(window->DicEdit1()->cursorPosition(), c.field.size());
    }
    EXPECT_TRUE(reporter.messages.empty());
}

// What an input method commits: katakana is searched as its reading, a text
// with a kanji by written form; a set without its written-form file says so
// once, on the first kanji.
TEST_F(MainWindowTest, InputMethodTextAndTheNoticeOfSetsWithoutWrittenForms) {
    const std::filesystem::path jpn =
        test::BuildDictionary(dir, Direction::Japanese, kJapanese, "J.DIC");
    const auto commit = [](TForm1& window, const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(window.DicEdit1(), &event);
    };
    {
        auto window = Start({Q(jpn), "JPN"});
        commit(*window, QStringLiteral("カンジ"));
        EXPECT_EQ(window->DicEdit1()->text(), QStringLiteral("かんじ"));
        window->DicEdit1()->clear();
        commit(*window, QStringLiteral("考え"));
        EXPECT_EQ(Top(*window), "かんがえ [考え]");
        EXPECT_TRUE(reporter.messages.empty());
    }
    std::filesystem::remove(WrittenFormFileName(jpn));
    auto window = Start({Q(jpn), "JPN"});
    commit(*window, QStringLiteral("漢"));
    commit(*window, QStringLiteral("字"));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].kind, MessageKind::Information);
    EXPECT_NE(reporter.messages[0].text.find("J.KJI の"), std::string::npos);
}

// A text that matches no headword is shown so until it matches again;
// romaji that the next letters may complete is not yet a miss.
TEST_F(MainWindowTest, TheFieldShowsWhenNothingMatches) {
    const std::filesystem::path jpn =
        test::BuildDictionary(dir, Direction::Japanese, kJapanese, "J.DIC");
    auto window = Start({Q(jpn), "JPN"});
    TDicEdit& field = *window->DicEdit1();
    const QColor text = field.palette().color(QPalette::Text);
    struct Step {
        const char* keys;
        bool noMatch;
    };
    const Step steps[] = {
        {"ka", false}, {"nnq", true}, {"\b", false}, {"g", false},
        {"x", true},   {"\b", false}, {"ae", false}, {"ky", false},
    };
    std::string typed;
    for (const Step& step : steps) {
        typed += step.keys;
        QTest::keyClicks(&field, QString::fromUtf8(step.keys));
        EXPECT_EQ(field.NoMatch(), step.noMatch) << typed << " " << field.text().toStdString();
        EXPECT_EQ(field.palette().color(QPalette::Text) == text, !step.noMatch) << typed;
    }
    EXPECT_EQ(Top(*window), "かんがえ [考え]");
    field.clear();
    EXPECT_FALSE(field.NoMatch());
}

TEST_F(MainWindowTest, SettingsWrittenAtExitKeepBoundsOfTheNormalState) {
    {
        auto window = Start({});
        window->show();
        window->move(40, 30);
        window->resize(600, 450);
        window->close();
    }
    IniFile ini = IniFile::Load(SettingsFilePath());
    EXPECT_EQ(ini.ReadString("FormMain", "Mem", "?"), "0");
    EXPECT_EQ(ini.ReadInteger("FormMain", "Width", -1), 600);
    EXPECT_EQ(ini.ReadInteger("FormMain", "Height", -1), 450);
    EXPECT_EQ(ini.ReadString("FuncKey", "Disp", "?"), "1");
    EXPECT_EQ(ini.ReadString("TextJyouhou", "TextBackColor", "?"), "clWindow");
    {
        auto window = Start({});
        window->showMaximized();
        window->close();
    }
    EXPECT_EQ(IniFile::Load(SettingsFilePath()).ReadInteger("FormMain", "Width", -1), 600);
}

TEST_F(MainWindowTest, FontsColoursAndBoundsFromSettings) {
    test::WriteBytes(SettingsFilePath(),
                     "[FormMain]\r\nMem=1\r\nLeft=10\r\nTop=20\r\nWidth=640\r\nHeight=480\r\n"
                     "[EditJyouhou]\r\nEditFontSize=20\r\nEditFontColor=$00FF8000\r\n"
                     "EditBackColor=clYellow\r\n"
                     "[TextJyouhou]\r\nTextFontSize=big\r\nTextFontColor=clNoSuchColor\r\n"
                     "TextBackColor=$000000FF\r\n"
                     "[FuncKey]\r\nDisp=0\r\n");
    auto window = Start({});
    EXPECT_EQ(window->size(), QSize(640, 480));
    EXPECT_EQ(window->pos(), QPoint(10, 20));
    EXPECT_EQ(window->DicEdit1()->font().pointSize(), 20);
    EXPECT_EQ(window->DicEdit1()->palette().color(QPalette::Text), QColor(0x00, 0x80, 0xFF));
    EXPECT_EQ(window->DicEdit1()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(window->BigView1()->font().pointSize(), 14);
    EXPECT_EQ(window->BigView1()->FontColor(), QColor(0, 0, 0));
    EXPECT_EQ(window->BigView1()->Color(), QColor(0xFF, 0x00, 0x00));
    EXPECT_FALSE(window->Panel2()->isVisibleTo(window.get()));
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(MainWindowTest, ExitAsksFirst) {
    auto window = Start({});
    window->show();
    reporter.answers = {MessageResult::No, MessageResult::Yes};
    window->MenuExitClick();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, "    終了しますか。          ");
    EXPECT_EQ(reporter.messages[0].kind, MessageKind::Information);
    window->MenuExitClick();
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace tovix
