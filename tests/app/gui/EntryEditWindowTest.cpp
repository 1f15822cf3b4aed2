// SPDX-License-Identifier: GPL-3.0-or-later
// The entry windows alone (layout, modes, keys, the field checks) and the add,
// change and delete commands of the main window: every way in, the refusals
// before the window, an edit shown in the view, a failing edit that leaves
// the window's table as it was, an entry changed under the view.

#include "app/gui/EntryWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ModalWindows.h"
#include "WindowTestSupport.h"
#include "app/gui/FunctionKeyBar.h"
#include "components/DicEdit/DicEdit.h"
#include "dict/DicFileSet.h"
#include "editing/EditMessages.h"
#include "editing/EntryEdit.h"
#include "platform/FaultInjection.h"
#include "platform/MessageText.h"
#include "platform/qt/QtText.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

std::unique_ptr<TEntryWindow> MakeWindow(Direction direction, EditCommand mode,
                                         const EntryFields& offered, Reporter& reporter) {
    if (direction == Direction::Japanese) {
        return std::make_unique<TForm5>(mode, offered, reporter);
    }
    return std::make_unique<TForm6>(mode, offered, reporter);
}

TEST(EntryWindowTest, SizeFieldsAndButtonsFollowTheDirectionAndTheMode) {
    struct Case {
        Direction direction;
        EditCommand mode;
        QSize size;
        std::vector<bool> editable;  // per field
        std::vector<bool> buttons;   // 登録実行, 編集実行, 削除実行
    };
    const Case cases[] = {
        {Direction::English, EditCommand::Add, {552, 103}, {true, true}, {true, false, false}},
        {Direction::English, EditCommand::Change, {552, 103}, {false, true}, {false, true, false}},
        {Direction::English, EditCommand::Delete, {552, 103}, {false, false}, {false, false, true}},
        {Direction::Japanese,
         EditCommand::Add,
         {552, 153},
         {true, true, true},
         {true, false, false}},
        {Direction::Japanese,
         EditCommand::Change,
         {552, 153},
         {false, true, true},
         {false, true, false}},
        {Direction::Japanese,
         EditCommand::Delete,
         {552, 153},
         {false, false, false},
         {false, false, true}},
    };
    for (const Case& c : cases) {
        test::RecordingReporter reporter;
        const auto window = MakeWindow(c.direction, c.mode, EmptyFields(c.direction), reporter);
        const std::string what = std::string(DirectionPrefix(c.direction)) + " " +
                                 std::to_string(static_cast<int>(c.mode));
        EXPECT_EQ(window->size(), c.size) << what;
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Tovix (登録 / 編集 / 削除)"));
        const std::vector<edit_text::FieldText> texts = FieldTexts(c.direction);
        std::vector<QWidget*> order;
        for (size_t i = 0; i < c.editable.size(); ++i) {
            QLineEdit* edit = window->Edit(static_cast<int>(i + 1));
            EXPECT_EQ(edit->isEnabled() && !edit->isReadOnly(), c.editable[i]) << what << i;
            EXPECT_EQ(edit->width(), 470);
            EXPECT_EQ(edit->x(), 80);
            const auto labels = window->findChildren<QLabel*>();
            EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                                    [&](QLabel* label) {
                                        return label->buddy() == edit &&
                                               label->text() == QtText(texts[i].label);
                                    }))
                << what << i;
            order.push_back(edit);
        }
        EXPECT_EQ(window->Edit(2)->text(),
                  c.direction == Direction::Japanese ? QStringLiteral("[]") : QString());
        EXPECT_EQ(window->findChild<QLabel*>("Label4") != nullptr,
                  c.direction == Direction::Japanese);
        const std::vector<QPushButton*> buttons{window->BtnAdd(), window->BtnChg(),
                                                window->BtnDel()};
        for (size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_EQ(buttons[i]->isEnabled(), c.buttons[i]) << what << i;
            EXPECT_EQ(buttons[i]->size(), QSize(120, 25));
            order.push_back(buttons[i]);
        }
        order.push_back(window->BtnCansel());
        for (size_t i = 0; i + 1 < order.size(); ++i) {
            QWidget* next = order[i]->nextInFocusChain();
            while (next->focusPolicy() == Qt::NoFocus) {
                next = next->nextInFocusChain();
            }
            EXPECT_EQ(next, order[i + 1]) << what << " tab " << i;
        }
    }
}

