// SPDX-License-Identifier: GPL-3.0-or-later
// Failures inside the main window's handlers: reported, and the window goes
// on with the state the failed command would have changed as it was.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "WindowTestSupport.h"
#include "app/gui/FunctionKeyBar.h"
#include "components/DicEdit/DicEdit.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

std::string Failure(const std::string& what, const std::string& reason) {
    return "   " + what + " の\r\n   処理を続けられませんでした: " + reason + "          ";
}

using MainWindowGuardTest = test::WindowTest;

// Guards against an exception from a slot or the key filter reaching Qt's
// event loop, which ended the program.
TEST_F(MainWindowGuardTest, FailingSlotsAndKeyFilterAreReportedAndTheWindowGoesOn) {
    const std::filesystem::path dic =
        test::BuildDictionary(dir, Direction::English, {"bank\t銀行", "zoo\t動物園"}, "E.DIC");
    auto window = StartShown({Q(dic), "ENG"});
    TDicEdit& field = *window->DicEdit1();
    field.SetText("ba");
    desktop.clipboard = "kept";
    desktop.clipboardFails = true;
    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"Button5Click", [&] { window->Panel2()->Button(5)->click(); }},
        {"PopBtn06Click",
         [&] { window->PopupMenu1()->findChild<QAction*>("PopBtn06")->trigger(); }},
        // Ctrl+L on a bar button reaches FormKeyDown through the event filter.
        {"FormKeyDown",
         [&] {
             window->Panel2()->Button(3)->setFocus();
             Press(*window, Qt::Key_L, Qt::ControlModifier);
         }},
    };
    for (const Case& c : cases) {
        reporter.messages.clear();
        c.act();
        ASSERT_EQ(reporter.messages.size(), 1u) << c.what;
        EXPECT_EQ(reporter.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(reporter.messages[0].text, Failure(c.what, "clipboard unavailable"));
        EXPECT_EQ(field.Text(), "ba") << c.what;
        EXPECT_EQ(desktop.clipboard, "kept") << c.what;
        EXPECT_EQ(Top(*window), "bank ") << c.what;
    }

    desktop.clipboardFails = false;
    reporter.messages.clear();
    field.clear();
    field.setFocus();
    QTest::keyClicks(&field, "zo");
    EXPECT_EQ(Top(*window), "zoo ");
    window->Panel2()->Button(5)->click();
    EXPECT_EQ(desktop.clipboard, Utf8ToCp932("zoo \r\n\t動物園\r\n"));
    EXPECT_TRUE(reporter.messages.empty());
}

// Guards against a lookup that failed once leaving the search field without
// lookups for good.
TEST_F(MainWindowGuardTest, LookupThatFailsIsReportedAndTheNextKeystrokeLooksUpAgain) {
    class FailingOnce : public test::RecordingReporter {
      public:
        MessageResult Message(MessageKind kind, const std::string& text,
                              MessageButtons buttons) override {
            if (std::exchange(failNext, false)) {
                throw std::bad_alloc();
            }
            return RecordingReporter::Message(kind, text, buttons);
        }
        bool failNext = false;
    } failing;
    // Without a direction every keystroke's lookup warns; the first warning
    // fails here.
    TForm1 window({"X.DIC"}, &failing);
    failing.messages.clear();
    failing.failNext = true;
    QTest::keyClicks(window.DicEdit1(), "a");
    ASSERT_EQ(failing.messages.size(), 1u);
    EXPECT_EQ(failing.messages[0].text, Failure("DicEdit1Change", "メモリが足りません。"));
    QTest::keyClicks(window.DicEdit1(), "b");
    ASSERT_EQ(failing.messages.size(), 2u);
    EXPECT_EQ(failing.messages[1].text, "   辞書判別が正しくありません。          ");
}

}  // namespace
}  // namespace tovix
