// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/MessageDialog.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/PlatformMessages.h"
#include "platform/qt/QtText.h"

namespace tovix {
namespace {

struct ButtonInfo {
    MessageButton button;
    std::string_view caption;
    MessageResult result;
};

// Left to right.
constexpr ButtonInfo kButtons[] = {
    {kButtonYes, platform_text::kYesButton, MessageResult::Yes},
    {kButtonNo, platform_text::kNoButton, MessageResult::No},
    {kButtonOk, platform_text::kOkButton, MessageResult::Ok},
    {kButtonCancel, platform_text::kCancelButton, MessageResult::Cancel},
    {kButtonAbort, platform_text::kAbortButton, MessageResult::Abort},
    {kButtonRetry, platform_text::kRetryButton, MessageResult::Retry},
    {kButtonIgnore, platform_text::kIgnoreButton, MessageResult::Ignore},
    {kButtonAll, platform_text::kAllButton, MessageResult::All},
    {kButtonHelp, platform_text::kHelpButton, MessageResult::None},
};

QStyle::StandardPixmap KindIcon(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return QStyle::SP_MessageBoxWarning;
        case MessageKind::Error:
            return QStyle::SP_MessageBoxCritical;
        case MessageKind::Information:
            return QStyle::SP_MessageBoxInformation;
        case MessageKind::Confirmation:
            break;
    }
    return QStyle::SP_MessageBoxQuestion;
}

MessageResult EscapeResult(MessageButtons buttons) {
    if (buttons & kButtonCancel) {
        return MessageResult::Cancel;
    }
    if (buttons & kButtonNo) {
        return MessageResult::No;
    }
    if (buttons & kButtonOk) {
        return MessageResult::Ok;
    }
    // Without any of those, dismissing the dialog counts as its first button.
    for (const ButtonInfo& info : kButtons) {
        if (buttons & info.button) {
            return info.result;
        }
    }
    return MessageResult::Cancel;
}

// OK, else Yes, else the first button (Help aside): Enter closes every box,
// also one with 中止 alone.
MessageButton DefaultButton(MessageButtons buttons) {
    for (MessageButton preferred : {kButtonOk, kButtonYes}) {
        if (buttons & preferred) {
            return preferred;
        }
    }
    for (const ButtonInfo& info : kButtons) {
        if ((buttons & info.button) && info.button != kButtonHelp) {
            return info.button;
        }
    }
    return kButtonOk;
}

QScreen* ScreenOf(const QWidget& widget) {
    return widget.screen() != nullptr ? widget.screen() : QApplication::primaryScreen();
}

// A text stands on its own lines when its widest line fits two thirds of the
// screen; only a wider one wraps, at that width. (A wrapping label left to
// the layout takes a narrow column however short the text is.) The widths
// count the blanks that pad the texts.
void FitText(QLabel& label, const QScreen* screen) {
    const int limit = screen != nullptr ? screen->availableGeometry().width() * 2 / 3 : 640;
    const QFontMetrics metrics = label.fontMetrics();
    int widest = 0;
    for (const QString& line : label.text().split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    if (widest <= limit) {
        label.setMinimumWidth(widest);
    } else {
        label.setWordWrap(true);
        label.setMinimumWidth(limit);
        label.setMaximumWidth(limit);
    }
}

void CentreOnScreen(QDialog& dialog) {
    dialog.adjustSize();
    QScreen* screen = ScreenOf(dialog);
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    dialog.move((area.width() - dialog.width()) / 2, (area.height() - dialog.height()) / 2);
}

}  // namespace

QString MessageCaption(MessageKind kind) {
    return QtText(platform_text::KindCaption(kind));
}

MessageResult ShowMessageDialog(QWidget* parent, MessageKind kind, const QString& text,
                                MessageButtons buttons, const std::function<void()>& help) {
    QDialog dialog(parent);
    dialog.setWindowTitle(MessageCaption(kind));
    dialog.setModal(true);

    auto* icon = new QLabel;
    const int size = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(dialog.style()->standardIcon(KindIcon(kind)).pixmap(size, size));
    auto* label = new QLabel(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    label->setTextFormat(Qt::PlainText);
    auto* body = new QHBoxLayout;
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addWidget(label, 1);

    MessageResult result = EscapeResult(buttons);
    auto* row = new QHBoxLayout;
    row->addStretch();
    const MessageButton defaultButton = DefaultButton(buttons);
    for (const ButtonInfo& info : kButtons) {
        if ((buttons & info.button) == 0) {
            continue;
        }
        auto* button = new QPushButton(QtText(info.caption));
        button->setAutoDefault(false);
        button->setDefault(info.button == defaultButton);
        if (info.button == defaultButton) {
            button->setFocus();
        }
        if (info.button == kButtonHelp) {
            QObject::connect(button, &QPushButton::clicked, [&help] {
                if (help) {
                    help();
                }
            });
        } else {
            QObject::connect(button, &QPushButton::clicked, [&dialog, &result, info] {
                result = info.result;
                dialog.accept();
            });
        }
        row->addWidget(button);
    }
    row->addStretch();

    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(body);
    layout->addLayout(row);
    FitText(*label, ScreenOf(dialog));
    CentreOnScreen(dialog);
    dialog.exec();
    return result;
}

}  // namespace tovix
