// SPDX-License-Identifier: GPL-3.0-or-later
// The tool commands from the main window's menus: every item through its
// tool window to its chain, cancelling, the checks' messages in order, the
// limits, a failing step, the tool lock, a question asked from the chain's
// thread, the open dictionary replaced by a command, and dictd and StarDict
// dictionaries in and out.

#include "app/gui/ToolWindows.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "WindowTestSupport.h"
#include "components/DicEdit/DicEdit.h"
#include "dict/DicFileSet.h"
#include "platform/FileLock.h"
#include "platform/MessageText.h"
#include "support/BuildDictionary.h"
#include "support/DictFixtures.h"
#include "tools/DictImport.h"
#include "tools/ToolLock.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;
using test::RecordingReporter;

constexpr const char* kMainCaption = "Tovix (ﾒｲﾝ)";

class ToolWindowsTest : public test::WindowTest {
  protected:
    // A file of UTF-8 lines, written as CP932 with CR LF.
    fs::path Write(const std::string& name, const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& line : lines) {
            bytes += Utf8ToCp932(line) + "\r\n";
        }
        test::WriteBytes(dir / name, bytes);
        return dir / name;
    }

    // An input of `format` ("Exm", "Pdic", "Tovix") for `direction`, fresh
    // under its own name, since some commands rewrite their input.
    fs::path Input(const std::string& format, Direction direction) {
        const bool eng = direction == Direction::English;
        const std::string name = "in" + std::to_string(++inputs_);
        const std::vector<std::string> exm =
            eng ? std::vector<std::string>{"apple\tりんご", "apple\t林檎", "banana\tバナナ"}
                : std::vector<std::string>{"りんご\tapple", "りんご\tan apple", "ばなな\tbanana"};
        if (format == "Tovix") {
            return test::BuildDictionary(dir, direction, exm, name + ".DIC");
        }
        if (format == "Pdic") {
            std::vector<std::string> pdic;
            for (const std::string& line : exm) {
                pdic.push_back(line.substr(0, line.find('\t')));
                pdic.push_back(line.substr(line.find('\t') + 1));
            }
            return Write(name + ".txt", pdic);
        }
        return Write(name + ".txt", exm);
    }

    // Runs the menu item; `act` answers its tool window.
    void RunMenuItem(TForm1& window, const char* item, std::function<void(TToolWindow&)> act) {
        test::WhenShown<TToolWindow>(std::move(act));
        window.MenuItem(item)->trigger();
    }

    static void Fill(TToolWindow& w, const std::vector<std::string>& texts) {
        for (size_t n = 0; n < texts.size(); ++n) {
            w.Edit(static_cast<int>(n) + 1)->setText(QString::fromStdString(texts[n]));
        }
    }

    int inputs_ = 0;
};

const char* const kWindowClasses[] = {"tovix::TForm22", "tovix::TForm23", "tovix::TForm24",
                                      "tovix::TForm25", "tovix::TForm26"};

// The format a command reads: the first named in its caption ("Tovix" for
// re-make and new).
std::string InputFormat(std::string_view caption) {
    const std::pair<const char*, const char*> formats[] = {
        {"[EXM]", "Exm"}, {"[PDIC]", "Pdic"}, {"[TOVIX]", "Tovix"}};
    std::string first = "Tovix";
    size_t at = caption.size();
    for (const auto& [bracketed, format] : formats) {
        const size_t place = caption.find(bracketed);
        if (place < at) {
            at = place;
            first = format;
        }
    }
    return first;
}

