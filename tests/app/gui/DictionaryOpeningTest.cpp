// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing a registered dictionary in the selection window and opening it
// here or in a new copy; emptying the tools' temporary files.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "WindowTestSupport.h"
#include "app/TemporaryFiles.h"
#include "app/gui/SelectWindow.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "dict/DicFileSet.h"
#include "platform/FileLock.h"
#include "platform/MessageText.h"
#include "support/BuildDictionary.h"
#include "tools/ToolLock.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

DictionarySlot Slot(const std::string& title, const std::filesystem::path& file,
                    const std::string& shortCut) {
    return {Utf8ToCp932(title), Utf8ToCp932(file.string()), Utf8ToCp932(shortCut)};
}

TEST(SelectWindowTest, KeysAndButtonsChooseTheSlotBehindTheLine) {
    DictionaryList gaps;
    gaps[1] = Slot("英和辞典", "/d/E.DIC", "E");
    gaps[4] = Slot("英和2", "/d/E2.DIC", "2");
    struct Case {
        const char* what;
        int row;
        std::function<void(TForm13&)> act;
        SelectAction action;
        int slot;
    };
    auto key = [](int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return [k, modifiers](TForm13& w) {
            QTest::keyClick(w.ListBox1(), static_cast<Qt::Key>(k), modifiers);
        };
    };
    const Case cases[] = {
        {"Enter", 0, key(Qt::Key_Return), SelectAction::OpenHere, 2},
        {"Enter on the second line", 1, key(Qt::Key_Return), SelectAction::OpenHere, 5},
        {"keypad Enter", 1, key(Qt::Key_Enter, Qt::KeypadModifier), SelectAction::OpenHere, 5},
        {"Ctrl+Enter", 1, key(Qt::Key_Return, Qt::ControlModifier), SelectAction::OpenNewCopy, 5},
        {"Shift+Enter", 0, key(Qt::Key_Return, Qt::ShiftModifier), SelectAction::OpenNewCopy, 2},
        {"Esc", 1, key(Qt::Key_Escape), SelectAction::None, -1},
        {"double click", 1, [](TForm13& w) { w.ListBox1Click(); }, SelectAction::OpenHere, 5},
        {"選択", 1, [](TForm13& w) { w.BtnOk()->click(); }, SelectAction::OpenHere, 5},
        {"新規", 0, [](TForm13& w) { w.BtnNew()->click(); }, SelectAction::OpenNewCopy, 2},
        {"ｷｬﾝｾﾙ", 0, [](TForm13& w) { w.BtnCansel()->click(); }, SelectAction::None, -1},
        {"Esc on a button", 0, [](TForm13& w) { QTest::keyClick(w.BtnOk(), Qt::Key_Escape); },
         SelectAction::None, -1},
    };
    for (const Case& c : cases) {
        test::RecordingReporter reporter;
        TForm13 window(gaps, QStringLiteral("英和辞書選択"), reporter);
        window.show();
        ASSERT_EQ(window.ListBox1()->count(), 2);
        EXPECT_EQ(window.ListBox1()->item(0)->text(), QStringLiteral("E  英和辞典"));
        window.ListBox1()->setCurrentRow(c.row);
        c.act(window);
        EXPECT_EQ(window.Action(), c.action) << c.what;
        EXPECT_EQ(window.Slot(), c.slot) << c.what;
        EXPECT_FALSE(window.isVisible()) << c.what;
    }

    test::RecordingReporter reporter;
    TForm13 empty(DictionaryList{}, QStringLiteral("和英辞書選択"), reporter);
    ASSERT_EQ(empty.ListBox1()->count(), 1);
    EXPECT_EQ(empty.ListBox1()->item(0)->text(), QString());
    QTest::keyClick(empty.ListBox1(), Qt::Key_Return);
    EXPECT_EQ(empty.Slot(), -1);
}

class DictionaryOpeningTest : public test::WindowTest {
  protected:
    DictionaryOpeningTest() {
        eng_ =
            test::BuildDictionary(dir, Direction::English, {"bank\t銀行", "zoo\t動物園"}, "E.DIC");
        std::filesystem::create_directories(dir / "my dics");
        jpn_ = test::BuildDictionary(dir, Direction::Japanese, {"かんじ[漢字]\tkanji"},
                                     "my dics/J.DIC");
    }

