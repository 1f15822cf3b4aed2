// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's commands of the function-key bar and the pop-up menu: copying and
// pasting through the clipboard, switching to another running copy, the
// function-key bar itself and help.

#include <QCoreApplication>
#include <QEventLoop>
#include <QMenu>
#include <QTimer>
#include <algorithm>

#include "app/AppMessages.h"
#include "app/gui/ClipboardCommands.h"
#include "app/gui/CopyInstances.h"
#include "app/gui/Desktop.h"
#include "app/gui/FunctionKeyBar.h"
#include "app/gui/MainWindow.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "platform/Guard.h"
#include "platform/ProgramDir.h"

namespace tovix {

// The pop-up menu: the command rows that have an item, a separator between
// the rows of the bar.
void TForm1::BuildPopupMenu() {
    popupMenu1_ = new QMenu(this);
    popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
    const FunctionKeyCommand* previous = nullptr;
    for (const FunctionKeyCommand& command : FunctionKeyCommands()) {
        if (*command.popupName == '\0') {
            continue;
        }
        if (previous != nullptr && previous->key.modifier != command.key.modifier) {
            popupMenu1_->addSeparator();
        }
        previous = &command;
        QAction* action = popupMenu1_->addAction(QString::fromUtf8(command.popupCaption));
        const std::string_view name = ComponentName(command.popupName);
        action->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        connect(action, &QAction::triggered, this,
                [this, &command] { RunCommand(command, command.popupName); });
    }
    bigView1_->SetPopupMenu(popupMenu1_);
}

void TForm1::ButtonClick(int n) {
    const std::span<const FunctionKeyCommand> commands = FunctionKeyCommands();
    if (n >= 1 && n <= static_cast<int>(commands.size())) {
        const FunctionKeyCommand& command = commands[static_cast<size_t>(n - 1)];
        RunCommand(command, command.name);
    }
}

void TForm1::RunCommand(std::string_view name) {
    if (const FunctionKeyCommand* command = FindFunctionKeyCommand(name)) {
        RunCommand(*command, name);
    }
}

// A click, a function key and a pop-up item all come here: the command runs
// through the guard, a failure reported under the handler's name.
void TForm1::RunCommand(const FunctionKeyCommand& command, std::string_view handler) {
    if (command.command != nullptr) {
        Guarded(reporter_, handler, [this, &command] { command.command(*this); });
    }
}

void TForm1::CopyTopEntry() {
    if (!WarnWhenViewEmpty()) {
        CopyToClipboard(TopEntryText(*bigView1_));
    }
}

void TForm1::CopyVisibleEntries() {
    if (!WarnWhenViewEmpty()) {
        CopyToClipboard(VisibleEntriesText(*bigView1_));
    }
}

// Closes the window without the exit question.
void TForm1::CloseWithoutAsking() {
    close();
}

void TForm1::CopySearchText() {
    if (!WarnWhenViewEmpty()) {
        CopyToClipboard(dicEdit1_->Text());
    }
}

void TForm1::ClearSearchField() {
    dicEdit1_->setFocus();
    EmptySearchField();
}

// Appends the clipboard's text to the search text.
void TForm1::AppendClipboardText() {
    Paste(false);
}

// Carries the search word to the other copy, which takes it with
// ClearAndPaste.
void TForm1::CopyAndSwitch() {
    CopySearchText();
    FocusSelectAnother();
}

// The search field becomes the clipboard's text: the other copy's half of
// carrying a search word over.
void TForm1::ClearAndPaste() {
    Paste(true);
}

bool TForm1::WarnWhenViewEmpty() {
    if (!bigView1_->ViewLineCount().Empty()) {
        return false;
    }
    Warn(app_text::kNoDictionary);
    return true;
}

void TForm1::CopyToClipboard(const std::string& text) {
    desktop_->SetClipboardText(text);
    SettleWord();
}

// A refused clipboard text is reported and left on the clipboard as it was.
void TForm1::Paste(bool replace) {
    const PasteText paste = CheckPasteText(desktop_->ClipboardText());
    if (!paste.refusal.empty()) {
        Warn(paste.refusal);
        return;
    }
    if (replace) {
        dicEdit1_->setFocus();
        EmptySearchField();
        dicEdit1_->SetText(paste.text);
    } else {
        dicEdit1_->SetText(dicEdit1_->Text() + paste.text);
    }
}

// Shows or hides the function-key bar for this run; the stored setting is
// the options window's.
void TForm1::MenuFuncKeyDispClick() {
    panel2_->setHidden(!panel2_->isHidden());
    dicEdit1_->end(false);
}

// Opens the help with the desktop's viewer for it (the browser for the
// manual): a help file of the user's beside the program, else the manual.
void TForm1::MenuHelpDispClick() {
    if (const auto help = FindHelpFile(HelpFileCandidates(ExecutableDir(), ProgramDir()))) {
        if (!desktop_->OpenFile(*help)) {
            Warn(app_text::kHelpNotOpened);
        }
    } else {
        Warn(app_text::kHelpMissing);
    }
}

// The copies as the desktop stacks their windows, most recently active first:
// the last one is the copy used least recently, the other one of two.
void TForm1::FocusSelectAnother() {
    std::vector<RunningCopy> copies = copies_->Enumerate();
    std::erase_if(copies,
                  [](const RunningCopy& copy) { return !copy.title.toUtf8().startsWith("Tovix"); });
    if (!copies.empty()) {
        copies_->BringToFront(copies.back());
    }
}

void TForm1::DelayTime(int ms) {
    QEventLoop loop;
    QTimer::singleShot(std::max(ms, 0), &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace tovix
