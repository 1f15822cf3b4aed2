// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionaries used before, from the main window: the last one opened
// again at a start without arguments (an option of the history page), any
// dictionary file from the file menu in the direction of its table, the
// recent list below it, the installation's default dictionaries on the first
// start, and the hint an empty view shows.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "WindowTestSupport.h"
#include "app/DictionaryHistory.h"
#include "app/gui/MainMenuTable.h"
#include "app/gui/OptionsWindow.h"
#include "components/BigView/BigView.h"
#include "dict/DictMessages.h"
#include "platform/MessageText.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

using test::WhenShown;

class DictionaryHistoryWindowTest : public test::WindowTest {
  protected:
    std::filesystem::path jpn_ = test::BuildDictionary(
        dir, Direction::Japanese, {"さかな[魚]\tfish", "とり[鳥]\tbird"}, "J.DIC");
    std::filesystem::path eng_ =
        test::BuildDictionary(dir, Direction::English, {"apple\tりんご"}, "E.DIC");

    static QString Caption(const std::filesystem::path& file) {
        return QStringLiteral("Tovix (ﾒｲﾝ)  ") + Q(file);
    }
    static bool HintShown(TForm1& window) {
        return window.findChild<QLabel*>(QStringLiteral("EmptyHint"))->isVisibleTo(&window);
    }
    static QStringList RecentItems(TForm1& window) {
        QMenu* menu = window.MenuItem("MenuRecentDic")->menu();
        emit menu->aboutToShow();
        QStringList items;
        for (QAction* action : menu->actions()) {
            items << action->text();
        }
        return items;
    }
    void SetHistoryPage(TForm1& window, bool reopen, bool clear) {
        WhenShown<TForm2>([=](TForm2& options) {
            options.TabNote()->setCurrentIndex(1);
            options.CheckReopenLast()->setChecked(reopen);
            if (clear) {
                options.BtnHistoryClear()->click();
            }
            options.findChild<QPushButton*>(QStringLiteral("BtnFileSave"))->click();
        });
        window.MenuOptionSetClick();
    }
};

TEST_F(DictionaryHistoryWindowTest, StartWithoutArgumentsReopensTheLastDictionary) {
    auto window = Start({});
    EXPECT_TRUE(HintShown(*window));
    EXPECT_EQ(window->Label11()->text(), QStringLiteral("英　語 : "));
    window = Start({Q(jpn_), "JPN"});
    EXPECT_FALSE(HintShown(*window));
    window->close();

    window = Start({});
    EXPECT_EQ(window->windowTitle(), Caption(jpn_));
    EXPECT_EQ(window->Label11()->text(), QStringLiteral("日本語 : "));
    EXPECT_FALSE(HintShown(*window));
    // Switched off on the history page, a start stays empty; the option
    // reaches the file at exit.
    SetHistoryPage(*window, false, false);
    window->close();
    window = Start({});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tovix (ﾒｲﾝ)"));
    EXPECT_TRUE(HintShown(*window));
    EXPECT_TRUE(reporter.messages.empty());

    // A last dictionary that is gone meanwhile is passed over silently.
    SetHistoryPage(*window, true, false);
    window->close();
    std::filesystem::remove(jpn_);
    window = Start({});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tovix (ﾒｲﾝ)"));
    EXPECT_TRUE(reporter.messages.empty());
}

// The settings file is written after the first paint, not before it; the
// dictionary opened at start-up is still noted when the window goes first,
// and before any dictionary opened later.
TEST_F(DictionaryHistoryWindowTest, TheStartupDictionaryIsNotedAfterTheFirstPaint) {
    using Paths = std::vector<std::filesystem::path>;
    auto recent = [] { return ReadRecentDictionaries(SettingsFilePath(), 9); };
    auto window = Start({Q(jpn_), "JPN"});
    EXPECT_TRUE(recent().empty());
    EXPECT_TRUE(window->StartupNotePending());
    window->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->StartupNotePending(); }));
    EXPECT_EQ(recent(), Paths{jpn_});
    window.reset();

    window = Start({Q(eng_), "ENG"});
    desktop.openFileAnswer = Q(jpn_);
    window->MenuItem("MenuDicFileOpen")->trigger();
    EXPECT_EQ(recent(), (Paths{jpn_, eng_}));
    window.reset();
    window = Start({Q(eng_), "ENG"});
    window.reset();
    EXPECT_EQ(recent(), (Paths{eng_, jpn_}));
    EXPECT_TRUE(reporter.messages.empty());
}

