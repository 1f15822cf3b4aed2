// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary list window and its registration window, opened from the
// main window's menu commands: what reaches the settings file, what a cancel
// leaves alone, the refusals, and the selection window showing the new list.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "WindowTestSupport.h"
#include "app/AppMessages.h"
#include "app/gui/DictionaryListWindow.h"
#include "app/gui/RegistrationWindow.h"
#include "app/gui/SelectWindow.h"
#include "platform/MessageText.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

using test::WhenShown;

QStringList Lines(const TForm11& window) {
    QStringList lines;
    for (int row = 0; row < window.ListBox1()->count(); ++row) {
        lines << window.ListBox1()->item(row)->text();
    }
    return lines;
}

// Fills the registration window once it shows and presses OK.
void RegisterWhenShown(const QString& title, const QString& file, const QString& shortCut) {
    WhenShown<TForm12>([=](TForm12& form) {
        form.Edit1()->setText(title);
        form.Edit2()->setText(file);
        form.Edit5()->setText(shortCut);
        form.BtnOk()->click();
    });
}

class DictionaryListWindowTest : public test::WindowTest {
  protected:
    std::string Ini() const { return test::ReadBytes(SettingsFilePath()); }
    void WriteIni(const std::string& utf8) {
        test::WriteBytes(SettingsFilePath(), Utf8ToCp932(utf8));
    }

    std::string Warning(std::string_view text) const { return Padded(text, 4, 10); }
};

