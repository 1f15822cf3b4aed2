// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm10, the key list window that F1 opens: the program's keys as labels,
// each command a description marked with "☆" and its keys beside it, in two
// columns, and below a separator line a picture of the function-key bar. It
// only describes; Esc, Enter, F1 or a click anywhere closes it.

#include <QDialog>
#include <span>

class QLabel;

namespace tovix {

// One line of the upper block: a command on the left and one on the right.
// An empty description stands where the window shows keys alone.
struct KeyListRow {
    int y;
    const char* leftDescription;
    const char* leftKeys;
    int leftKeysX;
    const char* rightDescription;
    const char* rightKeys;
};

std::span<const KeyListRow> KeyListRows();

// The function-key bar's picture: the captions of one row, F01 .. F10.
struct KeyBarRow {
    const char* prefix;  // "", "Shift+", "Ctrl+"
    const char* captions[10];
};

std::span<const KeyBarRow> KeyBarRows();

class TForm10 : public QDialog {
    Q_OBJECT

  public:
    explicit TForm10(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QLabel* AddLabel(const char* text, int x, int y, int width,
                     Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
    void BuildKeyBar();
};

}  // namespace tovix
