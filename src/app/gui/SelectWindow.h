// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm13, the dictionary selection window: the registered dictionaries of
// one direction in a list, one line per slot in use ("shortcut  title"), and
// the choice to open one here, open it in a new copy of the program, or
// nothing.
//
//   Enter in the list, a double click, "選択(&O)"        open here
//   Ctrl+Enter or Shift+Enter in the list, "新規(&N)"   open in a new copy
//   Esc anywhere, "ｷｬﾝｾﾙ", closing the window          nothing
//
// The window remembers the slot behind each line, so a list with gaps opens
// the slot that was chosen.

#include <QDialog>
#include <vector>

#include "app/Settings.h"
#include "platform/Reporter.h"

class QListWidget;
class QPushButton;

namespace tovix {

enum class SelectAction { None = 0, OpenHere = 1, OpenNewCopy = 2 };

class TForm13 : public QDialog {
    Q_OBJECT

  public:
    // `caption` is the window caption ("英和辞書選択", "和英辞書選択"); a
    // failure of the window's handlers is reported through `reporter`.
    TForm13(const DictionaryList& list, const QString& caption, Reporter& reporter,
            QWidget* parent = nullptr);

    QListWidget* ListBox1() const { return listBox1_; }
    QPushButton* BtnOk() const { return btnOk_; }
    QPushButton* BtnNew() const { return btnNew_; }
    QPushButton* BtnCansel() const { return btnCansel_; }

    SelectAction Action() const { return action_; }
    // The chosen slot, 1 .. 9; -1 when none was chosen or no slot is in use.
    int Slot() const { return action_ == SelectAction::None ? -1 : slot_; }

    void BtnOkClick();
    void BtnNewClick();
    void BtnCanselClick();
    void ListBox1Click();

    // The text of a list line for a slot in use.
    static QString LineText(const DictionarySlot& slot);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool ListBoxKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void Choose(SelectAction action);

    Reporter& reporter_;
    QListWidget* listBox1_;
    QPushButton* btnOk_;
    QPushButton* btnNew_;
    QPushButton* btnCansel_;
    std::vector<int> lineSlots_;  // slot of each line, -1 for the empty line
    SelectAction action_ = SelectAction::None;
    int slot_ = -1;
};

}  // namespace tovix
