// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/FontDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppMessages.h"
#include "platform/qt/QtText.h"

namespace tovix {

TFontDialog::TFontDialog(const FontChoice& choice, QWidget* parent)
    : QDialog(parent),
      chooser_(new QFontDialog(choice.font, this)),
      colorButton_(new QPushButton(this)),
      color_(choice.color) {
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

    connect(colorButton_, &QPushButton::clicked, this, &TFontDialog::BtnColorClick);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
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
