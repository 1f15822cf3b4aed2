// SPDX-License-Identifier: GPL-3.0-or-later
// The options window, the font and colour commands and the key list window,
// from the main window: what each stores, when it reaches the settings file,
// and what the view and the search field show at once and after a restart.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QTabWidget>

#include "WindowTestSupport.h"
#include "app/AppMessages.h"
#include "app/gui/FontDialog.h"
#include "app/gui/FunctionKeyBar.h"
#include "app/gui/KeyListWindow.h"
#include "app/gui/OptionsWindow.h"
#include "app/gui/ZoomWindow.h"
#include "components/DicEdit/DicEdit.h"
#include "platform/MessageText.h"
#include "platform/qt/QtText.h"
#include "support/BuildDictionary.h"

namespace tovix {
namespace {

using test::WhenShown;

class OptionsWindowTest : public test::WindowTest {
  protected:
    std::string Ini() const { return test::ReadBytes(SettingsFilePath()); }

    // Opens the options window, runs `act` on it, and returns the page it
    // opened on.
    int Options(TForm1& window, std::function<void(TForm2&)> act) {
        int page = -1;
        WhenShown<TForm2>([&](TForm2& options) {
            page = options.TabNote()->currentIndex();
            act(options);
        });
        window.MenuOptionSetClick();
        EXPECT_FALSE(window.DialogOpen());
        return page;
    }