TEST(EntryWindowTest, EnterChecksTheFieldsEscAndCancelClose) {
    using Act = std::function<void(TEntryWindow&)>;
    struct Case {
        const char* what;
        const char* english;
        Act act;
        bool accepted;
        bool open;  // still open after a refusal
    };
    const Act enter = [](TEntryWindow& w) { QTest::keyClick(w.Edit(2), Qt::Key_Return); };
    const Case cases[] = {
        {"Enter in a field", "apple", enter, true, false},
        {"登録実行", "apple", [](TEntryWindow& w) { w.BtnAdd()->click(); }, true, false},
        {"Enter on 登録実行", "apple",
         [](TEntryWindow& w) { QTest::keyClick(w.BtnAdd(), Qt::Key_Return); }, true, false},
        {"Enter with English empty", "", enter, false, true},
        {"Esc in a field", "apple",
         [](TEntryWindow& w) { QTest::keyClick(w.Edit(1), Qt::Key_Escape); }, false, false},
        {"Esc on a button", "apple",
         [](TEntryWindow& w) { QTest::keyClick(w.BtnCansel(), Qt::Key_Escape); }, false, false},
        {"ｷｬﾝｾﾙ", "apple", [](TEntryWindow& w) { w.BtnCansel()->click(); }, false, false},
    };
    for (const Case& c : cases) {
        test::RecordingReporter reporter;
        TForm6 window(EditCommand::Add, EmptyFields(Direction::English), reporter);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.Edit(1)->setText(QString::fromUtf8(c.english));
        window.Edit(2)->setText(QStringLiteral("りんご"));
        c.act(window);
        EXPECT_EQ(window.Accepted().has_value(), c.accepted) << c.what;
        EXPECT_EQ(window.isVisible(), c.open) << c.what;
        if (c.accepted) {
            EXPECT_EQ(window.Accepted()->translation, Utf8ToCp932("りんご")) << c.what;
        }
        EXPECT_EQ(reporter.messages.size(), c.open ? 1u : 0u) << c.what;
    }
}

class EntryCommandTest : public test::WindowTest {
  protected:
    std::filesystem::path Build(Direction direction) {
        return test::BuildDictionary(
            dir, direction,
            direction == Direction::Japanese
                ? std::vector<std::string>{"あい[愛]\tlove", "かみ[紙]\tpaper", "きく[菊]\tmum"}
                : std::vector<std::string>{"abandon\t捨てる", "apple\tりんご", "bank\t銀行"},
            direction == Direction::Japanese ? "JE.DIC" : "EJ.DIC");
    }

    // What the entry window showed when `command` opened it; it is then
    // closed by `answer`, or cancelled.
    struct Shown {
        bool opened = false;
        QString objectName;
        std::vector<QString> fields;
        bool addEnabled = false;
        bool changeEnabled = false;
        bool deleteEnabled = false;
        bool dialogOpen = false;
    };
    Shown Open(TForm1& window, const std::function<void()>& command,
               std::function<void(TEntryWindow&)> answer = {}) {
        Shown shown;
        test::WhenModal<TEntryWindow>([&](TEntryWindow& entry) {
            shown.opened = true;
            shown.objectName = entry.objectName();
            for (int n = 1; entry.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n)); ++n) {
                shown.fields.push_back(entry.Edit(n)->text());
            }
            shown.addEnabled = entry.BtnAdd()->isEnabled();
            shown.changeEnabled = entry.BtnChg()->isEnabled();
            shown.deleteEnabled = entry.BtnDel()->isEnabled();
            shown.dialogOpen = window.DialogOpen();
            if (answer) {
                answer(entry);
            } else {
                entry.BtnCansel()->click();
            }
        });
        command();
        return shown;
    }

    static std::vector<std::string> TableLines(const TDicTable& table) {
        std::vector<std::string> lines;
        for (int i = 0; i < table.Count(); ++i) {
            lines.push_back(table.Get(i));
        }
        return lines;
    }
};

