// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool windows TForm22 .. TForm26, in which the user names the files of a
// tool command (and, in the check window, the two length limits). Each is
// built from its row of one layout table: labelled edits, browse buttons that
// fill an edit from the open or save dialog, 実行(&O) and ｷｬﾝｾﾙ.
//
//   TForm22  input, output                 conversions, building a set
//   TForm23  one file, rewritten in place  gathering, re-making a set
//   TForm24  two inputs, output            joining
//   TForm25  output                        a new set
//   TForm26  input, two outputs, limits    length check and division
//
// 実行 takes the tool lock (another command of the program directory refuses
// with its message), runs the window's name checks (EditBoxCheck, shared with
// tovix-tool) and, when they pass, takes the lock of the set the command
// replaces (an edit or a command of another copy refuses) and stores the
// names in the tool job and closes; the locks go to the command, which holds
// them until its chain ends.
// A refusal leaves the window open with every field as typed. ｷｬﾝｾﾙ, Esc and
// closing the window accept nothing.

#include <QDialog>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "tools/Chains.h"
#include "tools/ToolLock.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tovix {

class Desktop;

class TToolWindow : public QDialog {
    Q_OBJECT

  public:
    // A window for `command` run in `direction`, with its caption and, in the
    // check window, its preset limits; the names go to `job`, whose reporter
    // shows the checks' messages. Centred on the screen.
    TToolWindow(const ToolCommand& command, Direction direction, ToolJob& job, Desktop& desktop,
                QWidget* parent);
    ~TToolWindow() override;

    // Edit1 .. Edit5; nullptr for an edit the window does not have.
    QLineEdit* Edit(int n) const;
    // The browse button of edit n; nullptr when it has none.
    QPushButton* BrowseButton(int n) const;
    QPushButton* BtnOk() const { return btnOk_; }
    QPushButton* BtnCansel() const { return btnCansel_; }
    // The limit labels of the check window (nullptr elsewhere).
    QLabel* Label8() const { return label8_; }
    QLabel* Label9() const { return label9_; }

    void BtnOkClick();
    void BtnCanselClick();
    // The locks taken by an accepted 実行 (the tool lock, the set's); none
    // otherwise.
    std::vector<ToolLock> TakeLocks() { return std::move(locks_); }

  private:
    void Build(const ToolCommand& command);
    void Browse(int n);

    ToolForm kind_;
    ToolNameRoles roles_;
    ToolJob& job_;
    Desktop& desktop_;
    std::array<QLineEdit*, 5> edits_{};
    std::array<QPushButton*, 5> browse_{};
    QPushButton* btnOk_ = nullptr;
    QPushButton* btnCansel_ = nullptr;
    QLabel* label8_ = nullptr;
    QLabel* label9_ = nullptr;
    std::vector<ToolLock> locks_;
};

// The five classes, so that each window is known by its name.
class TForm22 : public TToolWindow {
    Q_OBJECT
  public:
    using TToolWindow::TToolWindow;
};
class TForm23 : public TToolWindow {
    Q_OBJECT
  public:
    using TToolWindow::TToolWindow;
};
class TForm24 : public TToolWindow {
    Q_OBJECT
  public:
    using TToolWindow::TToolWindow;
};
class TForm25 : public TToolWindow {
    Q_OBJECT
  public:
    using TToolWindow::TToolWindow;
};
class TForm26 : public TToolWindow {
    Q_OBJECT
  public:
    using TToolWindow::TToolWindow;
};

// The window of the command's class.
std::unique_ptr<TToolWindow> MakeToolWindow(const ToolCommand& command, Direction direction,
                                            ToolJob& job, Desktop& desktop, QWidget* parent);

}  // namespace tovix