TEST_F(DictionaryListWindowTest, RegisteredDictionaryIsSavedAndOfferedByTheSelection) {
    const std::filesystem::path second =
        test::BuildDictionary(dir, Direction::English, {"pear\t梨"}, "SECOND.DIC");
    auto window = Start({});
    WhenShown<TForm11>([&](TForm11& list) {
        EXPECT_EQ(Lines(list), QStringList{QString()});
        EXPECT_FALSE(list.Button("BtnPaste")->isEnabled());
        RegisterWhenShown(QStringLiteral("第二"), Q(second), QString());
        list.Button("BtnAdd")->click();
        EXPECT_EQ(Lines(list), QStringList{QStringLiteral("第二")});
        list.Button("BtnOk")->click();
    });
    window->DicSet(Direction::English);
    EXPECT_FALSE(window->DialogOpen());

    // The empty shortcut label is saved as one blank.
    EXPECT_NE(Ini().find("[EngProgShortCut]\r\n1= \r\n2=\r\n"), std::string::npos);
    EXPECT_NE(Ini().find(Utf8ToCp932("[EngProgTitle]\r\n1=第二\r\n")), std::string::npos);
    EXPECT_EQ(ReadDictionaryList(SettingsFilePath(), Direction::Japanese), DictionaryList());

    // ... and shown empty when the entry is edited again.
    WhenShown<TForm11>([&](TForm11& list) {
        WhenShown<TForm12>([&](TForm12& form) {
            EXPECT_EQ(form.Edit1()->text(), QStringLiteral("第二"));
            EXPECT_EQ(form.Edit2()->text(), Q(second));
            EXPECT_EQ(form.Edit5()->text(), QString());
            form.BtnCansel()->click();
        });
        list.Button("BtnEdit")->click();
        list.Button("BtnCansel")->click();
    });
    window->DicSet(Direction::English);

    // F7 offers it at once and opens it; the list windows left the direction.
    WhenShown<TForm13>([](TForm13& select) {
        EXPECT_EQ(select.ListBox1()->item(0)->text(), QStringLiteral("  第二"));
        select.BtnOk()->click();
    });
    window->DicOpen(Direction::English);
    EXPECT_EQ(window->Search().dicFile, second);
    EXPECT_EQ(window->Label11()->text(), QStringLiteral("英　語 : "));
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(DictionaryListWindowTest, CancelAfterChangesLeavesTheFileByteIdentical) {
    // A file edited by hand: a comment, a gap before slot 3, another direction.
    WriteIni(
        "; mine\r\n[EngProgTitle]\r\n1=A\r\n3=C\r\n[EngProgName]\r\n1=/a.DIC\r\n3=/c.DIC\r\n"
        "[JpnProgTitle]\r\n1=J\r\n");
    const std::string before = Ini();
    auto window = Start({});
    const std::function<void(TForm11&)> closers[] = {
        [](TForm11& list) { list.Button("BtnCansel")->click(); },
        [](TForm11& list) { QTest::keyClick(list.ListBox1(), Qt::Key_Escape); },
        [](TForm11& list) { QTest::keyClick(list.Button("BtnDown"), Qt::Key_Escape); },
        [](TForm11& list) { list.close(); },
    };
    for (const auto& close : closers) {
        WhenShown<TForm11>([&](TForm11& list) {
            // The gap is closed on opening.
            EXPECT_EQ(Lines(list), (QStringList{"A", "C"}));
            list.ListBox1()->setCurrentRow(1);
            list.Button("BtnCut")->click();
            list.Button("BtnPaste")->click();
            RegisterWhenShown("X", "/x.DIC", "x");
            list.Button("BtnAdd")->click();
            list.Button("BtnDel")->click();
            EXPECT_EQ(Lines(list), (QStringList{"C", "A"}));
            close(list);
        });
        window->DicSet(Direction::English);
        EXPECT_FALSE(window->DialogOpen());
        EXPECT_EQ(Ini(), before);
    }
}

TEST_F(DictionaryListWindowTest, NineDictionariesRefuseAddAndPaste) {
    std::string ini = "[EngProgTitle]\r\n";
    for (int n = 1; n <= 9; ++n) {
        ini += std::to_string(n) + "=D" + std::to_string(n) + "\r\n";
    }
    WriteIni(ini);
    auto window = Start({});
    WhenShown<TForm11>([&](TForm11& list) {
        // A registration window here would be a fault: close it and say so.
        QTimer::singleShot(300, &list, [] {
            if (auto* form = qobject_cast<TForm12*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "registration opened on a full list";
                form->reject();
            }
        });
        list.Button("BtnAdd")->click();
        list.Button("BtnCopy")->click();
        list.Button("BtnPaste")->click();
        EXPECT_EQ(Lines(list).size(), 9);
        list.Button("BtnCansel")->click();
    });
    window->DicSet(Direction::English);
    ASSERT_EQ(reporter.messages.size(), 2u);
    for (const auto& shown : reporter.messages) {
        EXPECT_EQ(shown.text, "    設定個数は ９ 個までです。          ");
        EXPECT_EQ(shown.buttons, kButtonOk);
        EXPECT_EQ(shown.kind, MessageKind::Warning);
    }
}

TEST_F(DictionaryListWindowTest, RegistrationChecksAndBrowsing) {
    TForm12 form({}, reporter, desktop);
    form.show();
    struct Case {
        const char* title;
        const char* file;
        std::string message;
    };
    const Case refusals[] = {
        {"", "/d/E.DIC", Warning(app_text::kNoTitle)},
        {"E", "", Warning(app_text::kNoFile)},
        {"E", "/d/café/E.DIC", FileMessage("/d/café/E.DIC", app_text::kFileNotCp932)},
    };
    for (const Case& c : refusals) {
        reporter.messages.clear();
        form.Edit1()->setText(QString::fromUtf8(c.title));
        form.Edit2()->setText(QString::fromUtf8(c.file));
        form.BtnOk()->click();
        ASSERT_EQ(reporter.messages.size(), 1u) << c.file;
        EXPECT_EQ(reporter.messages[0].text, c.message);
        EXPECT_EQ(reporter.messages[0].buttons, kButtonOk);
        EXPECT_TRUE(form.isVisible());
        EXPECT_FALSE(form.Entry().has_value());
    }
    // Enter in a field does nothing.
    form.Edit2()->setText(QStringLiteral("/d/E.DIC"));
    QTest::keyClick(form.Edit2(), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());

    // Browsing: the title is the chosen file's name only when none is typed.
    desktop.openFileAnswer = QStringLiteral("/home/太郎/dics/ENGTOJPN.DIC");
    form.Edit1()->clear();
    form.BtnRef()->click();
    EXPECT_EQ(form.Edit1()->text(), QStringLiteral("ENGTOJPN.DIC"));
    EXPECT_EQ(form.Edit2()->text(), *desktop.openFileAnswer);
    EXPECT_EQ(desktop.fileFilters.back(), QStringLiteral("辞書ﾌｧｲﾙ(*.DIC);;全ﾌｧｲﾙ(*)"));
    form.Edit1()->setText(QStringLiteral("Mine"));
    desktop.openFileAnswer = QStringLiteral("/d/OTHER.DIC");
    form.BtnRef()->click();
    EXPECT_EQ(form.Edit1()->text(), QStringLiteral("Mine"));
    desktop.openFileAnswer.reset();
    form.BtnRef()->click();
    EXPECT_EQ(form.Edit2()->text(), QStringLiteral("/d/OTHER.DIC"));
}

// Fault guarded: a title typed, OK refused for the missing file, then Cancel
// kept the title in the list with no dictionary file behind it.
TEST_F(DictionaryListWindowTest, CancelledRegistrationStoresNothing) {
    auto window = Start({});
    WhenShown<TForm11>([&](TForm11& list) {
        WhenShown<TForm12>([](TForm12& form) {
            form.Edit1()->setText(QStringLiteral("Half"));
            form.BtnOk()->click();
            form.BtnCansel()->click();
        });
        list.Button("BtnAdd")->click();
        EXPECT_EQ(Lines(list), QStringList{QString()});
        list.Button("BtnOk")->click();
    });
    window->DicSet(Direction::Japanese);
    EXPECT_EQ(ReadDictionaryList(SettingsFilePath(), Direction::Japanese), DictionaryList());
}

// Fault guarded: a settings write that failed was taken for saved.
TEST_F(DictionaryListWindowTest, FailedWriteIsReportedAndTheWindowStaysOpen) {
    std::filesystem::create_directory(SettingsFilePath());
    auto window = Start({});
    bool stayedOpen = false;
    WhenShown<TForm11>([&](TForm11& list) {
        RegisterWhenShown("E", "/d/E.DIC", "");
        list.Button("BtnAdd")->click();
        list.Button("BtnOk")->click();
        stayedOpen = list.isVisible();
        list.Button("BtnCansel")->click();
    });
    window->DicSet(Direction::English);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, FileMessage(SettingsFilePath().string(),
                                                     "指定されたファイルが作成できませんでした。"));
    EXPECT_TRUE(std::filesystem::is_directory(SettingsFilePath()));
}

// Fault guarded: an exception from a button's handler reached the toolkit's
// event loop and ended the program.
TEST_F(DictionaryListWindowTest, FailureInAHandlerIsAMessage) {
    TForm11 list(DictionaryList{}, reporter, desktop,
                 [](const DictionaryList&) -> bool { throw std::runtime_error("disk on fire"); });
    list.show();
    list.Button("BtnOk")->click();
    EXPECT_TRUE(list.isVisible());
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].kind, MessageKind::Error);
    EXPECT_NE(reporter.messages[0].text.find("BtnOkClick"), std::string::npos);
    EXPECT_NE(reporter.messages[0].text.find("disk on fire"), std::string::npos);
}

}  // namespace
}  // namespace tovix
