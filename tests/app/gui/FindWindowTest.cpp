// SPDX-License-Identifier: GPL-3.0-or-later
// The find window alone, then the free-text find from the main window's keys,
// buttons and menu: directions, re-finds, part files, the case option,
// cancelling, the notices and the mark.

#include "app/gui/FindWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ModalWindows.h"
#include "WindowTestSupport.h"
#include "app/gui/FunctionKeyBar.h"
#include "app/gui/MessageWindow.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

TEST(FindWindowTest, ButtonsAndKeysSetTextDirectionAndCase) {
    using Act = std::function<void(TForm4&)>;
    const auto key = [](int k) {
        return [k](TForm4& w) { QTest::keyClick(w.Edit1(), static_cast<Qt::Key>(k)); };
    };
    struct Case {
        const char* what;
        Act act;
        bool accepted;
        FindDirection direction;  // starting from Up
    };
    const Case cases[] = {
        {"次検索", [](TForm4& w) { w.BtnSearch()->click(); }, true, FindDirection::Down},
        {"前検索", [](TForm4& w) { w.BtnPriorSearch()->click(); }, true, FindDirection::Up},
        {"Enter keeps the direction", key(Qt::Key_Return), true, FindDirection::Up},
        {"Enter on 次検索",
         [](TForm4& w) {
             w.BtnSearch()->setFocus();
             QTest::keyClick(w.BtnSearch(), Qt::Key_Return);
         },
         true, FindDirection::Down},
        {"Esc in the text", key(Qt::Key_Escape), false, FindDirection::Up},
        {"Esc on a button", [](TForm4& w) { QTest::keyClick(w.BtnPriorSearch(), Qt::Key_Escape); },
         false, FindDirection::Up},
        {"Enter on the check box",
         [](TForm4& w) { QTest::keyClick(w.CheckUperLower(), Qt::Key_Return); }, false,
         FindDirection::Up},
        {"ｷｬﾝｾﾙ", [](TForm4& w) { w.BtnCansel()->click(); }, false, FindDirection::Up},
    };
    for (const Case& c : cases) {
        FindState find;
        find.previousFindText = "apple";
        find.direction = FindDirection::Up;
        test::RecordingReporter reporter;
        TForm4 window(find, reporter);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_EQ(window.Edit1()->text(), QStringLiteral("apple"));
        window.Edit1()->setText(QStringLiteral("銀行"));
        c.act(window);
        if (c.accepted) {
            EXPECT_FALSE(window.isVisible()) << c.what;
            EXPECT_EQ(find.findText, Utf8ToCp932("銀行")) << c.what;
        } else {
            EXPECT_TRUE(find.findText.empty()) << c.what;
        }
        EXPECT_EQ(find.direction, c.direction) << c.what;
    }
}

TEST(FindWindowTest, CaseOptionTextLimitTabOrderAndOfferedBytes) {
    FindState find;
    test::RecordingReporter reporter;
    // 87 90 (≒ of the NEC rows) reads as U+2252, which CP932 writes as 81 E0:
    // the offered text keeps its own bytes while it is not edited.
    find.previousFindText = "\x87\x90";
    TForm4 window(find, reporter);
    window.show();
    window.CheckUperLower()->click();
    EXPECT_TRUE(find.matchCase);  // at once, before the window closes
    QTest::keyClick(window.Edit1(), Qt::Key_Return);
    EXPECT_EQ(find.findText, "\x87\x90");

    TForm4 limited(find, reporter);
    EXPECT_TRUE(limited.CheckUperLower()->isChecked());
    limited.Edit1()->setText(QString(300, QLatin1Char('x')));
    EXPECT_EQ(limited.Edit1()->text().size(), 255);
    limited.Edit1()->setText(QString(128, QChar(0x6F22)));  // 漢, two bytes each
    EXPECT_EQ(limited.Edit1()->text().size(), 127);

    std::vector<QWidget*> order{limited.Edit1(), limited.BtnSearch(), limited.BtnPriorSearch(),
                                limited.BtnCansel(), limited.CheckUperLower()};
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        QWidget* next = order[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, order[i + 1]) << i;
    }
    EXPECT_EQ(limited.Label1()->buddy(), limited.Edit1());
}

// Part 1: apple, apply, azure (its アイテム has trail bytes that read as "A"
// and "C"); part 2: banana, bank; part 4: dog; part 26: zoo.
const std::vector<std::string> kEntries = {
    "apple\tりんご ABC", "apply\t適用する", "azure\tアイテム", "bank\t銀行 abc",
    "banana\tバナナ",    "dog\t犬 Abc?",    "zoo\t動物園",
};