    // Answers the selection window, once it is shown, with a key on its list.
    void AnswerSelection(int row, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTimer::singleShot(0, [this, row, key, modifiers] {
            auto* window = qobject_cast<TForm13*>(QApplication::activeModalWidget());
            if (window == nullptr) {
                ADD_FAILURE() << "no selection window";
                return;
            }
            caption_ = window->windowTitle();
            window->ListBox1()->setCurrentRow(row);
            QTest::keyClick(window->ListBox1(), static_cast<Qt::Key>(key), modifiers);
        });
    }

    struct Shown {
        std::filesystem::path dicFile;
        Direction direction;
        QString caption;
        QString label;
        int currentPart;
        ViewLineIndex topLine;
        std::string top;
        int tableCount;

        bool operator==(const Shown&) const = default;
    };

    static Shown State(TForm1& window) {
        return {window.Search().dicFile,
                window.Search().direction,
                window.windowTitle(),
                window.Label11()->text(),
                window.Search().currentPart,
                window.BigView1()->TopLine(),
                Top(window),
                window.Search().table.Count()};
    }

    std::filesystem::path eng_;
    std::filesystem::path jpn_;
    QString caption_;
};

TEST_F(DictionaryOpeningTest, OpeningHereSwitchesDictionaryAndDirection) {
    DictionaryList list;
    list[2] = Slot("和英", jpn_, "J");  // slot 3 alone: the list has gaps
    WriteDictionaryList(SettingsFilePath(), Direction::Japanese, list);
    auto window = StartShown({Q(eng_), "ENG"});
    window->DicEdit1()->SetText("zo");
    ASSERT_EQ(Top(*window), "zoo ");

    AnswerSelection(0, Qt::Key_Return);
    Press(*window, Qt::Key_F8);
    EXPECT_EQ(caption_, QStringLiteral("和英辞書選択"));
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(window->Search().direction, Direction::Japanese);
    EXPECT_EQ(window->Search().dicFile, jpn_);
    EXPECT_EQ(window->Search().currentPart, 0);
    EXPECT_EQ(window->Label11()->text(), QStringLiteral("日本語 : "));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tovix (ﾒｲﾝ)  ") + Q(jpn_));
    EXPECT_EQ(window->DicEdit1()->text(), "");
    EXPECT_EQ(window->BigView1()->GetViewLine(ViewLineIndex(0)), Utf8ToCp932(jpn_.string()));
    EXPECT_FALSE(window->DialogOpen());

    window->DicEdit1()->setText(QStringLiteral("かん"));
    EXPECT_EQ(Top(*window), "かんじ [漢字]");
}

TEST_F(DictionaryOpeningTest, FailedOpeningKeepsWhatWasShown) {
    test::WriteBytes(dir / "NOTABLE.DIC", "NOTABLE.DIC\r\n\r\n");
    test::WriteBytes(dir / "BAD.DIC", "BAD.DIC\r\n\r\n");
    test::WriteBytes(dir / "BAD.DAT", "no table\r\n");
    DictionaryList list;
    list[0] = Slot("missing", dir / "NONE.DIC", "1");
    list[1] = Slot("no table", dir / "NOTABLE.DIC", "2");
    list[2] = Slot("bad table", dir / "BAD.DIC", "3");
    list[3] = Slot("no file", "", "4");
    list[4] = Slot("other direction", jpn_, "5");
    WriteDictionaryList(SettingsFilePath(), Direction::English, list);
    const std::string missing = "指定された辞書ファイルが存在しません。          ";
    const std::string noTable =
        "指定された辞書テーブルファイルがオープンできませんでした。          ";
    struct Case {
        int row;
        std::string message;
    };
    const Case cases[] = {
        {0, "   " + (dir / "NONE.DIC").string() + " の\r\n   " + missing},
        {1, "   " + (dir / "NOTABLE.DAT").string() + " の\r\n   " + noTable},
        {2, "   " + (dir / "BAD.DAT").string() + " の\r\n   " + noTable},
        {3, "    の\r\n   " + missing},
        // A table of the other direction does not fit.
        {4, "   " + TableFileName(jpn_).string() + " の\r\n   " + noTable},
    };
    for (const Case& c : cases) {
        auto window = StartShown({Q(eng_), "ENG"});
        window->DicEdit1()->SetText("ba");
        const Shown before = State(*window);
        ASSERT_EQ(before.top, "bank ");
        reporter.messages.clear();
        AnswerSelection(c.row, Qt::Key_Return);
        window->DicOpen(Direction::English);
        ASSERT_EQ(reporter.messages.size(), 1u) << c.row;
        EXPECT_EQ(reporter.messages[0].text, c.message);
        EXPECT_EQ(reporter.messages[0].kind, MessageKind::Warning);
        EXPECT_EQ(State(*window), before) << c.row;
        // The dictionary shown before keeps working.
        window->DicEdit1()->SetText("zo");
        EXPECT_EQ(Top(*window), "zoo ");
        EXPECT_EQ(reporter.messages.size(), 1u);
    }
}