// The menus' items are made after the first paint, or when a menu opens
// first: either way every item is there, Ctrl+O works without a menu opened,
// and the find-again items wait for a first find.
TEST_F(DictionaryHistoryWindowTest, MenuItemsComeAfterTheFirstPaintOrWithTheMenu) {
    auto shown = StartShown({});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return shown->findChild<QAction*>(QStringLiteral("MenuDicFileOpen")) != nullptr; }));
    desktop.openFileAnswer = Q(jpn_);
    QTest::keyClick(shown.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(shown->windowTitle(), Caption(jpn_));
    shown.reset();

    auto window = Start({});
    auto* file = window->findChild<QMenu*>(QStringLiteral("MenuFile"));
    ASSERT_NE(file, nullptr);
    emit file->aboutToShow();
    size_t items = 0;
    for (const MenuRow& row : MainMenuRows()) {
        if (*row.parent != '\0' && *row.name != '\0') {
            EXPECT_NE(window->findChild<QAction*>(QString::fromUtf8(row.name)), nullptr)
                << row.name;
            ++items;
        }
    }
    EXPECT_GT(items, 40u);
    EXPECT_FALSE(window->MenuItem("MenuReFindNext")->isEnabled());
    EXPECT_FALSE(window->MenuItem("MenuRefindPrior")->isEnabled());
    EXPECT_TRUE(reporter.messages.empty());
}

// Ctrl+O's item: the direction comes from the set's table; every opened
// dictionary heads the recent list, which 履歴の消去 empties.
TEST_F(DictionaryHistoryWindowTest, OpenAnyFileAndTheRecentList) {
    auto window = StartShown({});
    EXPECT_EQ(window->MenuItem("MenuDicFileOpen")->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(RecentItems(*window), QStringList{QStringLiteral("(なし)")});

    desktop.openFileAnswer = Q(jpn_);
    window->MenuItem("MenuDicFileOpen")->trigger();
    EXPECT_EQ(window->windowTitle(), Caption(jpn_));
    EXPECT_EQ(window->Label11()->text(), QStringLiteral("日本語 : "));
    desktop.openFileAnswer = Q(eng_);
    window->MenuItem("MenuDicFileOpen")->trigger();
    EXPECT_EQ(window->Label11()->text(), QStringLiteral("英　語 : "));
    EXPECT_EQ(RecentItems(*window),
              (QStringList{QStringLiteral("&1 ") + Q(eng_), QStringLiteral("&2 ") + Q(jpn_)}));

    // From the recent list, in its own direction.
    window->MenuItem("MenuRecentDic")->menu()->actions().at(1)->trigger();
    EXPECT_EQ(window->windowTitle(), Caption(jpn_));
    EXPECT_EQ(window->Label11()->text(), QStringLiteral("日本語 : "));

    // A file that is not there, or whose table tells no direction.
    desktop.openFileAnswer = Q(dir / "NONE.DIC");
    window->MenuItem("MenuDicFileOpen")->trigger();
    test::WriteBytes(dir / "X.DIC", "X.DIC\r\n\r\n");
    desktop.openFileAnswer = Q(dir / "X.DIC");
    window->MenuItem("MenuDicFileOpen")->trigger();
    ASSERT_EQ(reporter.messages.size(), 2u);
    EXPECT_EQ(reporter.messages[0].text,
              FileMessage((dir / "NONE.DIC").string(), dict_text::kDicFileMissing));
    EXPECT_EQ(reporter.messages[1].text,
              FileMessage((dir / "X.DAT").string(), dict_text::kTableFileUnreadable));
    EXPECT_EQ(window->windowTitle(), Caption(jpn_));

    SetHistoryPage(*window, true, true);
    EXPECT_EQ(RecentItems(*window), QStringList{QStringLiteral("(なし)")});
}

// The installation's default dictionaries go into the empty lists of a new
// settings file, and the first start opens the English-Japanese one.
TEST_F(DictionaryHistoryWindowTest, DefaultDictionariesOnFirstStart) {
    const std::filesystem::path shared = dir / "shared";
    std::filesystem::create_directory(shared);
    const std::filesystem::path edict =
        test::BuildDictionary(dir, Direction::English, {"apple\tりんご"},
                              "shared/" + std::string(kDefaultDictionaries[0].fileName));
    // As on a first start: the new settings file reopens, the lists are empty.
    WriteIniFileValue(SettingsFilePath(), GeneralSettings());
    EXPECT_EQ(RegisterDefaultDictionaries(SettingsFilePath(), shared), 1);
    auto window = Start({});
    EXPECT_EQ(window->windowTitle(), Caption(edict));
}

}  // namespace
}  // namespace tovix
