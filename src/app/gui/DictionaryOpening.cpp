// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's dictionary selection: the registered dictionaries of a direction
// in the selection window, opened here or in a new copy of the program, and
// the command that empties the tools' temporary files.

#include <QCoreApplication>
#include <QLabel>

#include "app/AppMessages.h"
#include "app/TemporaryFiles.h"
#include "app/gui/Desktop.h"
#include "app/gui/MainWindow.h"
#include "app/gui/SelectWindow.h"
#include "app/gui/WindowHelpers.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "dict/DictMessages.h"
#include "dict/HeadwordIndex.h"
#include "dict/OpenDictionary.h"
#include "platform/BackgroundThread.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "platform/ProgramDir.h"
#include "platform/Warning.h"
#include "platform/qt/QtText.h"
#include "tools/ToolLock.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

QString SelectCaption(Direction direction) {
    return QtText(direction == Direction::Japanese ? app_text::kJpnSelectCaption
                                                   : app_text::kEngSelectCaption);
}

std::string DirectionWord(Direction direction) {
    return direction == Direction::Japanese ? "JPN" : "ENG";
}

}  // namespace

// The list is read afresh from the settings file every time.
void TForm1::DicOpen(Direction direction) {
    const DictionaryList list = ReadDictionaryList(SettingsFilePath(), direction);
    SelectAction action = SelectAction::None;
    int slot = -1;
    {
        TForm13 window(list, SelectCaption(direction), reporter_, this);
        CentreOnScreen(window);
        DialogOpenScope dialog(*this);
        window.exec();
        action = window.Action();
        slot = window.Slot();
    }
    if (action == SelectAction::None || slot < 1 || slot > kDictionarySlots) {
        return;
    }
    const std::filesystem::path file(Cp932ToUtf8(list[static_cast<size_t>(slot - 1)].fileName));
    if (action == SelectAction::OpenHere) {
        OpenHere(file, direction);
    } else {
        OpenInNewCopy(file, direction);
    }
}

// All or nothing: the dictionary file and its table are read first, and the
// window changes over to them only when both could be read. On a failure the
// dictionary shown before stays, with its table, direction and caption.
void TForm1::OpenHere(const std::filesystem::path& file, Direction direction) {
    const QString caption = windowTitle();
    setWindowTitle(QtText(tool_text::kProgressLoad));
    OpenedDictionary opened = OpenDictionary(file, direction);
    if (!opened.Opened()) {
        setWindowTitle(caption);
        ShowWarning(reporter_, opened.message);
        return;
    }
    ShowDictionary(file, direction, opened);
    EmptySearchField();
}

// The view shows the dictionary file's own lines until the first lookup
// loads a part.
void TForm1::ShowDictionary(const std::filesystem::path& file, Direction direction,
                            OpenedDictionary& opened) {
    bigView1_->TakeLines(std::move(opened.lines));
    search_.table = std::move(opened.table);
    search_.tableStamp = opened.tableStamp;
    search_.writtenForms = std::make_shared<WrittenFormFile>();
    // A keystroke does not wait while a part of a large set is indexed: that
    // is done on the window's background thread, made with the first
    // dictionary and taken over by each next one. The index of the dictionary
    // shown before stops its work without being waited for.
    std::shared_ptr<BackgroundThread> background = search_.headwords->Background();
    if (!background) {
        background = std::make_shared<BackgroundThread>();
    }
    search_.headwords = std::make_shared<HeadwordIndex>();
    search_.headwords->SetBackground(std::move(background));
    search_.dicFile = file;
    search_.direction = direction;
    search_.currentPart = 0;
    search_.currentPartCopy = 0;
    setWindowTitle(mainCaption_ + QStringLiteral("  ") + QString::fromStdString(file.string()));
    label11_->setText(DirectionLabel(direction));
    UpdateEmptyHint();
    NoteOpenedAfterFirstPaint(file);
    MakeRoomForParts();
}

// The new copy gets the file and the direction word as two arguments, so a
// path with blanks stays one. This window keeps its own dictionary.
void TForm1::OpenInNewCopy(const std::filesystem::path& file, Direction direction) {
    newWindowDic_ = file.string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        WarnAboutFile(file.string(), dict_text::kDicFileMissing);
        return;
    }
    const std::filesystem::path program = QCoreApplication::applicationFilePath().toStdString();
    if (!desktop_->StartProgram(program, {file.string(), DirectionWord(direction)}, ProgramDir())) {
        WarnAboutFile(program.string(), app_text::kStartFailed);
    }
}

// Every temporary file of the tools becomes one empty line, without asking;
// not while a tool command of this program directory runs, whose work files
// they are (the tool lock refuses, with its message).
void TForm1::MenuTmpFileDeleteClick() {
    try {
        const auto lock = ToolLock::Take(ProgramDir(), reporter_, ToolLock::Mode::Refuse);
        if (!lock) {
            return;
        }
        EmptyTemporaryFiles(ProgramDir());
    } catch (const IoError& e) {
        WarnAboutFile(e.path().string(), app_text::kFileUnwritable);
    }
}

}  // namespace tovix