TEST_F(EntryCommandTest, KeysButtonsAndPopupItemsOpenTheWindowOfTheirMode) {
    auto window = StartShown({Q(Build(Direction::English)), "ENG"});
    TForm1& w = *window;
    window->DicEdit1()->SetText("apple");
    const auto key = [&w](int f) { return [&w, f] { Press(w, f, Qt::ShiftModifier); }; };
    const auto button = [&w](int n) { return [&w, n] { w.Panel2()->Button(n)->click(); }; };
    const auto item = [&w](const char* name) {
        return [&w, name] { w.PopupMenu1()->findChild<QAction*>(name)->trigger(); };
    };
    struct Case {
        const char* what;
        std::function<void()> command;
        EditCommand mode;
    };
    const Case cases[] = {
        {"Shift+F2", key(Qt::Key_F2), EditCommand::Add},
        {"登録", button(12), EditCommand::Add},
        {"Shift+F02 登録", item("PopBtn12"), EditCommand::Add},
        {"Shift+F3", key(Qt::Key_F3), EditCommand::Change},
        {"編集", button(13), EditCommand::Change},
        {"Shift+F03 編集", item("PopBtn13"), EditCommand::Change},
        {"Shift+F4", key(Qt::Key_F4), EditCommand::Delete},
        {"削除", button(14), EditCommand::Delete},
        {"Shift+F04 削除", item("PopBtn14"), EditCommand::Delete},
    };
    for (const Case& c : cases) {
        window->DicEdit1()->setFocus();
        const Shown shown = Open(*window, c.command);
        ASSERT_TRUE(shown.opened) << c.what;
        EXPECT_EQ(shown.objectName, QStringLiteral("TForm6")) << c.what;
        EXPECT_EQ(shown.addEnabled, c.mode == EditCommand::Add) << c.what;
        EXPECT_EQ(shown.changeEnabled, c.mode == EditCommand::Change) << c.what;
        EXPECT_EQ(shown.deleteEnabled, c.mode == EditCommand::Delete) << c.what;
        const std::vector<QString> fields = c.mode == EditCommand::Add
                                                ? std::vector<QString>{"", ""}
                                                : std::vector<QString>{"apple ", "りんご"};
        EXPECT_EQ(shown.fields, fields) << c.what;
        EXPECT_TRUE(shown.dialogOpen) << c.what;
        EXPECT_FALSE(window->DialogOpen()) << c.what;
    }
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(EntryCommandTest, ChangeAndDeleteNeedAHeadwordOfAPartAtTheTop) {
    struct Case {
        Direction direction;
        const char* typed;  // nothing typed: no part loaded
        int topLine;
        std::string_view refusal;
    };
    const Case cases[] = {
        {Direction::English, nullptr, 0, edit_text::kNoDictionary},
        {Direction::English, "apple", 3, edit_text::kTopLineNotEnglish},
        {Direction::Japanese, "かみ", 1, edit_text::kTopLineNotReading},
    };
    for (const Case& c : cases) {
        reporter.messages.clear();
        auto window =
            StartShown({Q(Build(c.direction)), c.direction == Direction::Japanese ? "JPN" : "ENG"});
        if (c.typed != nullptr) {
            window->DicEdit1()->SetText(Utf8ToCp932(c.typed));
            window->BigView1()->SetTopLine(ViewLineIndex(c.topLine));
        }
        for (int button : {13, 14}) {
            // A window opened by mistake is found and closed at once.
            bool opened = false;
            QTimer::singleShot(0, [&] {
                if (auto* entry = qobject_cast<TEntryWindow*>(QApplication::activeModalWidget())) {
                    opened = true;
                    entry->reject();
                }
            });
            window->Panel2()->Button(button)->click();
            QApplication::processEvents();
            EXPECT_FALSE(opened) << c.refusal;
        }
        ASSERT_EQ(reporter.messages.size(), 2u) << c.refusal;
        EXPECT_EQ(reporter.messages[0].text, PaddedMessage(c.refusal));
        EXPECT_EQ(reporter.messages[0].buttons, kButtonYes | kButtonNo);
    }
}

TEST_F(EntryCommandTest, AnAddedEntryIsShownAtTheTopAndTheTableFollowsTheFile) {
    const std::filesystem::path dic = Build(Direction::Japanese);
    auto window = StartShown({Q(dic), "JPN"});
    const QString caption = window->windowTitle();
    Open(
        *window, [&] { Press(*window, Qt::Key_F2, Qt::ShiftModifier); },
        [](TEntryWindow& entry) {
            entry.Edit(1)->setText(QStringLiteral("き"));
            entry.Edit(2)->setText(QStringLiteral("[木]"));
            entry.Edit(3)->setText(QStringLiteral("tree"));
            entry.BtnAdd()->click();
        });
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(Top(*window), "き [木]");
    EXPECT_EQ(window->DicEdit1()->Text(), Utf8ToCp932("き"));
    EXPECT_EQ(window->Search().currentPart, 7);
    EXPECT_EQ(window->windowTitle(), caption);
    EXPECT_EQ(TableLines(window->Search().table),
              TableLines(TDicTable::LoadFromFile(TableFileName(dic), Direction::Japanese)));
}

// An edit must not change the loaded table before saving it: otherwise a
// failed save would leave the window searching with a table the file did not have.
TEST_F(EntryCommandTest, AFailingEditLeavesTheWindowsTableAndCaption) {
    const std::filesystem::path dic = Build(Direction::English);
    auto window = StartShown({Q(dic), "ENG"});
    const QString caption = window->windowTitle();
    const std::vector<std::string> before = TableLines(window->Search().table);
    const std::string part = test::ReadBytes(PartFileName(dic, 1));
    InjectFault(FaultOperation::Rename, 1, FaultAction::Fail);
    Open(
        *window, [&] { window->Panel2()->Button(12)->click(); },
        [](TEntryWindow& entry) {
            entry.Edit(1)->setText(QStringLiteral("apricot"));
            entry.Edit(2)->setText(QStringLiteral("あんず"));
            entry.BtnAdd()->click();
        });
    ClearFaults();
    EXPECT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(TableLines(window->Search().table), before);
    EXPECT_EQ(test::ReadBytes(PartFileName(dic, 1)), part);
    EXPECT_EQ(window->windowTitle(), caption);
}

TEST_F(EntryCommandTest, AnEntryChangedUnderTheViewIsNotDeletedAndTheViewIsReadAgain) {
    const std::filesystem::path dic = Build(Direction::English);
    auto window = StartShown({Q(dic), "ENG"});
    window->DicEdit1()->SetText("bank");
    // Another copy changes bank's translation meanwhile.
    test::RecordingReporter other;
    const EditOutcome changed = RunEntryEdit({EditCommand::Change,
                                              Direction::English,
                                              dic,
                                              {"bank ", "", Utf8ToCp932("土手")},
                                              {2, 0, "bank ", Utf8ToCp932("\t銀行")}},
                                             other, EditLockMode::Wait, ProgramDir());
    ASSERT_EQ(changed.status, EditStatus::Done);
    const std::string part = test::ReadBytes(PartFileName(dic, 2));
    Open(
        *window, [&] { Press(*window, Qt::Key_F4, Qt::ShiftModifier); },
        [](TEntryWindow& entry) { entry.BtnDel()->click(); });
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, PaddedMessage(edit_text::kEntryChangedUnderView));
    EXPECT_EQ(test::ReadBytes(PartFileName(dic, 2)), part);
    EXPECT_EQ(Cp932ToUtf8(window->BigView1()->GetViewLine(ViewLineIndex(1))), "\t土手");
}

