// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm17, the one-line notice window ("検索文字はありませんでした。" ...): a
// fixed dialog centred on the screen that any key, click or double click
// closes.

#include <QDialog>

class QLabel;

namespace tovix {

class TForm17 : public QDialog {
    Q_OBJECT

  public:
    explicit TForm17(QWidget* parent = nullptr);

    QLabel* Label1() const { return label1_; }

    // Sets the text, centres the window on the screen and shows it modally.
    static void ShowNotice(QWidget* parent, const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* label1_;
};

}  // namespace tovix