class FindCommandTest : public test::WindowTest {
  protected:
    std::unique_ptr<TForm1> OnPart(const char* word) {
        dic_ = test::BuildDictionary(dir, Direction::English, kEntries, "E.DIC");
        auto window = StartShown({Q(dic_), "ENG"});
        window->DicEdit1()->SetText(word);
        window->DicEdit1()->setFocus();
        return window;
    }

    // Answers the next find window with a text, the case option and a button,
    // noting the text it offered.
    void Answer(const char* text, QPushButton* (TForm4::*button)() const, bool matchCase = false) {
        test::WhenModal<TForm4>([this, text, button, matchCase](TForm4& w) {
            offered_ = w.Edit1()->text();
            w.Edit1()->setText(QString::fromUtf8(text));
            if (w.CheckUperLower()->isChecked() != matchCase) {
                w.CheckUperLower()->click();
            }
            (w.*button)()->click();
        });
    }

    // Runs a command; returns the text of the notice it showed (closing it),
    // or "".
    static QString Notice(const std::function<void()>& command) {
        QString notice;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&notice] {
            if (auto* w = qobject_cast<TForm17*>(QApplication::activeModalWidget())) {
                notice = w->Label1()->text();
                w->close();
            }
        });
        poll.start(5);
        command();
        return notice;
    }

    static std::string State(TForm1& w) {
        return std::to_string(w.Search().currentPart) + " " + Top(w);
    }

    std::filesystem::path dic_;
    QString offered_;
};

const QString kNotFound = QStringLiteral("    検索文字はありませんでした。   ");
const QString kNoText = QStringLiteral("    検索文字が設定されていません。   ");

TEST_F(FindCommandTest, FindsDownUpAgainAndAcrossPartFilesWithoutWrapping) {
    auto window = OnPart("ap");
    TForm1& w = *window;
    const auto press = [&w](int key, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [&w, key, m] { Press(w, key, m); };
    };
    const auto ctrlF = press(Qt::Key_F, Qt::ControlModifier);
    const auto down = &TForm4::BtnSearch;
    const auto up = &TForm4::BtnPriorSearch;
    struct Step {
        const char* what;
        const char* text;  // answers the find window; nullptr: no window
        QPushButton* (TForm4::*button)() const;
        bool matchCase;
        std::function<void()> command;
        std::string state;  // current part and top line afterwards
        QString notice;
    };
    const Step steps[] = {
        {"the top line itself is searched", "apple", down, false, ctrlF, "1 apple ", ""},
        {"F3 skips the entry at the top", nullptr, nullptr, false, press(Qt::Key_F3), "1 apple ",
         kNotFound},
        {"down to apply", "apply", down, false, ctrlF, "1 apply ", ""},
        {"F4 up, hit on a translation line", "abc", up, false, press(Qt::Key_F4), "1 apple ", ""},
        {"Ctrl+N into part 2", nullptr, nullptr, false, press(Qt::Key_N, Qt::ControlModifier),
         "2 bank ", ""},
        {"Ctrl+N, case off: Abc in part 4", nullptr, nullptr, false,
         press(Qt::Key_N, Qt::ControlModifier), "4 dog ", ""},
        {"F3 at the last hit: no wrap-around", nullptr, nullptr, false, press(Qt::Key_F3), "4 dog ",
         kNotFound},
        {"F2 back into part 2", nullptr, nullptr, false, press(Qt::Key_F2), "2 bank ", ""},
        {"Ctrl+P back into part 1", nullptr, nullptr, false, press(Qt::Key_P, Qt::ControlModifier),
         "1 apple ", ""},
        {"Ctrl+P at the first hit: no wrap-around", nullptr, nullptr, false,
         press(Qt::Key_P, Qt::ControlModifier), "1 apple ", kNotFound},
        {"menu, case on: abc only", "abc", down, true, [&w] { w.MenuItem("MenuFind")->trigger(); },
         "2 bank ", ""},
        {"次検索 menu item, case on", nullptr, nullptr, false,
         [&w] { w.MenuItem("MenuReFindNext")->trigger(); }, "2 bank ", kNotFound},
        {"前検索 menu item, case on", nullptr, nullptr, false,
         [&w] { w.MenuItem("MenuRefindPrior")->trigger(); }, "2 bank ", kNotFound},
        // A character without a CP932 form is no "?" of the dictionary.
        {"a text that cannot stand in the dictionary", "😀", down, false, ctrlF, "2 bank ",
         kNotFound},
        {"up into part 1", "apply", up, false, [&w] { w.RunCommand("PopBtn04Click"); }, "1 apply ",
         ""},
        // イ (83 43) of アイテム has a trail byte that reads as "C".
        {"case off: a trail byte is no letter", "c", down, false, ctrlF, "2 bank ", ""},
        {"up into part 1 again", "apply", up, false, ctrlF, "1 apply ", ""},
        // ア (83 41) has a trail byte that reads as "A".
        {"case on: a trail byte is no letter", "A", down, true, ctrlF, "4 dog ", ""},
    };
    for (const Step& s : steps) {
        if (s.text != nullptr) {
            Answer(s.text, s.button, s.matchCase);
        }
        EXPECT_EQ(Notice(s.command), s.notice) << s.what;
        EXPECT_EQ(State(w), s.state) << s.what;
        EXPECT_FALSE(w.DialogOpen()) << s.what;
        // The search field's caret stands at the end of its text.
        EXPECT_EQ(w.DicEdit1()->cursorPosition(), w.DicEdit1()->text().size()) << s.what;
    }
    // The last find text and the case option reach the settings file.
    EXPECT_EQ(w.Settings().findText, "A");
    EXPECT_TRUE(w.Settings().findMatchCase);
    EXPECT_EQ(offered_, QStringLiteral("apply"));
}