// The edit runs on the tool runner's thread: the event loop keeps turning
// (timers fire, the window paints) while a large part is rewritten. The part
// is generated here: 250,000 entries under "a", about 9 MB, the size of the
// largest parts of big dictionaries, built in a few seconds.
TEST_F(EntryCommandTest, ATimerFiresWhileALargePartIsEdited) {
    constexpr int kEntries = 250000;
    std::vector<std::string> entries;
    entries.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        std::string word = "a";
        for (int n = i; n > 0; n /= 26) {
            word += static_cast<char>('a' + n % 26);
        }
        entries.push_back(word + "\t見本の訳語、その" + std::to_string(i));
    }
    const std::filesystem::path dic = test::BuildDictionary(dir, Direction::English, entries);
    auto window = StartShown({Q(dic), "ENG"});
    const std::string caption = reporter.caption;
    int ticks = 0;
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] { ticks += reporter.caption != caption; });
    timer.start();
    Open(
        *window, [&] { Press(*window, Qt::Key_F2, Qt::ShiftModifier); },
        [](TEntryWindow& entry) {
            entry.Edit(1)->setText(QStringLiteral("apricot"));
            entry.Edit(2)->setText(QStringLiteral("あんず"));
            entry.BtnAdd()->click();
        });
    timer.stop();
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(Top(*window), "apricot ");
    EXPECT_EQ(reporter.caption, caption);
    EXPECT_GT(ticks, 0);
}