TEST_F(ToolWindowsTest, EveryToolMenuItemRunsItsCommandFromItsWindow) {
    auto window = Start({});
    int items = 0;
    for (const MenuRow& row : MainMenuRows()) {
        if (!row.tool) {
            continue;
        }
        ++items;
        const ToolCommand* command = &FindToolCommand(row.tool->id);
        const Direction direction = row.tool->direction;
        const std::string caption = command->Caption(direction);
        QAction* action = window->MenuItem(row.name);
        if (row.disabled) {
            EXPECT_FALSE(action->isEnabled()) << row.name;  // the [EXM] division
            continue;
        }
        ASSERT_TRUE(action->isEnabled()) << row.name;
        const std::string format = InputFormat(caption);
        const std::string out = (dir / ("out" + std::to_string(items) + ".DIC")).string();
        std::vector<std::string> edits;
        switch (command->form) {
            case ToolForm::OneInOneOut:
                edits = {Input(format, direction).string(), out};
                break;
            case ToolForm::InPlace:
                edits = {Input(format, direction).string()};
                break;
            case ToolForm::TwoInOneOut:
                edits = {Input(format, direction).string(), Input(format, direction).string(), out};
                break;
            case ToolForm::NewFile:
                edits = {out};
                break;
            case ToolForm::LengthCheck:
                edits = {Input(format, direction).string(), out, out + ".over"};
                break;
        }
        reporter.messages.clear();
        reporter.captions.clear();
        RunMenuItem(*window, row.name, [&](TToolWindow& w) {
            EXPECT_STREQ(w.metaObject()->className(),
                         kWindowClasses[static_cast<int>(command->form)])
                << row.name;
            EXPECT_EQ(w.windowTitle().toStdString(), caption) << row.name;
            EXPECT_TRUE(window->DialogOpen());
            if (command->form == ToolForm::LengthCheck) {
                EXPECT_EQ(w.Edit(4)->text().toStdString(), command->headLimit);
                EXPECT_EQ(w.Edit(5)->text().toStdString(), command->transLimit);
                EXPECT_EQ(w.Label8()->text().toStdString(), "(半角で最大 1024 文字)");
            }
            Fill(w, edits);
            w.BtnOk()->click();
        });
        EXPECT_TRUE(reporter.messages.empty()) << row.name << ": " << reporter.messages[0].text;
        EXPECT_EQ(reporter.caption, kMainCaption) << row.name;
        ASSERT_FALSE(reporter.captions.empty()) << row.name;
        EXPECT_EQ(reporter.captions.front().substr(0, 2), "  ") << row.name;  // a progress text
        const std::string written = command->form == ToolForm::InPlace ? edits[0] : out;
        EXPECT_TRUE(fs::exists(command->Roles(direction).writesSet ? TableFileName(written)
                                                                   : fs::path(written)))
            << row.name;
        EXPECT_FALSE(window->findChild<QProgressBar*>("ToolProgress")->isVisible());
    }
    EXPECT_EQ(items, 40);
}

TEST(ToolMenuTest, TheMakeMenuRunsCommandsOfTheTransMenu) {
    using enum ToolCommandId;
    const std::pair<std::string_view, MenuTool> cases[] = {
        {"MenuMake01", {ExmTogether, Direction::English}},
        {"MenuMake02", {ExmToTovix, Direction::English}},
        {"MenuMake03", {ExmTogether, Direction::Japanese}},
        {"MenuMake04", {ExmToTovix, Direction::Japanese}},
        {"MenuMake05", {TovixToExm, Direction::English}},
        {"MenuMake06", {TovixToExm, Direction::Japanese}},
        {"MenuEngNewTovix", {NewTovix, Direction::English}},
        {"MenuJpnPdicToExm", {PdicToExm, Direction::Japanese}},
        {"MenuPdicDicDivide", {PdicDicDivide, Direction::English}},
    };
    for (const auto& [name, tool] : cases) {
        const auto rows = MainMenuRows();
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [&](const MenuRow& r) { return r.name == name; });
        ASSERT_NE(row, rows.end()) << name;
        ASSERT_TRUE(row->tool) << name;
        EXPECT_EQ(row->tool->id, tool.id) << name;
        EXPECT_EQ(row->tool->direction, tool.direction) << name;
    }
}

