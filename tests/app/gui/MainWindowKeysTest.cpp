// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven by keys as typed: each key goes through the
// window's native window, the key hook and the focused control.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "WindowTestSupport.h"
#include "app/gui/FunctionKeyBar.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

// 52 entries of initial "a" (104 lines in part 1), then "bank".
std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    for (char second : {'a', 'b'}) {
        for (char third = 'a'; third <= 'z'; ++third) {
            entries.push_back(std::string("a") + second + third + "\t訳" + second + third);
        }
    }
    entries.push_back("bank\t銀行");
    return entries;
}

// Line n of part 1: headword lines are "a" + two letters and a blank,
// translation lines TAB-led.
std::string PartLine(int n) {
    const int entry = n / 2;
    const std::string tail = {static_cast<char>('a' + entry / 26),
                              static_cast<char>('a' + entry % 26)};
    return n % 2 == 0 ? "a" + tail + " " : Utf8ToCp932("\t訳" + tail);
}

std::string PartLines(int from, int to) {
    std::string text;
    for (int n = from; n <= to; ++n) {
        text += PartLine(n) + "\r\n";
    }
    return text;
}

class MainWindowKeysTest : public test::WindowTest {
  protected:
    // A window on part 1 of the dictionary, the search field empty and
    // focused, `top` the view's top line.
    std::unique_ptr<TForm1> OnPartOne(int top) {
        if (dic_.empty()) {
            dic_ = test::BuildDictionary(dir, Direction::English, Entries(), "E.DIC");
        }
        auto window = StartShown({Q(dic_), "ENG"});
        window->DicEdit1()->setText("a");
        window->DicEdit1()->setText("");
        window->BigView1()->SetTopLine(ViewLineIndex(top));
        window->DicEdit1()->setFocus();
        EXPECT_EQ(window->BigView1()->LineCount(), LineCount(104));
        return window;
    }

    std::filesystem::path dic_;
};

TEST_F(MainWindowKeysTest, CaretKeysScrollTheView) {
    struct Case {
        const char* what;
        int top;
        int key;
        Qt::KeyboardModifiers modifiers;
        bool inView;      // the view has the focus
        int expectedTop;  // -1: as computed from the page size
    };
    const Case cases[] = {
        {"Down from a headword", 4, Qt::Key_Down, Qt::NoModifier, false, 6},
        {"Down from a translation line", 5, Qt::Key_Down, Qt::NoModifier, false, 6},
        {"Up from a headword", 4, Qt::Key_Up, Qt::NoModifier, false, 2},
        {"Up from a translation line", 5, Qt::Key_Up, Qt::NoModifier, false, 4},
        {"Up at the top", 0, Qt::Key_Up, Qt::NoModifier, false, 0},
        {"Ctrl+T", 40, Qt::Key_T, Qt::ControlModifier, false, 0},
        {"Ctrl+B", 0, Qt::Key_B, Qt::ControlModifier, false, 102},
        // The hook sends Down to the view, which then handles the key itself.
        {"Down in the view", 4, Qt::Key_Down, Qt::NoModifier, true, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto window = OnPartOne(c.top);
        if (c.inView) {
            window->BigView1()->setFocus();
        }
        Press(*window, c.key, c.modifiers);
        EXPECT_EQ(window->BigView1()->TopLine(), ViewLineIndex(c.expectedTop));
    }
}

TEST_F(MainWindowKeysTest, PagingKeysMoveByAPageAndPutTheCaretAtTheEnd) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int pages;  // direction
    };
    const Case cases[] = {
        {Qt::Key_Right, Qt::NoModifier, 1},   {Qt::Key_PageDown, Qt::NoModifier, 1},
        {Qt::Key_Left, Qt::NoModifier, -1},   {Qt::Key_D, Qt::ControlModifier, 1},
        {Qt::Key_S, Qt::ControlModifier, -1},
    };
    for (const Case& c : cases) {
        auto window = OnPartOne(40);
        TDicEdit& field = *window->DicEdit1();
        field.SetText("ab");
        window->BigView1()->SetTopLine(ViewLineIndex(40));
        field.setCursorPosition(0);
        const int page = window->BigView1()->PageLines() - 1;
        ASSERT_GT(page, 1);
        Press(*window, c.key, c.modifiers);
        EXPECT_EQ(window->BigView1()->TopLine(), ViewLineIndex(40 + c.pages * page)) << c.key;
        EXPECT_EQ(field.cursorPosition(), 2) << c.key;
        EXPECT_EQ(field.text(), "ab");
    }
}