    static void Click(TForm2& options, const char* button) {
        options.findChild<QPushButton*>(QString::fromUtf8(button))->click();
    }
};

TEST_F(OptionsWindowTest, EachPageStoresItsOwnSettingsUntilExit) {
    auto window = StartShown({});
    const GeneralSettings defaults;
    // Edited on the display page, saved on the first: only the first page's
    // settings are stored.
    EXPECT_EQ(Options(*window,
                      [](TForm2& options) {
                          options.TabNote()->setCurrentIndex(2);
                          options.CheckFnKeyDisp()->setChecked(false);
                          options.Edit1()->setText(QStringLiteral("80"));
                          options.TabNote()->setCurrentIndex(0);
                          options.CheckFormMain()->setChecked(true);
                          Click(options, "BtnFormSave");
                      }),
              0);
    EXPECT_TRUE(window->Settings().mainWindow.mem);
    EXPECT_FALSE(window->Settings().zoomWindow.mem);
    EXPECT_TRUE(window->Settings().showFunctionKeys);
    EXPECT_EQ(window->Settings().zoomWrapLength, defaults.zoomWrapLength);

    // The wrap length: refusals keep the window open and store nothing.
    struct Refusal {
        const char* text;
        MessageKind kind;
        std::string message;
    };
    const Refusal refusals[] = {
        {"abc", MessageKind::Error, "'abc' は整数ではありません"},
        {"1", MessageKind::Warning, "    文字数が範囲外です。"},
        {"513", MessageKind::Warning, "    文字数が範囲外です。"},
    };
    bool stayedOpen = true;
    EXPECT_EQ(Options(*window,
                      [&](TForm2& options) {
                          options.TabNote()->setCurrentIndex(2);
                          options.CheckFnKeyDisp()->setChecked(false);
                          options.CheckWrapSet()->setChecked(false);
                          for (const Refusal& r : refusals) {
                              options.Edit1()->setText(QString::fromUtf8(r.text));
                              Click(options, "BtnDispSave");
                              stayedOpen = stayedOpen && options.isVisible();
                          }
                          options.Edit1()->setText(QStringLiteral("512"));
                          Click(options, "BtnDispSave");
                      }),
              0);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(reporter.messages.size(), std::size(refusals));
    for (size_t n = 0; n < std::size(refusals); ++n) {
        EXPECT_EQ(reporter.messages[n].kind, refusals[n].kind);
        EXPECT_EQ(reporter.messages[n].text, refusals[n].message);
        EXPECT_EQ(reporter.messages[n].buttons, kButtonOk);
    }
    EXPECT_FALSE(window->Settings().showFunctionKeys);
    EXPECT_FALSE(window->Settings().zoomWrap);
    EXPECT_EQ(window->Settings().zoomWrapLength, "512");
    EXPECT_TRUE(window->Panel2()->isHidden());

    // It opens on the page it was closed on; Esc asks, No keeps it open, Yes
    // closes it without storing.
    reporter.messages.clear();
    reporter.answers = {MessageResult::No, MessageResult::Yes};
    EXPECT_EQ(Options(*window,
                      [](TForm2& options) {
                          options.CheckFnKeyDisp()->setChecked(true);
                          options.Edit1()->setText(QStringLiteral("2"));
                          QTest::keyClick(options.CheckWrapSet(), Qt::Key_Escape);
                          EXPECT_TRUE(options.isVisible());
                          QTest::keyClick(options.Edit1(), Qt::Key_Escape);
                      }),
              2);
    ASSERT_EQ(reporter.messages.size(), 2u);
    EXPECT_EQ(reporter.messages[0].text, "    メイン画面に戻りますか。   ");
    EXPECT_EQ(reporter.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(reporter.messages[0].buttons, kButtonYes | kButtonNo);
    EXPECT_EQ(window->Settings().zoomWrapLength, "512");
    EXPECT_TRUE(window->Panel2()->isHidden());

    // Nothing reached the file before exit; at exit all of it does.
    EXPECT_FALSE(std::filesystem::exists(SettingsFilePath()));
    window->close();
    const GeneralSettings read = ReadIniFileValue(SettingsFilePath());
    EXPECT_TRUE(read.mainWindow.mem);
    EXPECT_FALSE(read.showFunctionKeys);
    EXPECT_FALSE(read.zoomWrap);
    EXPECT_EQ(read.zoomWrapLength, "512");
    EXPECT_EQ(read, window->Settings());
}

// The input page's option: n as input methods take it, in the field at once
// after saving, in the settings file at exit and back at the next start.
TEST_F(OptionsWindowTest, InputPageSwitchesTheInputMethodN) {
    const std::filesystem::path jpn = test::BuildDictionary(
        dir, Direction::Japanese, {"しんぶん[新聞]\tnewspaper", "しる[知る]\tknow"}, "J.DIC");
    const auto type = [](TForm1& window, const char* keys) {
        window.DicEdit1()->clear();
        QTest::keyClicks(window.DicEdit1(), QString::fromUtf8(keys));
        return window.DicEdit1()->text().toStdString();
    };
    auto window = StartShown({Q(jpn), "JPN"});
    EXPECT_EQ(type(*window, "shinbun"), "しnbun");
    Options(*window, [](TForm2& options) {
        options.TabNote()->setCurrentIndex(3);
        options.CheckImeN()->setChecked(true);
        Click(options, "BtnInputCansel");
    });
    EXPECT_FALSE(window->Settings().imeStyleN);
    EXPECT_EQ(Options(*window,
                      [](TForm2& options) {
                          options.CheckImeN()->setChecked(true);
                          Click(options, "BtnInputSave");
                      }),
              3);
    EXPECT_TRUE(window->Settings().imeStyleN);
    EXPECT_EQ(type(*window, "shinbun"), "しんぶn");
    EXPECT_EQ(Top(*window), "しんぶん [新聞]");
    EXPECT_FALSE(window->DicEdit1()->NoMatch());
    window->close();
    EXPECT_NE(Ini().find("[RomajiInput]\r\nImeStyleN=1\r\n"), std::string::npos);
    window = StartShown({Q(jpn), "JPN"});
    EXPECT_EQ(type(*window, "shinbun"), "しんぶn");
    EXPECT_TRUE(reporter.messages.empty());
}

// The 入力 note keeps each of its lines whole; the font dialog shows a
// Japanese sample, lists a style name once and takes Enter in its fields as
// OK.
TEST_F(OptionsWindowTest, InputNoteAndFontDialogEdges) {
    auto window = Start({});
    Options(*window, [](TForm2& options) {
        const auto* note = options.findChild<QLabel*>(QStringLiteral("LabelImeNote"));
        ASSERT_NE(note, nullptr);
        EXPECT_FALSE(note->wordWrap());
        for (const QString& line : note->text().split(u'\n')) {
            EXPECT_LE(note->fontMetrics().horizontalAdvance(line), note->width())
                << line.toStdString();
        }
        Click(options, "BtnInputCansel");
    });

    TFontDialog dialog(FontChoice{QFont(QStringLiteral("IPAGothic"), 14), QColor(Qt::black)});
    const QList<QLineEdit*> edits = dialog.Chooser()->findChildren<QLineEdit*>();
    EXPECT_TRUE(std::any_of(edits.begin(), edits.end(), [](const QLineEdit* edit) {
        return edit->text() == QtText(app_text::kFontSample);
    }));
    for (QListView* list : dialog.Chooser()->findChildren<QListView*>()) {
        if (auto* model = qobject_cast<QStringListModel*>(list->model())) {
            model->setStringList({QStringLiteral("標準"), QStringLiteral("斜体"),
                                  QStringLiteral("斜体"), QStringLiteral("太字")});
            EXPECT_FALSE(list->isRowHidden(1));
            EXPECT_TRUE(list->isRowHidden(2));
            EXPECT_FALSE(list->isRowHidden(3));
        }
    }
    dialog.show();
    ASSERT_FALSE(edits.isEmpty());
    QTest::keyClick(edits.front(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(OptionsWindowTest, FontsAndColoursApplyAtOnceAndComeBackAtStart) {
    auto window = Start({});
    TBigView& view = *window->BigView1();
    TDicEdit& field = *window->DicEdit1();
    const QFont before = view.font();

    // Cancelled: nothing changes, neither the view nor the file.
    window->FontSet(FontPlace::View);
    window->ColorSet(FontPlace::View);
    EXPECT_EQ(view.font(), before);
    EXPECT_FALSE(std::filesystem::exists(SettingsFilePath()));
    ASSERT_EQ(desktop.fontsShown.size(), 1u);
    EXPECT_EQ(desktop.fontsShown[0].font.pointSize(), 14);
    EXPECT_EQ(desktop.fontsShown[0].color, QColor(Qt::black));

    desktop.fontAnswer =
        FontChoice{QFont(QStringLiteral("IPAGothic"), 20), QColor(0x11, 0x22, 0x33)};
    window->FontSet(FontPlace::View);
    desktop.colorAnswer = QColor(0x33, 0x66, 0x99);
    window->ColorSet(FontPlace::View);
    desktop.fontAnswer = FontChoice{QFont(QStringLiteral("IPAGothic"), 11), QColor(Qt::red)};
    window->FontSet(FontPlace::SearchField);
    desktop.colorAnswer = QColor(Qt::white);
    window->ColorSet(FontPlace::SearchField);

    EXPECT_EQ(view.font().family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(view.font().pointSize(), 20);
    EXPECT_EQ(view.FontColor(), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(view.Color(), QColor(0x33, 0x66, 0x99));
    EXPECT_EQ(field.font().pointSize(), 11);
    EXPECT_EQ(field.palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(field.palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(desktop.colorsShown.back(), field.palette().color(QPalette::Base));

    // Written at once, custom colours as "$" and eight hexadecimal digits.
    const std::string ini = Ini();
    for (const char* line :
         {"TextFontName=IPAGothic\r\n", "TextFontSize=20\r\n", "TextFontColor=$00332211\r\n",
          "TextBackColor=$00996633\r\n", "EditFontSize=11\r\n", "EditFontColor=clRed\r\n",
          "EditBackColor=clWhite\r\n"}) {
        EXPECT_NE(ini.find(line), std::string::npos) << line;
    }
    window.reset();
    window = Start({});
    EXPECT_EQ(window->BigView1()->Color(), QColor(0x33, 0x66, 0x99));
    EXPECT_EQ(window->BigView1()->FontColor(), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(window->BigView1()->font().pointSize(), 20);
    EXPECT_EQ(window->DicEdit1()->palette().color(QPalette::Base), QColor(Qt::white));
}

TEST_F(OptionsWindowTest, NewFontColourAndWrapReachTheZoomWindowAtOnce) {
    const auto dic = test::BuildDictionary(dir, Direction::English, {"apple\tりんご、林檎"});
    auto window = Start({Q(dic), QStringLiteral("ENG")});
    desktop.fontAnswer = FontChoice{QFont(QStringLiteral("IPAGothic"), 20), QColor(Qt::blue)};
    window->FontSet(FontPlace::View);
    desktop.colorAnswer = QColor(0x33, 0x66, 0x99);
    window->ColorSet(FontPlace::View);
    Options(*window, [](TForm2& options) {
        options.TabNote()->setCurrentIndex(2);
        options.Edit1()->setText(QStringLiteral("40"));
        Click(options, "BtnDispSave");
    });
    bool shown = false;
    WhenShown<TForm3>([&](TForm3& zoom) {
        shown = true;
        EXPECT_EQ(zoom.BigView1()->font().pointSize(), 20);
        EXPECT_EQ(zoom.BigView1()->FontColor(), QColor(Qt::blue));
        EXPECT_EQ(zoom.BigView1()->Color(), QColor(0x33, 0x66, 0x99));
        EXPECT_EQ(zoom.BigView1()->WrapByte(), 40);
        zoom.close();
    });
    window->RunCommand("Button9Click");
    EXPECT_TRUE(shown);
}

// Fault guarded: a font applied while its settings could not be written
// came back different at the next start.
TEST_F(OptionsWindowTest, FontIsAppliedOnlyOnceWritten) {
    std::filesystem::create_directory(SettingsFilePath());
    auto window = Start({});
    const QFont before = window->BigView1()->font();
    desktop.fontAnswer = FontChoice{QFont(QStringLiteral("IPAGothic"), 30), QColor(Qt::blue)};
    window->FontSet(FontPlace::View);
    EXPECT_EQ(window->BigView1()->font(), before);
    EXPECT_EQ(window->Settings().view, GeneralSettings().view);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, FileMessage(SettingsFilePath().string(),
                                                     "指定されたファイルが作成できませんでした。"));
}

TEST_F(OptionsWindowTest, KeyListOpensOnF1AndClosesOnKeysAndClicks) {
    auto window = StartShown({});
    const std::function<void(TForm10&)> closers[] = {
        [](TForm10& keys) { QTest::keyClick(&keys, Qt::Key_Escape); },
        [](TForm10& keys) { QTest::keyClick(&keys, Qt::Key_Return); },
        [](TForm10& keys) { QTest::keyClick(&keys, Qt::Key_F1); },
        [](TForm10& keys) { QTest::mouseClick(&keys, Qt::LeftButton, {}, QPoint(500, 150)); },
        [](TForm10& keys) {
            // A click on a label's text reaches the window.
            QLabel* label = keys.findChildren<QLabel*>().front();
            QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
        },
    };
    for (const auto& close : closers) {
        bool flagSet = false;
        bool stillOpen = true;
        WhenShown<TForm10>([&](TForm10& keys) {
            flagSet = window->DialogOpen();
            QTest::keyClick(&keys, Qt::Key_A);  // other keys leave it open
            close(keys);
            stillOpen = keys.isVisible();
        });
        Press(*window, Qt::Key_F1);
        EXPECT_TRUE(flagSet);
        EXPECT_FALSE(stillOpen);
        EXPECT_FALSE(window->DialogOpen());
    }

    // The rows stand where the window's layout puts them.
    TForm10 keys;
    auto at = [&](const char* text) {
        for (QLabel* label : keys.findChildren<QLabel*>()) {
            if (label->text() == QString::fromUtf8(text)) {
                return label->pos();
            }
        }
        return QPoint(-1, -1);
    };
    EXPECT_EQ(at("☆Fnキー表示"), QPoint(10, 5));
    EXPECT_EQ(at("Crtl+D"), QPoint(440, 65));
    EXPECT_EQ(at("Ctrl+F(Find)"), QPoint(170, 205));
    EXPECT_EQ(at("☆拡大表示"), QPoint(280, 245));
    EXPECT_EQ(at("Esc, BackSpace, Enter, Delete"), QPoint(290, 275));
    EXPECT_EQ(at("F10"), QPoint(495, 308));
    EXPECT_EQ(at("拡PDIC"), QPoint(445, 368));
    EXPECT_EQ(at("Shift+").x(), 2);
    EXPECT_EQ(at("☆原形へ"), QPoint(280, 205));
    // 14 rows with 52 texts, the bar's 10 headers, 2 prefixes and 30 captions.
    EXPECT_EQ(keys.findChildren<QLabel*>().size(), 52 + 10 + 2 + 30);
}

}  // namespace
}  // namespace tovix