TEST_F(ToolWindowsTest, CancellingWritesNothingAndKeepsTheCaption) {
    using Act = std::function<void(TToolWindow&)>;
    const std::pair<const char*, Act> ways[] = {
        {"ｷｬﾝｾﾙ", [](TToolWindow& w) { w.BtnCansel()->click(); }},
        {"Esc in an edit", [](TToolWindow& w) { QTest::keyClick(w.Edit(2), Qt::Key_Escape); }},
        {"Esc on a button", [](TToolWindow& w) { QTest::keyClick(w.BtnOk(), Qt::Key_Escape); }},
        {"closed", [](TToolWindow& w) { w.close(); }},
    };
    auto window = Start({});
    const fs::path in = Input("Exm", Direction::English);
    for (const auto& [what, act] : ways) {
        RunMenuItem(*window, "MenuMake02", [&](TToolWindow& w) {
            Fill(w, {in.string(), (dir / "EJ.DIC").string()});
            act(w);
        });
        EXPECT_FALSE(window->DialogOpen()) << what;
    }
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_TRUE(reporter.captions.empty());
    EXPECT_FALSE(fs::exists(dir / "EJ.DIC"));
    EXPECT_FALSE(fs::exists(dir / "TOVIXCNV.TXT"));
}

TEST_F(ToolWindowsTest, BrowseButtonsFillTheirEditsFromTheOpenOrSaveDialog) {
    const std::string open = "辞書ﾌｧｲﾙ名(*.DIC);;辞書ﾌｧｲﾙ名(*.TXT);;全ﾌｧｲﾙ名(*)";
    const std::string openTxt = "辞書ﾌｧｲﾙ名(*.DIC);;辞書ﾌｧｲﾙ名(*TXT);;全ﾌｧｲﾙ名(*)";
    const std::string save = "辞書ﾌｧｲﾙ名(*.DIC);;全ﾌｧｲﾙ名(*)";
    struct Button {
        const char* name;  // nullptr: the edit has no browse button
        const std::string* filter;
    };
    struct Case {
        const char* item;
        std::vector<Button> buttons;  // of Edit1, Edit2 ...
    };
    const Case cases[] = {
        {"MenuMake02", {{"BtnOpenRef", &open}, {"BtnSaveRef", &save}}},
        {"MenuEngReMakeTovix", {{"BtnOpenRef", &open}}},
        {"MenuJpnPdicAndPdicToPdic",
         {{"BtnOpenRef1", &openTxt}, {"BtnOpenRef2", &openTxt}, {"BtnSaveRef", &save}}},
        {"MenuJpnNewTovix", {{"BtnOpenRef", &save}}},
        {"MenuPdicDicCheck",
         {{"BtnOpenRef1", &openTxt},
          {"BtnOpenRef2", &save},
          {"BtnSaveRef", &save},
          {nullptr, nullptr},
          {nullptr, nullptr}}},
    };
    auto window = Start({});
    desktop.openFileAnswer = QStringLiteral("/chosen/to-read.txt");
    desktop.saveFileAnswer = QStringLiteral("/chosen/to-write.DIC");
    for (const Case& c : cases) {
        RunMenuItem(*window, c.item, [&](TToolWindow& w) {
            for (size_t n = 0; n < c.buttons.size(); ++n) {
                const Button& b = c.buttons[n];
                QPushButton* button = w.BrowseButton(static_cast<int>(n) + 1);
                ASSERT_EQ(button != nullptr, b.name != nullptr) << c.item << " " << n;
                if (button == nullptr) {
                    continue;
                }
                EXPECT_EQ(button->objectName().toStdString(), b.name) << c.item;
                button->click();
                const bool saves = b.filter == &save;
                const QString& filter =
                    saves ? desktop.saveFilters.back() : desktop.fileFilters.back();
                EXPECT_EQ(filter.toStdString(), *b.filter) << c.item << " " << b.name;
                EXPECT_EQ(w.Edit(static_cast<int>(n) + 1)->text(),
                          saves ? *desktop.saveFileAnswer : *desktop.openFileAnswer)
                    << c.item << " " << b.name;
            }
            EXPECT_EQ(w.Edit(static_cast<int>(c.buttons.size()) + 1), nullptr) << c.item;
            w.BtnCansel()->click();
        });
    }
    EXPECT_EQ(desktop.fileFilters.size() + desktop.saveFilters.size(), 10u);
}

