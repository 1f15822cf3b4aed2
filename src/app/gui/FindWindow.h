// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm4, the find window "Tovix (検索)": asks for the text to find and the
// direction, and sets the case option. It works on the main window's find
// state: the text offered is the previous find text; closing it leaves the
// find text set (a find follows) or empty (cancelled).
//
//   "次検索(&N)"                          find downwards
//   "前検索(&P)"                          find upwards
//   Enter in the text                     find in the direction of the last find
//   Esc anywhere, "ｷｬﾝｾﾙ", closing it     cancel
//   "大文字と小文字を区別する(&C)"        the case option, at once
//
// The text takes at most 255 bytes of CP932.

#include <QDialog>
#include <string>

#include "platform/Reporter.h"
#include "views/Find.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tovix {

class TForm4 : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 487;
    static constexpr int kClientHeight = 123;
    static constexpr int kMaxTextBytes = 255;

    // Failures of the window's handlers are reported through `reporter`.
    TForm4(FindState& find, Reporter& reporter, QWidget* parent = nullptr);

    QLabel* Label1() const { return label1_; }
    QLineEdit* Edit1() const { return edit1_; }
    QPushButton* BtnSearch() const { return btnSearch_; }
    QPushButton* BtnPriorSearch() const { return btnPriorSearch_; }
    QPushButton* BtnCansel() const { return btnCansel_; }
    QCheckBox* CheckUperLower() const { return checkUperLower_; }

    void BtnSearchClick();
    void BtnPriorSearchClick();
    void BtnCancelClick();
    void CheckUperLowerClick();
    // The keys of the text and of the window; true when the key was used.
    bool EditBoxKeyDown(int key, Qt::KeyboardModifiers modifiers);
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void Search();
    void Cancel();
    // Keeps the text within its byte limit, cutting at a character.
    void LimitText();

    FindState& find_;
    Reporter& reporter_;
    QLabel* label1_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QPushButton* btnSearch_ = nullptr;
    QPushButton* btnPriorSearch_ = nullptr;
    QPushButton* btnCansel_ = nullptr;
    QCheckBox* checkUperLower_ = nullptr;
    // The offered text, which keeps its own bytes while it is not edited.
    QString offered_;
    std::string offeredBytes_;
};

}  // namespace tovix
