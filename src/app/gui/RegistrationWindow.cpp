// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/RegistrationWindow.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "app/AppMessages.h"
#include "app/gui/Desktop.h"
#include "app/gui/WindowHelpers.h"
#include "platform/MessageText.h"
#include "platform/Reporter.h"
#include "platform/qt/GuardedConnect.h"
#include "platform/qt/QtText.h"

namespace tovix {
namespace {

constexpr int kFieldX = 110;

}  // namespace

TForm12::TForm12(const RegistrationFields& fields, Reporter& reporter, Desktop& desktop,
                 QWidget* parent)
    : QDialog(parent),
      reporter_(reporter),
      desktop_(desktop),
      edit1_(AddField("Edit1", "辞書ﾀｲﾄﾙ", 8, 301)),
      edit2_(AddField("Edit2", "辞書ﾌｧｲﾙ名", 38, 301)),
      edit5_(AddField("Edit5", "辞書ｼｮｰﾄｶｯﾄ", 68, 30)),
      btnRef_(new DialogButton(this, "BtnRef", "参照(&B)...", 420, 37, 120)),
      btnOk_(new DialogButton(this, "BtnOk", "OK(&O)", 330, 70, 100)),
      btnCansel_(new DialogButton(this, "BtnCansel", "ｷｬﾝｾﾙ", 440, 70, 100)) {
    setWindowTitle(QtText(app_text::kRegistrationCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogFont());
    setFixedSize(552, 103);
    edit1_->setText(QtText(fields.title));
    edit2_->setText(QtText(fields.fileName));
    edit5_->setText(QtText(fields.shortCut));
    setTabOrder(edit2_, btnRef_);
    setTabOrder(btnRef_, edit5_);
    setTabOrder(edit5_, btnOk_);
    edit1_->setFocus();
    GuardedConnect(btnOk_, &QPushButton::clicked, this, reporter_, "BtnOkClick",
                   [this] { BtnOkClick(); });
    GuardedConnect(btnCansel_, &QPushButton::clicked, this, reporter_, "BtnCanselClick",
                   [this] { BtnCanselClick(); });
    GuardedConnect(btnRef_, &QPushButton::clicked, this, reporter_, "BtnRefClick",
                   [this] { BtnRefClick(); });
}

QLineEdit* TForm12::AddField(const char* name, const char* label, int y, int width) {
    auto* caption = new QLabel(QString::fromUtf8(label), this);
    caption->setGeometry(10, y, kFieldX - 14, 25);
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromUtf8(name));
    field->setGeometry(kFieldX, y, width, 25);
    field->installEventFilter(this);
    return field;
}

void TForm12::BtnOkClick() {
    const RegistrationCheck check = EditBoxCheck(
        {edit1_->text().toStdString(), edit2_->text().toStdString(), edit5_->text().toStdString()});
    if (check.entry) {
        entry_ = check.entry;
        accept();
        return;
    }
    const std::string text = check.refusedFile.empty()
                                 ? Padded(check.refusal, 4, 10)
                                 : FileMessage(check.refusedFile, check.refusal);
    reporter_.Message(MessageKind::Warning, text, kButtonOk);
}

void TForm12::BtnCanselClick() {
    reject();
}

// The title, when none is typed yet, becomes the chosen file's name.
void TForm12::BtnRefClick() {
    const std::optional<QString> file = desktop_.ChooseOpenFile(
        this, QtText(app_text::kOpenCaption), QtText(app_text::kDictionaryFilter));
    if (!file) {
        return;
    }
    if (edit1_->text().isEmpty()) {
        edit1_->setText(QFileInfo(*file).fileName());
    }
    edit2_->setText(*file);
}

// Enter in a field has no action of its own.
bool TForm12::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tovix
