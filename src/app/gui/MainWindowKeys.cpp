// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's keys: the application-wide key hook and the key handlers of the
// search field, the dictionary view and the function-key bar's buttons.

#include <QMenu>

#include "app/gui/KeyCommands.h"
#include "app/gui/MainWindow.h"
#include "app/gui/WindowActivation.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"

namespace tovix {
namespace {

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

}  // namespace

// Before the focused control sees a key: the keys that would move a caret
// scroll the view instead, and the search field's caret goes to the end of
// its text. With the focus in the search field Up and Down move by whole
// entries (two lines each), to the headword above or below. A find mark
// lasts until the next keystroke.
void TForm1::AppMessage(int key, Qt::KeyboardModifiers modifiers) {
    if (!IsModifierKey(key)) {
        bigView1_->ClearMark();
    }
    // A key sent to the view carries the Shift and Ctrl keys held.
    const Qt::KeyboardModifiers held = modifiers & (Qt::ShiftModifier | Qt::ControlModifier);
    const bool inField = focusWidget() == dicEdit1_;
    const ViewLineIndex top = bigView1_->TopLine();
    switch (key) {
        case Qt::Key_PageUp:
        case Qt::Key_Left:
            bigView1_->KeyDown(Qt::Key_PageUp, held);
            break;
        case Qt::Key_PageDown:
        case Qt::Key_Right:
            bigView1_->KeyDown(Qt::Key_PageDown, held);
            break;
        case Qt::Key_Up:
            if (inField) {
                bigView1_->SetTopLine(top.value % 2 == 1 ? top - 1 : top - 2);
            } else {
                bigView1_->KeyDown(Qt::Key_Up, held);
            }
            break;
        case Qt::Key_Down:
            if (inField) {
                bigView1_->SetTopLine(top.value % 2 == 1 ? top + 1 : top + 2);
            } else {
                bigView1_->KeyDown(Qt::Key_Down, held);
            }
            break;
        default:
            return;
    }
    dicEdit1_->end(false);
}

// A key that runs a command here is not edited as well: the edit's own
// bindings of the same keys (Ctrl+C copying a selection, Ctrl+K deleting to
// the end) would undo what the command did.
void TForm1::DicEdit1KeyDown(int& key, Qt::KeyboardModifiers modifiers) {
    if (RunKeyActions(KeyPlace::Field, key, modifiers)) {
        key = 0;
    }
}

void TForm1::BigView1KeyDown(int& key, Qt::KeyboardModifiers modifiers) {
    RunKeyActions(KeyPlace::View, key, modifiers);
}

void TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    RunKeyActions(KeyPlace::Button, key, modifiers);
}

bool TForm1::RunKeyActions(KeyPlace place, int key, Qt::KeyboardModifiers modifiers) {
    const std::vector<KeyAction> actions = KeyActions(place, key, modifiers);
    for (const KeyAction& action : actions) {
        action.command(*this, action.argument);
    }
    return !actions.empty();
}

// The key map's commands: each runs a public command of the window.
namespace key_command {

void EmptyField(TForm1& window, int) {
    window.EmptySearchField();
}

void FocusField(TForm1& window, int) {
    window.FocusSearchField();
}

void Button(TForm1& window, int n) {
    window.ButtonClick(n);
}

void PopupMenu(TForm1& window, int) {
    window.ShowPopupMenu();
}

void ToggleMaximized(TForm1& window, int) {
    window.ToggleMaximized();
}

void Find(TForm1& window, int) {
    if (!window.Search().dicFile.empty()) {
        window.MenuFindClick();
    }
}

void FindNext(TForm1& window, int) {
    if (window.FindHasRun() && !window.Search().dicFile.empty()) {
        window.ReFind(FindDirection::Down);
    }
}

void FindPrior(TForm1& window, int) {
    if (window.FindHasRun() && !window.Search().dicFile.empty()) {
        window.ReFind(FindDirection::Up);
    }
}

void ClearAndPaste(TForm1& window, int) {
    window.ClearAndPaste();
}

void ToggleFunctionKeys(TForm1& window, int) {
    window.MenuFuncKeyDispClick();
}

void TopEntry(TForm1& window, int) {
    window.SetTopLineAndCaret(ViewLineIndex(0));
}

void LastEntry(TForm1& window, int) {
    window.SetTopLineAndCaret(window.BigView1()->LastViewLine() - 1);
}

void PageBack(TForm1& window, int) {
    const TBigView& view = *window.BigView1();
    window.SetTopLineAndCaret(view.TopLine() - view.PageLines() + 1);
}

void PageForward(TForm1& window, int) {
    const TBigView& view = *window.BigView1();
    window.SetTopLineAndCaret(view.TopLine() + view.PageLines() - 1);
}

}  // namespace key_command

void TForm1::FocusSearchField() {
    dicEdit1_->setFocus();
    dicEdit1_->end(false);
}

void TForm1::EmptySearchField() {
    dicEdit1_->setText(QString());
}

void TForm1::SetTopLineAndCaret(ViewLineIndex line) {
    bigView1_->SetTopLine(line);
    dicEdit1_->end(false);
}

void TForm1::ToggleMaximized() {
    tovix::ToggleMaximized(*this);
}

// Near the window's top left corner, over the top of the view.
void TForm1::ShowPopupMenu() {
    popupMenu1_->popup(pos() + QPoint(7, 87));
}

}  // namespace tovix
