#pragma once
// Panel2, the function-key bar: the labels "   F01" .. "   F10" above ten
// columns, the row labels "Shift+" and "Ctrl+", and three rows of ten buttons,
// Button1 .. Button10 (F1 .. F10), Button11 .. Button20 (Shift) and
// Button21 .. Button30 (Ctrl).

#include <QFrame>
#include <array>

class QPushButton;

namespace tovix {

class FunctionKeyBar : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kButtons = 30;
    static constexpr int kHeight = 97;

    explicit FunctionKeyBar(QWidget* parent = nullptr);

    // Button n, 1 .. 30.
    QPushButton* Button(int n) const { return buttons_.at(static_cast<size_t>(n - 1)); }

  private:
    std::array<QPushButton*, kButtons> buttons_{};
};

}  // namespace tovix