// Fault: after refusing the edit of an entry another copy had moved, the
// window read the part again but kept the old table, so a headword that the
// part now held further down was not found.
TEST_F(EntryCommandTest, AfterARefusalTheNextLookupUsesTheTableOfTheChangedSet) {
    const std::filesystem::path dic = Build(Direction::English);
    auto window = StartShown({Q(dic), "ENG"});
    window->DicEdit1()->SetText("bank");
    test::RecordingReporter other;
    for (const char* word : {"baa", "bab", "bac"}) {
        ASSERT_EQ(RunEntryEdit({EditCommand::Add, Direction::English, dic, {word, "", "b"}, {}},
                               other, EditLockMode::Wait, ProgramDir())
                      .status,
                  EditStatus::Done);
    }
    Open(
        *window, [&] { Press(*window, Qt::Key_F4, Qt::ShiftModifier); },
        [](TEntryWindow& entry) { entry.BtnDel()->click(); });
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, PaddedMessage(edit_text::kEntryChangedUnderView));
    window->DicEdit1()->SetText("");
    window->DicEdit1()->SetText("bank");
    const TBigView& view = *window->BigView1();
    EXPECT_EQ(Cp932ToUtf8(view.GetViewLine(view.TopLine())), "bank ");
}

// Fault: opening the change window on an entry of a 150 MiB translation
// crashed the program in the toolkit's text layout; a field longer than the
// window's edit holds would also have come back cut.
TEST_F(EntryCommandTest, AFieldLongerThanTheWindowCanEditIsRefusedAndTheEntryStaysShown) {
    const std::string huge(kMaxFieldBytes + 1, 'x');
    const std::filesystem::path dic = test::BuildDictionary(
        dir, Direction::English, {"apple\tりんご", "bank\t" + huge}, "EJ.DIC");
    auto window = StartShown({Q(dic), "ENG"});
    window->DicEdit1()->SetText("bank");
    const std::string part = test::ReadBytes(PartFileName(dic, 2));
    for (const int key : {Qt::Key_F3, Qt::Key_F4}) {
        reporter.messages.clear();
        // A window opened (without the refusal) is closed again and told.
        const auto opened = std::make_shared<bool>(false);
        QTimer::singleShot(300, [opened] {
            if (auto* entry = qobject_cast<TEntryWindow*>(QApplication::activeModalWidget())) {
                *opened = true;
                entry->reject();
            }
        });
        Press(*window, key, Qt::ShiftModifier);
        EXPECT_FALSE(*opened);
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_NE(reporter.messages[0].text.find("和訳 の項目が長すぎる"), std::string::npos);
        EXPECT_NE(reporter.messages[0].text.find("32767"), std::string::npos);
    }
    EXPECT_EQ(Cp932ToUtf8(window->BigView1()->GetViewLine(ViewLineIndex(0))), "bank ");
    EXPECT_EQ(test::ReadBytes(PartFileName(dic, 2)), part);
}

}  // namespace
}  // namespace tovix