TEST_F(ToolWindowsTest, ChecksRefuseInOrderAndTheWindowKeepsItsFields) {
    auto window = Start({});
    const std::string in = Input("Exm", Direction::English).string();
    const std::string missing = (dir / "missing.txt").string();
    const std::string out = Write("EJ.DIC", {"old"}).string();
    struct Step {
        std::vector<std::string> edits;
        MessageResult answer;
        MessageKind kind;
        MessageButtons buttons;
        std::string text;
    };
    const auto W = MessageKind::Warning;
    const Step steps[] = {
        {{"", ""}, MessageResult::Ok, W, kButtonOk, PaddedMessage(tool_text::kNoInputName)},
        {{missing, ""}, MessageResult::Ok, W, kButtonOk, PaddedMessage(tool_text::kNoOutputName)},
        {{missing, missing},
         MessageResult::Abort,
         W,
         kButtonAbort,
         PaddedMessage(tool_text::kSameFileName)},
        {{missing, out},
         MessageResult::Abort,
         W,
         kButtonAbort,
         FileMessage(missing, tool_text::kFileMissing)},
        {{in, out},
         MessageResult::No,
         MessageKind::Information,
         kButtonYes | kButtonNo,
         FileMessage(out, tool_text::kOverwriteQuestion)},
    };
    RunMenuItem(*window, "MenuEngExmToTovix", [&](TToolWindow& w) {
        for (const Step& step : steps) {
            reporter.messages.clear();
            reporter.answers = {step.answer};
            Fill(w, step.edits);
            w.BtnOk()->click();
            ASSERT_EQ(reporter.messages.size(), 1u) << step.text;
            EXPECT_EQ(reporter.messages[0].kind, step.kind) << step.text;
            EXPECT_EQ(reporter.messages[0].buttons, step.buttons) << step.text;
            EXPECT_EQ(reporter.messages[0].text, step.text);
            EXPECT_TRUE(w.isVisible()) << step.text;
            EXPECT_EQ(w.Edit(1)->text().toStdString(), step.edits[0]) << step.text;
            EXPECT_EQ(w.Edit(2)->text().toStdString(), step.edits[1]) << step.text;
        }
        reporter.answers = {MessageResult::Yes};
        w.BtnOk()->click();
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_TRUE(fs::exists(dir / "EJ.DAT"));
    EXPECT_EQ(reporter.caption, kMainCaption);
}

TEST_F(ToolWindowsTest, CheckWindowLimitsFrom1To1024) {
    struct Case {
        const char* item;
        int edit;  // 4 headword, 5 translation
        const char* value;
        std::string refusal;  // empty: accepted
    };
    const std::string head = PaddedMessage(tool_text::kHeadLimitRange);
    const std::string trans = PaddedMessage(tool_text::kTransLimitRange);
    const Case cases[] = {
        {"MenuExmDicCheck", 4, "0", head},
        {"MenuExmDicCheck", 4, "1025", head},
        {"MenuExmDicCheck", 4, "abc", tool_text::NotAnInteger("abc")},
        {"MenuExmDicCheck", 4, "1", ""},
        {"MenuPdicDicCheck", 4, "1024", ""},
        {"MenuPdicDicCheck", 5, "0", trans},
        {"MenuPdicDicDivide", 5, "1025", trans},
        {"MenuPdicDicDivide", 5, "1024", ""},
    };
    auto window = Start({});
    for (const Case& c : cases) {
        const std::string format =
            std::string(c.item).find("Exm") != std::string::npos ? "Exm" : "Pdic";
        const std::string in = Input(format, Direction::English).string();
        const fs::path out = dir / "in-range.txt";
        fs::remove(out);
        reporter.messages.clear();
        RunMenuItem(*window, c.item, [&](TToolWindow& w) {
            Fill(w, {in, out.string(), (dir / "over.txt").string()});
            w.Edit(c.edit)->setText(QString::fromUtf8(c.value));
            w.BtnOk()->click();  // the recorder answers はい to the overwrite questions
            if (w.isVisible()) {
                w.BtnCansel()->click();
            }
        });
        std::string shown;
        for (const auto& message : reporter.messages) {
            if (message.kind != MessageKind::Information) {
                shown = message.text;
            }
        }
        EXPECT_EQ(shown, c.refusal) << c.item << " " << c.value;
        EXPECT_EQ(fs::exists(out), c.refusal.empty()) << c.item << " " << c.value;
    }
}

TEST_F(ToolWindowsTest, AFailingStepStopsTheChainAndRestoresTheCaption) {
    auto window = Start({});
    const fs::path in = Write("bad.txt", {"apple\tりんご", "no tab here"});
    RunMenuItem(*window, "MenuMake02", [&](TToolWindow& w) {
        Fill(w, {in.string(), (dir / "EJ.DIC").string()});
        w.BtnOk()->click();
    });
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(reporter.messages[0].buttons, kButtonAbort);
    EXPECT_EQ(reporter.caption, kMainCaption);
    EXPECT_EQ(reporter.captions.front(), "  辞書変換中  ");
    EXPECT_FALSE(fs::exists(dir / "TOVIXSRT.TXT"));  // the sort never ran
    EXPECT_FALSE(fs::exists(dir / "EJ.DIC"));
    EXPECT_FALSE(fs::exists(dir / "EJ.DAT"));
}

// Fault: a rebuild of a set that another copy was editing replaced the set
// it had read, and the entry added meanwhile was lost.
TEST_F(ToolWindowsTest, AnotherCommandOrAnEditOfTheSetRefusesUntilItEnds) {
    struct Holder {
        fs::path lockFile;  // held by another program
        std::string_view refusal;
    };
    const fs::path dic = dir / "EJ.DIC";
    const Holder holders[] = {{ToolLockFileName(dir.path()), tool_text::kToolBusy},
                              {SetLockFileName(dic), tool_text::kSetBusy}};
    for (const Holder& h : holders) {
        fs::remove(TableFileName(dic));
        reporter = {};
        auto window = Start({});
        const fs::path in = Input("Exm", Direction::English);
        std::optional<FileLock> other(std::in_place, h.lockFile, "lock");
        RunMenuItem(*window, "MenuMake02", [&](TToolWindow& w) {
            Fill(w, {in.string(), dic.string()});
            w.BtnOk()->click();
            ASSERT_FALSE(reporter.messages.empty());
            EXPECT_EQ(reporter.messages.back().text, PaddedMessage(h.refusal));
            EXPECT_EQ(reporter.messages.back().buttons, kButtonAbort);
            EXPECT_TRUE(w.isVisible());
            EXPECT_FALSE(fs::exists(TableFileName(dic)));
            other.reset();
            w.BtnOk()->click();  // replacing EJ.DIC once it exists: はい
        });
        EXPECT_TRUE(fs::exists(TableFileName(dic))) << h.lockFile;
        EXPECT_FALSE(ToolLock::Held(dir.path()));
        EXPECT_FALSE(ToolLock::HeldSet(dic));
    }
}

// A reporter whose answers run `whileAsked` first: the chain waits on its
// thread meanwhile.
class AskingReporter : public RecordingReporter {
  public:
    MessageResult Message(MessageKind kind, const std::string& text,
                          MessageButtons buttons) override {
        if (whileAsked) {
            whileAsked();
        }
        return RecordingReporter::Message(kind, text, buttons);
    }
    std::function<void()> whileAsked;
};

// Fault: input typed while a command ran reached the window afterwards.
TEST_F(ToolWindowsTest, TheDivisionQuestionIsAnsweredWhileTheWindowTakesNoInput) {
    for (const MessageResult answer : {MessageResult::Yes, MessageResult::No}) {
        AskingReporter asking;
        TForm1 window({}, &asking);
        window.SetDesktop(desktop);
        window.show();
        const std::string longHead(20, 'x');
        const fs::path in = Write("divide.txt", {longHead, "t", "after", "t2"});
        const fs::path out = dir / "in-range.txt";
        fs::remove(out);
        fs::remove(dir / "over.txt");
        asking.answers = {answer};
        asking.whileAsked = [&] {
            EXPECT_TRUE(window.findChild<QProgressBar*>("ToolProgress")->isVisible());
            QTest::keyClick(window.DicEdit1(), Qt::Key_A);
        };
        test::WhenShown<TToolWindow>([&](TToolWindow& w) {
            Fill(w, {in.string(), out.string(), (dir / "over.txt").string(), "10", "512"});
            w.BtnOk()->click();
        });
        window.MenuItem("MenuPdicDicDivide")->trigger();
        const auto& question = asking.messages.back();
        EXPECT_EQ(question.kind, MessageKind::Information);
        EXPECT_EQ(question.buttons, kButtonYes | kButtonNo);
        EXPECT_NE(question.text.find("見出しが指定文字数を超えています。"), std::string::npos);
        // はい ends the division before "after"; いいえ goes on with it.
        EXPECT_EQ(test::ReadBytes(out), answer == MessageResult::Yes ? "" : "after\r\nt2\r\n");
        EXPECT_EQ(window.DicEdit1()->text(), QString());
        EXPECT_EQ(asking.caption, kMainCaption);
        window.close();
    }
}

// Fault: a set rebuilt while open kept the old table, so lookups found the
// old places in the new part files.
TEST_F(ToolWindowsTest, ReplacingTheOpenDictionaryOpensTheNewSet) {
    const fs::path dic =
        test::BuildDictionary(dir, Direction::English, {"apple\tりんご"}, "EJ.DIC");
    auto window = StartShown({Q(dic), "ENG"});
    const fs::path in = Write(
        "new.txt", {"aardvark\tツチブタ", "abacus\tそろばん", "apple\tりんご", "apricot\tあんず"});
    reporter.answers = {MessageResult::Yes};  // replace EJ.DIC
    RunMenuItem(*window, "MenuEngExmToTovix", [&](TToolWindow& w) {
        Fill(w, {in.string(), dic.string()});
        w.BtnOk()->click();
    });
    ASSERT_EQ(reporter.messages.size(), 1u);  // the overwrite question only
    QTest::keyClicks(window->DicEdit1(), QStringLiteral("apr"));
    EXPECT_EQ(Top(*window), "apricot ");
}

// The 辞書作成 window takes a dictd ".index" or a StarDict ".ifo" as its input:
// the dictionary is imported first (a step of the progress), and the set
// built from it finds the word.
TEST_F(ToolWindowsTest, MakingASetImportsADictdOrStarDictInputFirst) {
    test::WriteDictd(dir, "eng",
                     {{{"00databaseshort"}, "00databaseshort\n  A test\n"},
                      {{"apple"}, "apple\n  a red fruit\n"},
                      {{"banana"}, "banana\n  a yellow fruit\n"}});
    test::WriteDictd(dir, "jpn",
                     {{{"いかに", "如何に"}, "如何に いかに\nhow\n"},
                      {{"りんご", "林檎"}, "林檎 りんご\napple\n"}});
    test::WriteStarDict(dir, "sd",
                        test::MakeStarDict({{"apple", "a red fruit"}, {"banana", "a yellow fruit"}},
                                           "sametypesequence=m\n", false));
    struct Case {
        const char* input;
        const char* item;
        const char* argument;
        const char* typed;
        const char* top;
        const char* translation;  // the line below, as the view shows it
    };
    const Case cases[] = {
        {"eng.index", "MenuMake02", "ENG", "banana", "banana ", "\ta yellow fruit"},
        {"jpn.index", "MenuMake04", "JPN", "いかに", "いかに [如何に]", "\thow"},
        {"sd.ifo", "MenuMake02", "ENG", "apple", "apple ", "\ta red fruit"},
    };
    for (const Case& c : cases) {
        const fs::path dic = dir / (std::string(c.input) + ".DIC");
        reporter = {};
        {
            auto window = Start({});
            RunMenuItem(*window, c.item, [&](TToolWindow& w) {
                Fill(w, {(dir / c.input).string(), dic.string()});
                w.BtnOk()->click();
                if (w.isVisible()) {  // refused: the case fails rather than waits
                    ADD_FAILURE() << "the window refused the names";
                    w.reject();
                }
            });
        }
        EXPECT_TRUE(reporter.messages.empty()) << c.input << ": " << reporter.messages[0].text;
        ASSERT_FALSE(reporter.captions.empty()) << c.input;
        EXPECT_EQ(reporter.captions.front(), "  辞書取込中  ") << c.input;
        auto found = StartShown({Q(dic), c.argument});
        found->DicEdit1()->SetText(Utf8ToCp932(c.typed));
        EXPECT_EQ(Top(*found), c.top) << c.input;
        TBigView& view = *found->BigView1();
        EXPECT_EQ(Cp932ToUtf8(view.GetViewLine(view.TopLine() + 1)), c.translation) << c.input;
    }
}

// 変換(&T) "StarDict 形式に変換..." exports the set of the open direction:
// the StarDict dictionary it writes reads back as the set's entries.
TEST_F(ToolWindowsTest, StarDictExportOfTheOpenDirectionReadsBack) {
    struct Case {
        Direction direction;
        const char* argument;
        std::vector<std::string> exm;  // in the order a read-back gives
    };
    const Case cases[] = {
        {Direction::English, "ENG", {"apple\tりんご", "apple\t林檎", "banana\tバナナ"}},
        {Direction::Japanese, "JPN", {"いかに[如何に]\thow", "りんご[林檎]\tapple"}},
    };
    for (const Case& c : cases) {
        const std::string name = c.argument;
        const fs::path dic = test::BuildDictionary(dir, c.direction, c.exm, name + ".DIC");
        const fs::path ifo = dir / (name + ".ifo");
        reporter = {};
        auto window = Start({Q(dic), c.argument});
        RunMenuItem(*window, "MenuTovixToStarDict", [&](TToolWindow& w) {
            EXPECT_EQ(w.windowTitle().toStdString(),
                      FindToolCommand(ToolCommandId::TovixToStarDict).Caption(c.direction));
            Fill(w, {dic.string(), ifo.string()});
            w.BtnOk()->click();
            if (w.isVisible()) {  // refused: the case fails rather than waits
                ADD_FAILURE() << "the window refused the names";
                w.reject();
            }
        });
        EXPECT_TRUE(reporter.messages.empty()) << name << ": " << reporter.messages[0].text;
        EXPECT_NE(std::find(reporter.captions.begin(), reporter.captions.end(),
                            "  StarDict 辞書作成中  "),
                  reporter.captions.end())
            << name;
        const fs::path back = dir / (name + ".back.txt");
        ImportDictionary(DictFormat::StarDict, ifo, back, c.direction);
        std::string expected;
        for (const std::string& line : c.exm) {
            expected += Utf8ToCp932(line) + "\r\n";
        }
        EXPECT_EQ(test::ReadBytes(back), expected) << name;
    }
}

}  // namespace
}  // namespace tovix