TEST_F(FindCommandTest, TheHitIsMarkedUntilTheNextKeystroke) {
    auto window = OnPart("b");
    Answer("abc", &TForm4::BtnSearch);
    Notice([&] { window->RunCommand("Button4Click"); });
    ASSERT_EQ(State(*window), "2 bank ");
    EXPECT_EQ(window->BigView1()->MarkedLine(), TextLineIndex(3));
    Press(*window, Qt::Key_Shift);
    EXPECT_EQ(window->BigView1()->MarkedLine(), TextLineIndex(3));
    Press(*window, Qt::Key_X);
    EXPECT_EQ(window->BigView1()->MarkedLine(), TextLineIndex(-1));
}

TEST_F(FindCommandTest, CancelChangesNothingButTheFindText) {
    auto window = OnPart("ban");
    TForm1& w = *window;
    const std::string before = State(w);
    Answer("銀行", &TForm4::BtnCansel);
    EXPECT_EQ(Notice([&w] { Press(w, Qt::Key_F, Qt::ControlModifier); }), "");
    EXPECT_EQ(State(w), before);
    EXPECT_FALSE(w.MenuItem("MenuReFindNext")->isEnabled());
    // Ctrl+N waits for a find; F3 says there is no find text.
    EXPECT_EQ(Notice([&w] { Press(w, Qt::Key_N, Qt::ControlModifier); }), "");
    EXPECT_EQ(Notice([&w] { Press(w, Qt::Key_F3); }), kNoText);
    EXPECT_EQ(State(w), before);

    // A find, then a cancelled one: the find text is gone, the offer stays.
    Answer("銀行", &TForm4::BtnSearch);
    Notice([&w] { Press(w, Qt::Key_F4); });
    EXPECT_TRUE(w.MenuItem("MenuReFindNext")->isEnabled());
    Answer("x", &TForm4::BtnCansel);
    Notice([&w] { Press(w, Qt::Key_F4); });
    EXPECT_EQ(offered_, QStringLiteral("銀行"));
    EXPECT_EQ(Notice([&w] { Press(w, Qt::Key_F2); }), kNoText);
    EXPECT_EQ(w.Settings().findText, Utf8ToCp932("銀行"));
}

TEST_F(FindCommandTest, WithoutADictionaryEveryFindCommandFindsNothing) {
    auto window = StartShown({});
    TForm1& w = *window;
    EXPECT_EQ(Notice([&w] { Press(w, Qt::Key_F, Qt::ControlModifier); }), "");
    EXPECT_EQ(Notice([&w] { Press(w, Qt::Key_F4); }), kNotFound);
    EXPECT_EQ(Notice([&w] { Press(w, Qt::Key_F3); }), kNotFound);
    EXPECT_EQ(Notice([&w] { w.MenuItem("MenuFind")->trigger(); }), kNotFound);
    EXPECT_EQ(Notice([&w] { w.RunCommand("Button2Click"); }), kNotFound);
}

}  // namespace
}  // namespace tovix