TEST_F(DictionaryOpeningTest, CancelledOrEmptySelectionChangesNothing) {
    for (bool registered : {true, false}) {
        DictionaryList list;
        if (registered) {
            list[0] = Slot("和英", jpn_, "J");
        }
        WriteDictionaryList(SettingsFilePath(), Direction::Japanese, list);
        auto window = StartShown({Q(eng_), "ENG"});
        window->DicEdit1()->SetText("ba");
        const Shown before = State(*window);
        AnswerSelection(0, registered ? Qt::Key_Escape : Qt::Key_Return);
        window->DicOpen(Direction::Japanese);
        EXPECT_EQ(State(*window), before);
        EXPECT_TRUE(reporter.messages.empty());
        EXPECT_TRUE(desktop.started.empty());
    }
}

TEST_F(DictionaryOpeningTest, NewCopyGetsFileAndDirectionAsTwoArguments) {
    DictionaryList list;
    list[0] = Slot("和英", jpn_, "J");
    list[1] = Slot("missing", dir / "my dics/NONE.DIC", "M");
    WriteDictionaryList(SettingsFilePath(), Direction::Japanese, list);
    auto window = StartShown({Q(eng_), "ENG"});
    const Shown before = State(*window);

    AnswerSelection(0, Qt::Key_Return, Qt::ControlModifier);
    window->DicOpen(Direction::Japanese);
    ASSERT_EQ(desktop.started.size(), 1u);
    EXPECT_EQ(desktop.started[0].program, QCoreApplication::applicationFilePath().toStdString());
    EXPECT_EQ(desktop.started[0].arguments, (std::vector<std::string>{jpn_.string(), "JPN"}));
    EXPECT_EQ(desktop.started[0].workingDir, dir.path());
    EXPECT_EQ(window->NewWindowDic(), jpn_.string());
    EXPECT_EQ(State(*window), before);
    EXPECT_TRUE(reporter.messages.empty());

    AnswerSelection(1, Qt::Key_Return, Qt::ShiftModifier);
    window->DicOpen(Direction::Japanese);
    EXPECT_EQ(desktop.started.size(), 1u);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text,
              "   " + (dir / "my dics/NONE.DIC").string() +
                  " の\r\n   指定された辞書ファイルが存在しません。          ");

    reporter.messages.clear();
    desktop.startSucceeds = false;
    AnswerSelection(0, Qt::Key_Return, Qt::ControlModifier);
    window->DicOpen(Direction::Japanese);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, "   " +
                                             QCoreApplication::applicationFilePath().toStdString() +
                                             " の\r\n   の実行に失敗しました。          ");
    EXPECT_EQ(State(*window), before);
}

TEST_F(DictionaryOpeningTest, TemporaryFilesBecomeOneEmptyLineEach) {
    test::WriteBytes(dir / "TOVIXSRT.TXT", "left over\r\nlines\r\n");
    auto window = Start({});
    window->MenuTmpFileDeleteClick();
    for (std::string_view name : kTemporaryFileNames) {
        EXPECT_EQ(test::ReadBytes(dir / name), "\r\n") << name;
    }
    EXPECT_TRUE(reporter.messages.empty());
}

// Fault: emptying the work files while a tool command ran lost its data.
TEST_F(DictionaryOpeningTest, TemporaryFilesStayWhileAToolCommandRuns) {
    test::WriteBytes(dir / "TOVIXSRT.TXT", "in use\r\n");
    auto window = Start({});
    const FileLock running(ToolLockFileName(dir.path()), "lock");
    window->MenuTmpFileDeleteClick();
    EXPECT_EQ(test::ReadBytes(dir / "TOVIXSRT.TXT"), "in use\r\n");
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, PaddedMessage(tool_text::kToolBusy));
}

}  // namespace
}  // namespace tovix
