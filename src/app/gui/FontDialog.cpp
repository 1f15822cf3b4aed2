// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/FontDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

#include "app/AppMessages.h"
#include "platform/qt/GuardedConnect.h"
#include "platform/qt/QtText.h"

namespace tovix {

TFontDialog::TFontDialog(const FontChoice& choice, QWidget* parent)
    : QDialog(parent),
      chooser_(new QFontDialog(choice.font, this)),
      colorButton_(new QPushButton(this)),
      color_(choice.color),
      reporter_(this) {
    setWindowTitle(QtText(app_text::kFontCaption));
    chooser_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    chooser_->setWindowFlags(Qt::Widget);
    chooser_->setCurrentFont(choice.font);

    auto* colorRow = new QHBoxLayout;
    auto* colorLabel = new QLabel(QStringLiteral("文字色(&C):"), this);
    colorLabel->setBuddy(colorButton_);
    colorButton_->setObjectName(QStringLiteral("BtnColor"));
    colorButton_->setFixedSize(80, 25);
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(colorButton_);
    colorRow->addStretch(1);
    ShowColor();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("ｷｬﾝｾﾙ"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chooser_);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);

    // The chooser is a dialog of its own: it would keep Enter and close
    // itself alone on Esc.
    chooser_->installEventFilter(this);
    ShowJapaneseSample();
    ListStylesOnce();

    GuardedConnect(colorButton_, &QPushButton::clicked, this, reporter_, "BtnColorClick",
                   [this] { BtnColorClick(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool TFontDialog::eventFilter(QObject* watched, QEvent* event) {
    bool taken = false;
    Guarded(reporter_, "FontDialog1KeyDown", [&] { taken = ChooserKeyPress(watched, event); });
    return taken || QDialog::eventFilter(watched, event);
}

bool TFontDialog::ChooserKeyPress(QObject* watched, QEvent* event) {
    if (watched != chooser_ || event->type() != QEvent::KeyPress) {
        return false;
    }
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            accept();
            return true;
        case Qt::Key_Escape:
            reject();
            return true;
        default:
            return false;
    }
}

// The chooser's sample is its one centred line edit; its Latin sample says
// nothing about how kana and kanji look.
void TFontDialog::ShowJapaneseSample() {
    for (QLineEdit* edit : chooser_->findChildren<QLineEdit*>()) {
        if (edit->alignment() & Qt::AlignHCenter) {
            edit->setText(QtText(app_text::kFontSample));
        }
    }
}

// The style list is refilled for every family; of the rows that show one
// name (two styles with one translated name) only the first is shown. The
// rows are hidden, not removed: the chooser picks rows by their index.
void TFontDialog::ListStylesOnce() {
    for (QListView* list : chooser_->findChildren<QListView*>()) {
        auto* model = qobject_cast<QStringListModel*>(list->model());
        if (model == nullptr) {
            continue;
        }
        const auto hideRepeats = [list, model] {
            const QStringList names = model->stringList();
            for (int row = 0; row < names.size(); ++row) {
                list->setRowHidden(row, names.indexOf(names[row]) < row);
            }
        };
        GuardedConnect(model, &QAbstractItemModel::modelReset, this, reporter_,
                       "FontDialog1StyleListChange", hideRepeats);
        hideRepeats();
    }
}

FontChoice TFontDialog::Choice() const {
    return {chooser_->currentFont(), color_};
}

void TFontDialog::ShowColor() {
    colorButton_->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid gray;").arg(color_.name()));
}

void TFontDialog::BtnColorClick() {
    const QColor chosen = QColorDialog::getColor(color_, this, QtText(app_text::kColorCaption),
                                                 QColorDialog::DontUseNativeDialog);
    if (chosen.isValid()) {
        color_ = chosen;
        ShowColor();
    }
}

}  // namespace tovix
