// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/SelectWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/AppMessages.h"
#include "app/gui/WindowHelpers.h"
#include "platform/PlatformMessages.h"
#include "platform/qt/GuardedConnect.h"
#include "platform/qt/QtText.h"

namespace tovix {
namespace {

constexpr int kItemHeight = 18;

QPushButton* MakeButton(QWidget* parent, const char* name, std::string_view caption, int x) {
    auto* button = new QPushButton(QtText(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(x, 270, 100, 25);
    return button;
}

void MakeLabel(QWidget* parent, const char* text, int x, int y) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(x, y, 100, 18);
}

}  // namespace

TForm13::TForm13(const DictionaryList& list, const QString& caption, Reporter& reporter,
                 QWidget* parent)
    : QDialog(parent),
      reporter_(reporter),
      listBox1_(new QListWidget(this)),
      btnOk_(MakeButton(this, "BtnOk", app_text::kSelectButton, 5)),
      btnNew_(MakeButton(this, "BtnNew", app_text::kNewCopyButton, 110)),
      btnCansel_(MakeButton(this, "BtnCansel", platform_text::kCancelButton, 215)) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(322, 338);
    listBox1_->setObjectName(QStringLiteral("ListBox1"));
    listBox1_->setGeometry(5, 5, 310, 260);
    listBox1_->setUniformItemSizes(true);
    MakeLabel(this, "Enter", 5, 300);
    MakeLabel(this, "Ctrl+Enter", 110, 300);
    MakeLabel(this, "Shift+Enter", 5, 320);

    for (int n = 0; n < kDictionarySlots; ++n) {
        const DictionarySlot& slot = list[static_cast<size_t>(n)];
        if (!slot.title.empty()) {
            listBox1_->addItem(LineText(slot));
            lineSlots_.push_back(n + 1);
        }
    }
    if (lineSlots_.empty()) {
        listBox1_->addItem(QString());
        lineSlots_.push_back(-1);
    }
    for (int row = 0; row < listBox1_->count(); ++row) {
        listBox1_->item(row)->setSizeHint(QSize(0, kItemHeight));
    }
    listBox1_->setCurrentRow(0);
    listBox1_->setFocus();
    listBox1_->installEventFilter(this);

    GuardedConnect(listBox1_, &QListWidget::itemDoubleClicked, this, reporter_, "ListBox1Click",
                   [this] { ListBox1Click(); });
    GuardedConnect(btnOk_, &QPushButton::clicked, this, reporter_, "BtnOkClick",
                   [this] { BtnOkClick(); });
    GuardedConnect(btnNew_, &QPushButton::clicked, this, reporter_, "BtnNewClick",
                   [this] { BtnNewClick(); });
    GuardedConnect(btnCansel_, &QPushButton::clicked, this, reporter_, "BtnCanselClick",
                   [this] { BtnCanselClick(); });
}

QString TForm13::LineText(const DictionarySlot& slot) {
    return QtTextFromCp932(slot.shortCut + "  " + slot.title);
}

void TForm13::BtnOkClick() {
    Choose(SelectAction::OpenHere);
}

void TForm13::BtnNewClick() {
    Choose(SelectAction::OpenNewCopy);
}

void TForm13::BtnCanselClick() {
    Choose(SelectAction::None);
}

void TForm13::ListBox1Click() {
    Choose(SelectAction::OpenHere);
}

void TForm13::Choose(SelectAction action) {
    action_ = action;
    const int row = listBox1_->currentRow();
    slot_ = row >= 0 && row < static_cast<int>(lineSlots_.size())
                ? lineSlots_[static_cast<size_t>(row)]
                : -1;
    if (action == SelectAction::None) {
        reject();
    } else {
        accept();
    }
}

bool TForm13::ListBoxKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers state =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (state == Qt::ControlModifier || state == Qt::ShiftModifier) {
                Choose(SelectAction::OpenNewCopy);
            } else {
                Choose(SelectAction::OpenHere);
            }
            return true;
        case Qt::Key_Escape:
            Choose(SelectAction::None);
            return true;
        default:
            return false;
    }
}

bool TForm13::eventFilter(QObject* watched, QEvent* event) {
    if (watched == listBox1_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        bool handled = true;
        Guarded(reporter_, "ListBoxKeyDown",
                [&] { handled = ListBoxKeyDown(key->key(), key->modifiers()); });
        return handled;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tovix
