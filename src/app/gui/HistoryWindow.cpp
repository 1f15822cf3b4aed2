// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/HistoryWindow.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/AppMessages.h"
#include "app/gui/WindowHelpers.h"
#include "platform/qt/GuardedConnect.h"
#include "platform/qt/QtText.h"

namespace tovix {

HistoryWindow::HistoryWindow(const std::vector<HistoryWord>& words, Reporter& reporter,
                             QWidget* parent)
    : QDialog(parent), newestFirst_(words.rbegin(), words.rend()), list_(new QListWidget(this)) {
    setWindowTitle(QtText(app_text::kHistoryCaption));
    setFont(DialogFont());
    resize(360, 400);
    list_->setObjectName(QStringLiteral("ListBox1"));
    for (const HistoryWord& word : newestFirst_) {
        const std::string_view mark = word.direction == Direction::Japanese
                                          ? app_text::kHistoryJapaneseMark
                                          : app_text::kHistoryEnglishMark;
        list_->addItem(QtText(mark) + QtTextFromCp932(word.text));
    }
    list_->setCurrentRow(0);
    auto* choose =
        new DialogButton(this, "BtnOk", app_text::kHistoryChooseButton.data(), 0, 0, 100);
    auto* cancel = new DialogButton(this, "BtnCansel", "ｷｬﾝｾﾙ", 0, 0, 100);
    auto* row = new QHBoxLayout;
    row->addWidget(choose);
    row->addWidget(cancel);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(row);
    GuardedConnect(list_, &QListWidget::itemActivated, this, reporter, "ListBox1DblClick",
                   [this] { Choose(); });
    GuardedConnect(choose, &QPushButton::clicked, this, reporter, "BtnOkClick",
                   [this] { Choose(); });
    GuardedConnect(cancel, &QPushButton::clicked, this, reporter, "BtnCanselClick",
                   [this] { reject(); });
}

void HistoryWindow::Choose() {
    const int row = list_->currentRow();
    if (row >= 0 && row < static_cast<int>(newestFirst_.size())) {
        chosen_ = newestFirst_[static_cast<size_t>(row)];
        accept();
    }
}

}  // namespace tovix
