// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/FunctionKeyBar.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace tovix {
namespace {

constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 25;
constexpr int kFirstColumn = 50;
constexpr int kFirstRow = 20;

// The bar's row of a key: plain keys first, then Shift, then Ctrl.
int RowOf(const FunctionKey& key) {
    switch (key.modifier) {
        case Qt::ShiftModifier:
            return 1;
        case Qt::ControlModifier:
            return 2;
        default:
            return 0;
    }
}

}  // namespace

FunctionKeyBar::FunctionKeyBar(std::span<const FunctionKeyCommand> commands, QWidget* parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("Panel2"));
    setFixedHeight(kHeight);
    setFrameShape(QFrame::StyledPanel);
    // The bar's captions must fit buttons 50 pixels wide: the desktop's
    // normal font, the one of the menu bar, does.
    setFont(QApplication::font());
    for (int column = 0; column < 10; ++column) {
        auto* label =
            new QLabel(QStringLiteral("   F%1").arg(column + 1, 2, 10, QLatin1Char('0')), this);
        label->setGeometry(kFirstColumn + column * kButtonWidth, 2, kButtonWidth, kFirstRow - 2);
    }
    const char* rowLabels[] = {"Shift+", "Ctrl+"};
    for (int row = 1; row < 3; ++row) {
        auto* label = new QLabel(QString::fromUtf8(rowLabels[row - 1]), this);
        label->setGeometry(4, kFirstRow + row * kButtonHeight, kFirstColumn - 4, kButtonHeight);
    }
    for (const FunctionKeyCommand& command : commands) {
        auto* button = new QPushButton(QString::fromUtf8(command.caption), this);
        const std::string_view name = ComponentName(command.name);
        button->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        button->setGeometry(kFirstColumn + (command.key.number - 1) * kButtonWidth,
                            kFirstRow + RowOf(command.key) * kButtonHeight, kButtonWidth,
                            kButtonHeight);
        buttons_.push_back(button);
    }
}

}  // namespace tovix
