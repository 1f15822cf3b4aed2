// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's look-up from anywhere: a word handed over by `tovix --lookup` or by
// another copy, a word handed on to a copy of the other direction, and what
// the user selects in another program, when the option asks for it.

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>

#include "app/AppMessages.h"
#include "app/DictionaryHistory.h"
#include "app/gui/CopyInstances.h"
#include "app/gui/Desktop.h"
#include "app/gui/MainWindow.h"
#include "app/gui/WindowActivation.h"
#include "components/DicEdit/DicEdit.h"
#include "dict/DicFileSet.h"
#include "platform/Cp932.h"
#include "platform/Guard.h"
#include "platform/ProgramDir.h"
#include "platform/qt/GuardedConnect.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

// A selection is looked up once it has stayed this long: dragging over text
// changes it many times.
constexpr int kSelectionSettleMs = 400;
// Longer selections are sentences, not words to look up.
constexpr size_t kSelectionMaxBytes = 64;

const char* DirectionOption(Direction direction) {
    return direction == Direction::Japanese ? "--jpn" : "--eng";
}

bool IsFile(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error);
}

// The dictionary of `direction` to open for a handed-over word: the last one
// when it is of that direction, else the first registered one.
fs::path DictionaryFor(Direction direction) {
    const fs::path last = ReadLastDictionary(SettingsFilePath());
    if (!last.empty() && IsFile(last) && SetDirection(last) == direction) {
        return last;
    }
    const DictionarySlot first = ReadDictionaryList(SettingsFilePath(), direction)[0];
    return first.title.empty() ? fs::path() : fs::path(Cp932ToUtf8(first.fileName));
}

}  // namespace

bool TForm1::AcceptLookup(Direction direction, const std::string& text) {
    if (direction != search_.direction || search_.dicFile.empty() || text.empty()) {
        return false;
    }
    // The asking copy waits for the answer; the lookup may show a message.
    QTimer::singleShot(0, this, [this, text] {
        Guarded(reporter_, "AcceptLookup", [&] {
            BringToFront(*this);
            ShowHistoryWord(text);
            SettleWord();
        });
    });
    return true;
}

void TForm1::OpenForLookup(Direction direction, const std::string& text) {
    if (direction != search_.direction || search_.dicFile.empty()) {
        NoteStartupDictionary();
        const fs::path file = DictionaryFor(direction);
        search_.direction = direction;
        label11_->setText(DirectionLabel(direction));
        if (!file.empty()) {
            OpenFromCommandLine(file.string(), direction);
        }
        UpdateEmptyHint();
    }
    if (!search_.dicFile.empty()) {
        ShowHistoryWord(text);
        SettleWord();
    }
}

void TForm1::LookUpElsewhere(Direction direction, const std::string& text) {
    if (copies_->HandOverLookup(direction, text)) {
        return;
    }
    const fs::path program = QCoreApplication::applicationFilePath().toStdString();
    if (!desktop_->StartProgram(
            program, {"--lookup", DirectionOption(direction), Cp932ToUtf8(text)}, ProgramDir())) {
        WarnAboutFile(program.string(), app_text::kStartFailed);
    }
}

// X11 has the primary selection; elsewhere (Wayland) the clipboard stands in
// for it, taken only while this window is not the active one.
void TForm1::WatchSelection() {
    selectionTimer_ = new QTimer(this);
    selectionTimer_->setSingleShot(true);
    selectionTimer_->setInterval(kSelectionSettleMs);
    GuardedConnect(selectionTimer_, &QTimer::timeout, this, reporter_, "LookUpSelection",
                   [this] { LookUpSelection(); });
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto changed = [this] {
        if (settings_.selectionLookup && !isActiveWindow()) {
            selectionTimer_->start();
        }
    };
    if (clipboard->supportsSelection()) {
        GuardedConnect(clipboard, &QClipboard::selectionChanged, this, reporter_, "SelectionChange",
                       changed);
    } else {
        GuardedConnect(clipboard, &QClipboard::dataChanged, this, reporter_, "SelectionChange",
                       changed);
    }
}

// Only one short line of text that CP932 can hold, and only while a
// dictionary is open; the window stays where it is.
void TForm1::LookUpSelection() {
    if (!settings_.selectionLookup || isActiveWindow() || search_.dicFile.empty()) {
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString selected =
        clipboard
            ->text(clipboard->supportsSelection() ? QClipboard::Selection : QClipboard::Clipboard)
            .trimmed();
    if (selected.isEmpty() || selected.contains(QLatin1Char('\n')) ||
        selected.contains(QLatin1Char('\r'))) {
        return;
    }
    const std::optional<std::string> text = Utf8ToCp932Exact(selected.toStdString());
    if (!text || text->size() > kSelectionMaxBytes || *text == dicEdit1_->Text()) {
        return;
    }
    ShowHistoryWord(*text);
}

}  // namespace tovix
