// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Panel2, the function-key bar: the labels "   F01" .. "   F10" above ten
// columns, the row labels "Shift+" and "Ctrl+", and three rows of ten buttons,
// one per command row (FunctionKeyCommands.h), each in the column and row of
// its key and named after its handler (Button5Click gives Button5).

#include <QFrame>
#include <span>
#include <vector>

#include "app/gui/FunctionKeyCommands.h"

class QPushButton;

namespace tovix {

class FunctionKeyBar : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kHeight = 97;

    explicit FunctionKeyBar(std::span<const FunctionKeyCommand> commands,
                            QWidget* parent = nullptr);

    // The button of command row n - 1 (n from 1: Button1 .. Button30).
    QPushButton* Button(int n) const { return buttons_.at(static_cast<size_t>(n - 1)); }

  private:
    std::vector<QPushButton*> buttons_;
};

}  // namespace tovix
