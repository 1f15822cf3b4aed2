// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/MessageDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace tovix {
namespace {

// Runs `act` on the message dialog once it is shown.
void WhenShown(const std::function<void(QDialog&)>& act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

QStringList ButtonCaptions(QDialog& dialog) {
    QStringList captions;
    QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
    std::sort(buttons.begin(), buttons.end(),
              [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    for (QPushButton* b : buttons) {
        captions << b->text() + (b->isDefault() ? "*" : "");
    }
    return captions;
}

TEST(MessageDialogTest, ButtonsOrderDefaultAndEscape) {
    struct Case {
        MessageKind kind;
        MessageButtons buttons;
        QString title;
        QStringList captions;  // "*" marks the default button
        MessageResult onEscape;
    };
    const Case cases[] = {
        {MessageKind::Warning,
         kButtonNo | kButtonYes,
         "警告",
         {"はい(&Y)*", "いいえ(&N)"},
         MessageResult::No},
        {MessageKind::Information,
         kButtonYes | kButtonNo,
         "情報",
         {"はい(&Y)*", "いいえ(&N)"},
         MessageResult::No},
        {MessageKind::Warning, kButtonOk, "警告", {"OK*"}, MessageResult::Ok},
        {MessageKind::Warning, kButtonAbort, "警告", {"中止(&A)*"}, MessageResult::Abort},
        {MessageKind::Confirmation,
         kButtonCancel | kButtonOk | kButtonNo | kButtonYes,
         "確認",
         {"はい(&Y)", "いいえ(&N)", "OK*", "ｷｬﾝｾﾙ"},
         MessageResult::Cancel},
        {MessageKind::Error,
         kButtonAll | kButtonIgnore | kButtonRetry,
         "ｴﾗｰ",
         {"再試行(&R)*", "無視(&I)", "すべて"},
         MessageResult::Retry},
    };
    for (const Case& c : cases) {
        QString title;
        QStringList captions;
        WhenShown([&](QDialog& dialog) {
            title = dialog.windowTitle();
            captions = ButtonCaptions(dialog);
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &esc);
        });
        EXPECT_EQ(ShowMessageDialog(nullptr, c.kind, "   text          ", c.buttons), c.onEscape);
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(captions, c.captions);
    }
}

// Guards a fault: a warning with 中止 alone had no default button, so Enter
// and keypad Enter did nothing and only Space or Esc closed it.
TEST(MessageDialogTest, EnterAndKeypadEnterPressTheDefaultButton) {
    struct Case {
        MessageButtons buttons;
        Qt::KeyboardModifiers modifiers;
        MessageResult expected;
    };
    const Case cases[] = {
        {kButtonAbort, Qt::NoModifier, MessageResult::Abort},
        {kButtonAbort, Qt::KeypadModifier, MessageResult::Abort},
        {kButtonYes | kButtonNo, Qt::KeypadModifier, MessageResult::Yes},
        {kButtonRetry | kButtonIgnore, Qt::NoModifier, MessageResult::Retry},
    };
    for (const Case& c : cases) {
        bool closedByKey = false;
        WhenShown([&](QDialog& dialog) {
            const int key = c.modifiers == Qt::KeypadModifier ? Qt::Key_Enter : Qt::Key_Return;
            QKeyEvent enter(QEvent::KeyPress, key, c.modifiers);
            QApplication::sendEvent(&dialog, &enter);
            closedByKey = !dialog.isVisible();
            if (!closedByKey) {
                dialog.reject();
            }
        });
        EXPECT_EQ(ShowMessageDialog(nullptr, MessageKind::Warning, "   text          ", c.buttons),
                  c.expected);
        EXPECT_TRUE(closedByKey) << c.buttons;
    }
}

TEST(MessageDialogTest, ClickedButtonGivesItsResult) {
    WhenShown([](QDialog& dialog) {
        for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
            if (b->text() == "いいえ(&N)") {
                b->click();
            }
        }
    });
    EXPECT_EQ(ShowMessageDialog(nullptr, MessageKind::Information, "    終了しますか。          ",
                                kButtonYes | kButtonNo),
              MessageResult::No);
}

// Guards a fault: every message was wrapped into a narrow column, so a short
// question stood on several lines.
TEST(MessageDialogTest, ShortTextsStandOnOneLineLongOnesWrapWithinTwoThirdsOfTheScreen) {
    const int limit = QApplication::primaryScreen()->availableGeometry().width() * 2 / 3;
    const QString longText = "   " + QString("長い警告の文です。").repeated(20) + "   ";
    const QString texts[] = {"    メイン画面に戻りますか。          ",
                             "   一行目です。   \r\n   二行目の方が長い文です。   ", longText};
    for (const QString& text : texts) {
        int width = 0;
        int widest = 0;  // the widest line of the text, blanks included
        WhenShown([&](QDialog& dialog) {
            for (QLabel* label : dialog.findChildren<QLabel*>()) {
                if (!label->text().isEmpty()) {
                    width = label->width();
                    for (const QString& line : label->text().split('\n')) {
                        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
                    }
                }
            }
            dialog.reject();
        });
        ShowMessageDialog(nullptr, MessageKind::Information, text, kButtonOk);
        if (widest <= limit) {
            EXPECT_GE(width, widest) << text.toStdString();
        } else {
            EXPECT_LE(width, limit);
            EXPECT_GE(width, limit * 3 / 4);
        }
    }
    EXPECT_GT(QFontMetrics(QApplication::font()).horizontalAdvance(longText), limit);
}

}  // namespace
}  // namespace tovix
