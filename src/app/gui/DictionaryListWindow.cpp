// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/DictionaryListWindow.h"

#include <QListWidget>

#include "app/AppMessages.h"
#include "app/gui/RegistrationWindow.h"
#include "app/gui/WindowHelpers.h"
#include "platform/Cp932.h"
#include "platform/MessageText.h"
#include "platform/Reporter.h"
#include "platform/qt/GuardedConnect.h"
#include "platform/qt/QtText.h"

namespace tovix {
namespace {

struct ButtonRow {
    const char* name;
    const char* handler;
    const char* caption;
    int x;
    int y;
    void (TForm11::*click)();
};

constexpr int kRightX = 332;
constexpr int kBottomY = 285;

// clang-format off
constexpr ButtonRow kButtons[] = {
    {"BtnAdd",    "BtnAddClick",    "新規追加(&N)...", kRightX, 10,  &TForm11::BtnAddClick},
    {"BtnEdit",   "BtnEditClick",   "編集(&E)...",     kRightX, 40,  &TForm11::BtnEditClick},
    {"BtnUp",     "BtnUpClick",     "一つ上へ",        kRightX, 80,  &TForm11::BtnUpClick},
    {"BtnDown",   "BtnDownClick",   "一つ下へ",        kRightX, 110, &TForm11::BtnDownClick},
    {"BtnCut",    "BtnCutClick",    "ｶｯﾄ(&X)",         kRightX, 150, &TForm11::BtnCutClick},
    {"BtnCopy",   "BtnCopyClick",   "ｺﾋﾟｰ(&C)",        kRightX, 180, &TForm11::BtnCopyClick},
    {"BtnPaste",  "BtnPasteClick",  "張り付け(&V)",    kRightX, 210, &TForm11::BtnPasteClick},
    {"BtnDel",    "BtnDelClick",    "削除(&D)",        kRightX, 245, &TForm11::BtnDelClick},
    {"BtnOk",     "BtnOkClick",     "OK(&O)",          10,      kBottomY, &TForm11::BtnOkClick},
    {"BtnCansel", "BtnCanselClick", "ｷｬﾝｾﾙ",           170,     kBottomY, &TForm11::BtnCanselClick},
};
// clang-format on

}  // namespace

TForm11::TForm11(const DictionaryList& stored, Reporter& reporter, Desktop& desktop, Save save,
                 QWidget* parent)
    : QDialog(parent),
      reporter_(reporter),
      desktop_(desktop),
      save_(std::move(save)),
      editor_(stored),
      listBox1_(new QListWidget(this)) {
    setWindowTitle(QtText(app_text::kListCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogFont());
    setFixedSize(492, 322);
    listBox1_->setObjectName(QStringLiteral("ListBox1"));
    listBox1_->setGeometry(10, 10, 310, 260);
    for (const ButtonRow& row : kButtons) {
        auto* button = new DialogButton(this, row.name, row.caption, row.x, row.y, 150);
        GuardedConnect(button, &QPushButton::clicked, this, reporter_, row.handler,
                       [this, click = row.click] { (this->*click)(); });
    }
    Button("BtnPaste")->setEnabled(false);
    GuardedConnect(listBox1_, &QListWidget::currentRowChanged, this, reporter_, "ListBox1Click",
                   [this] { editor_.Select(listBox1_->currentRow()); });
    Rebuild();
    listBox1_->setFocus();
}

QPushButton* TForm11::Button(const char* name) const {
    return findChild<QPushButton*>(QString::fromUtf8(name));
}

void TForm11::BtnAddClick() {
    int editIndex = 0;
    const ListAction action = editor_.Add(editIndex);
    if (action == ListAction::Done) {
        if (const std::optional<DictionarySlot> entry = Register({})) {
            editor_.Store(editIndex, *entry);
        } else {
            editor_.SelectLast();
        }
    }
    Finish(action);
}

void TForm11::BtnEditClick() {
    const int editIndex = editor_.EditIndex();
    const DictionarySlot& slot = editor_.Slots().at(static_cast<size_t>(editIndex));
    const RegistrationFields fields{Cp932ToUtf8(slot.title), Cp932ToUtf8(slot.fileName),
                                    Cp932ToUtf8(ShownShortCut(slot.shortCut))};
    if (const std::optional<DictionarySlot> entry = Register(fields)) {
        editor_.Store(editIndex, *entry);
    }
    Finish(ListAction::Done);
}

void TForm11::BtnUpClick() {
    Finish(editor_.Up());
}

void TForm11::BtnDownClick() {
    Finish(editor_.Down());
}

void TForm11::BtnCutClick() {
    Finish(editor_.Cut());
}

void TForm11::BtnCopyClick() {
    Finish(editor_.Copy());
}

void TForm11::BtnPasteClick() {
    Finish(editor_.Paste());
}

void TForm11::BtnDelClick() {
    Finish(editor_.Delete());
}

void TForm11::BtnOkClick() {
    if (save_(editor_.Slots())) {
        accept();
    }
}

void TForm11::BtnCanselClick() {
    reject();
}

std::optional<DictionarySlot> TForm11::Register(const RegistrationFields& fields) {
    TForm12 window(fields, reporter_, desktop_, this);
    CentreOnScreen(window);
    window.exec();
    return window.Entry();
}

void TForm11::Finish(ListAction action) {
    if (action == ListAction::Full) {
        reporter_.Message(MessageKind::Warning, Padded(app_text::kListFull, 4, 10), kButtonOk);
    }
    Button("BtnPaste")->setEnabled(editor_.HasClipboard());
    Rebuild();
}

// The list box shows the editor's lines with its selected line.
void TForm11::Rebuild() {
    const QSignalBlocker block(listBox1_);
    listBox1_->clear();
    for (const std::string& title : editor_.Lines()) {
        listBox1_->addItem(QtTextFromCp932(title));
    }
    listBox1_->setCurrentRow(editor_.Selected());
}

}  // namespace tovix
