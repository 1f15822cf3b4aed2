// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/EntryWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "app/gui/WindowHelpers.h"
#include "editing/EditMessages.h"
#include "platform/Guard.h"
#include "platform/PlatformMessages.h"
#include "platform/qt/GuardedConnect.h"
#include "platform/qt/QtText.h"

namespace tovix {
namespace {

constexpr int kFieldX = 80;
constexpr int kFieldWidth = 470;
constexpr int kRowHeight = 30;
constexpr int kFirstRowY = 8;
constexpr int kButtonWidth = 120;
constexpr int kButtonGap = 14;

}  // namespace

TEntryWindow::TEntryWindow(Direction direction, EditCommand mode, const EntryFields& offered,
                           Reporter& reporter, QWidget* parent)
    : QDialog(parent), direction_(direction), offered_(offered), reporter_(reporter) {
    const bool japanese = direction == Direction::Japanese;
    setObjectName(japanese ? QStringLiteral("TForm5") : QStringLiteral("TForm6"));
    setWindowTitle(QtText(edit_text::kEntryCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogFont());
    setFixedSize(TForm6::kClientWidth, japanese ? TForm5::kClientHeight : TForm6::kClientHeight);
    const std::vector<edit_text::FieldText> texts = FieldTexts(direction);
    const std::vector<std::string> values = FieldValues(direction, offered);
    int y = kFirstRowY;
    for (size_t i = 0; i < texts.size(); ++i, y += kRowHeight) {
        auto* label = new QLabel(QtText(texts[i].label), this);
        label->setGeometry(8, y, kFieldX - 10, 25);
        auto* edit = new QLineEdit(QtTextFromCp932(values[i]), this);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        edit->setGeometry(kFieldX, y, kFieldWidth, 25);
        edit->installEventFilter(this);
        label->setBuddy(edit);
        edits_.push_back(edit);
    }
    if (japanese) {
        auto* hint = new QLabel(QtText(edit_text::kKanjiHint), this);
        hint->setObjectName(QStringLiteral("Label4"));
        hint->setGeometry(8, y, TForm5::kClientWidth - 16, 20);
    }
    y = height() - 33;
    btnAdd_ = AddButton("BtnAdd", edit_text::kAddButton, 0, y);
    btnChg_ = AddButton("BtnChg", edit_text::kChangeButton, 1, y);
    btnDel_ = AddButton("BtnDel", edit_text::kDeleteButton, 2, y);
    btnCansel_ = AddButton("BtnCansel", platform_text::kCancelButton, 3, y);
    for (QPushButton* button : {btnAdd_, btnChg_, btnDel_}) {
        GuardedConnect(button, &QPushButton::clicked, this, reporter_,
                       button->objectName().toStdString() + "Click", [this] { EditBoxCheck(); });
    }
    GuardedConnect(btnCansel_, &QPushButton::clicked, this, reporter_, "BtnCanselClick",
                   [this] { BtnCanselClick(); });
    SetMode(mode);
}

QPushButton* TEntryWindow::AddButton(const char* name, std::string_view caption, int column,
                                     int y) {
    const int x = kButtonGap + column * (kButtonWidth + kButtonGap);
    auto* button = new DialogButton(this, name, "", x, y, kButtonWidth);
    button->setText(QtText(caption));
    button->installEventFilter(this);
    return button;
}

// Only the command's own button works; a change keeps the headword (Edit1)
// read-only, a delete every field. Focus goes to the first field open to
// typing, or to the button.
void TEntryWindow::SetMode(EditCommand mode) {
    btnAdd_->setEnabled(mode == EditCommand::Add);
    btnChg_->setEnabled(mode == EditCommand::Change);
    btnDel_->setEnabled(mode == EditCommand::Delete);
    QWidget* focus = nullptr;
    for (size_t i = 0; i < edits_.size(); ++i) {
        const bool fixed = mode == EditCommand::Delete || (mode == EditCommand::Change && i == 0);
        edits_[i]->setReadOnly(fixed);
        edits_[i]->setEnabled(!fixed);
        if (!fixed && focus == nullptr) {
            focus = edits_[i];
        }
    }
    (focus != nullptr ? focus : btnDel_)->setFocus();
}

void TEntryWindow::EditBoxCheck() {
    std::vector<std::string> typed;
    for (const QLineEdit* edit : edits_) {
        typed.push_back(edit->text().toStdString());
    }
    accepted_ = tovix::EditBoxCheck(direction_, typed, offered_, reporter_);
    if (accepted_) {
        accept();
    }
}

void TEntryWindow::BtnCanselClick() {
    reject();
}

bool TEntryWindow::TEditKeyDown(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            EditBoxCheck();
            return true;
        case Qt::Key_Escape:
            reject();
            return true;
        default:
            return false;
    }
}

bool TEntryWindow::FormKeyDown(int key) {
    if (key == Qt::Key_Escape) {
        reject();
        return true;
    }
    return false;
}

void TEntryWindow::keyPressEvent(QKeyEvent* event) {
    bool used = false;
    Guarded(reporter_, "FormKeyDown", [&] { used = FormKeyDown(event->key()); });
    if (!used) {
        QDialog::keyPressEvent(event);
    }
}

// The fields' keys, and Esc on the buttons.
bool TEntryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    bool used = false;
    if (qobject_cast<QLineEdit*>(watched) != nullptr) {
        Guarded(reporter_, "TEditKeyDown", [&] { used = TEditKeyDown(key); });
    } else if (qobject_cast<QPushButton*>(watched) != nullptr) {
        Guarded(reporter_, "FormKeyDown", [&] { used = FormKeyDown(key); });
    }
    return used;
}

}  // namespace tovix