TEST_F(MainWindowKeysTest, CopyCommandsPutExactLinesOnTheClipboard) {
    auto window = OnPartOne(5);
    const int bottom = window->BigView1()->BottomLine().value;
    ASSERT_GT(bottom, 6);
    window->RunCommand("Button5Click");
    EXPECT_EQ(desktop.clipboard, PartLines(4, 5));
    desktop.clipboard.reset();
    Press(*window, Qt::Key_F6);
    EXPECT_EQ(desktop.clipboard, PartLines(4, bottom));
    // The pop-up item runs its button's command.
    window->BigView1()->SetTopLine(ViewLineIndex(10));
    window->PopupMenu1()->findChild<QAction*>("PopBtn05")->trigger();
    EXPECT_EQ(desktop.clipboard, PartLines(10, 11));

    window->DicEdit1()->SetText("ab");
    window->DicEdit1()->selectAll();
    Press(*window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(desktop.clipboard, "ab");
    EXPECT_EQ(window->DicEdit1()->text(), "ab");
    desktop.clipboard = "other";
    Press(*window, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(desktop.clipboard, "ab");
    EXPECT_EQ(window->DicEdit1()->text(), "");
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(MainWindowKeysTest, CopyingAOneLineViewAndAnEmptyView) {
    test::WriteBytes(dir / "X.DIC", "X.DIC\r\n");
    test::WriteBytes(dir / "X.DAT", "");
    auto window = Start({Q(dir / "X.DIC"), "ENG"});
    reporter.messages.clear();
    window->RunCommand("Button5Click");
    EXPECT_EQ(desktop.clipboard, "X.DIC\r\n");
    window->RunCommand("Button6Click");
    EXPECT_EQ(desktop.clipboard, "X.DIC\r\n");

    auto empty = Start({});
    desktop.clipboard = "kept";
    for (const char* copy : {"Button5Click", "Button6Click", "Button21Click"}) {
        reporter.messages.clear();
        empty->RunCommand(copy);
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages[0].text, "   辞書が読み込まれていません。          ");
        EXPECT_EQ(desktop.clipboard, "kept");
    }
}

TEST_F(MainWindowKeysTest, PasteRules) {
    struct Case {
        const char* what;
        std::optional<std::string> clipboard;
        int key;              // Ctrl+ this key in the search field
        std::string field;    // afterwards
        std::string message;  // empty: none
    };
    const Case cases[] = {
        {"appended, trailing blanks dropped", "nk  \t\r\n", Qt::Key_V, "bank", ""},
        {"cleared, then pasted", "bank", Qt::Key_L, "bank", ""},
        {"no text", std::nullopt, Qt::Key_V, "ba",
         "   クリップボードの内容が文字列ではありません。          "},
        {"only blanks", " \r\n ", Qt::Key_L, "ba",
         "   クリップボードに文字列が設定されていません。          "},
        {"two lines", "bank\r\napple", Qt::Key_V, "ba",
         "   クリップボードの文字列の内容が正しく設定されていません。          "},
        {"a line feed", "bank\napple", Qt::Key_L, "ba",
         "   クリップボードの文字列の内容が正しく設定されていません。          "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto window = OnPartOne(0);
        window->DicEdit1()->SetText("ba");
        reporter.messages.clear();
        desktop.clipboard = c.clipboard;
        Press(*window, c.key, Qt::ControlModifier);
        EXPECT_EQ(window->DicEdit1()->Text(), c.field);
        // A refused text stays on the clipboard as it was.
        EXPECT_EQ(desktop.clipboard, c.clipboard);
        if (c.message.empty()) {
            EXPECT_TRUE(reporter.messages.empty());
            EXPECT_EQ(Top(*window), "bank ");
        } else {
            ASSERT_EQ(reporter.messages.size(), 1u);
            EXPECT_EQ(reporter.messages[0].text, c.message);
            EXPECT_EQ(reporter.messages[0].buttons, kButtonYes | kButtonNo);
        }
    }
}

TEST_F(MainWindowKeysTest, FunctionTenClosesWithoutAskingAndShiftFunctionTenDoesNothing) {
    auto window = OnPartOne(0);
    Press(*window, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(window->isVisible());
    Press(*window, Qt::Key_F10);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(MainWindowKeysTest, FieldAndWindowKeys) {
    auto window = OnPartOne(0);
    TDicEdit& field = *window->DicEdit1();
    field.SetText("ab");
    Press(*window, Qt::Key_Escape);
    EXPECT_EQ(field.text(), "");

    window->BigView1()->setFocus();
    Press(*window, Qt::Key_Escape);
    EXPECT_EQ(window->focusWidget(), &field);

    Press(*window, Qt::Key_I, Qt::ControlModifier);
    EXPECT_TRUE(window->Panel2()->isHidden());
    window->MenuFuncKeyDispClick();
    EXPECT_FALSE(window->Panel2()->isHidden());

    Press(*window, Qt::Key_BracketLeft, Qt::ControlModifier);
    EXPECT_TRUE(window->isMaximized());
    Press(*window, Qt::Key_BracketLeft, Qt::ControlModifier);
    EXPECT_FALSE(window->isMaximized());

    // A bar button with the focus: Ctrl+V empties the field, Esc returns to it.
    field.SetText("ab");
    window->Panel2()->Button(3)->setFocus();
    Press(*window, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field.text(), "");
    window->Panel2()->Button(3)->setFocus();
    Press(*window, Qt::Key_Escape);
    EXPECT_EQ(window->focusWidget(), &field);

    // Walking the menu bar with the keys leaves the view alone.
    QTest::keyClick(window->windowHandle(), Qt::Key_Alt);
    ASSERT_TRUE(qobject_cast<QMenuBar*>(window->focusWidget()) != nullptr);
    Press(*window, Qt::Key_Right);
    Press(*window, Qt::Key_Escape);
    EXPECT_EQ(window->BigView1()->TopLine(), ViewLineIndex(0));
    field.setFocus();

    // At the top of the screen, so that the whole menu fits below its place.
    window->move(window->screen()->availableGeometry().topLeft());
    Press(*window, Qt::Key_Insert);
    QMenu& menu = *window->PopupMenu1();
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), window->pos() + QPoint(7, 87));
    menu.close();
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(MainWindowKeysTest, DelayTimeWaitsWithoutTakingUserInput) {
    auto window = OnPartOne(0);
    bool timerRan = false;
    QTimer::singleShot(10, [&] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    window->DelayTime(50);
    EXPECT_GE(clock.elapsed(), 50);
    EXPECT_TRUE(timerRan);
}

TEST_F(MainWindowKeysTest, HelpOpensTheHelpFileWhenThereIsOne) {
    auto window = Start({});
    window->MenuHelpDispClick();
    EXPECT_TRUE(desktop.opened.empty());
    test::WriteBytes(dir / "TOVIX.HLP", "help");
    window->MenuHelpDispClick();
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0], dir / "TOVIX.HLP");
}

}  // namespace
}  // namespace tovix
