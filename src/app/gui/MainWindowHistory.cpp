// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's way back to what was used before: the installation's default
// dictionaries registered on the first start, the last dictionary opened
// again at a start without arguments, any dictionary file opened from the
// file menu, the recently opened ones below that item, the hint an empty view
// shows, and the looked-up words with their back, forward and list commands.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "app/AppMessages.h"
#include "app/DictionaryHistory.h"
#include "app/gui/Desktop.h"
#include "app/gui/HistoryWindow.h"
#include "app/gui/MainWindow.h"
#include "app/gui/WindowHelpers.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "dict/DicFileSet.h"
#include "dict/DictMessages.h"
#include "platform/Cp932.h"
#include "platform/Guard.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "platform/ProgramDir.h"
#include "platform/qt/GuardedConnect.h"
#include "platform/qt/QtText.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

// How long a matching search text stays in the field before it counts as
// looked up: long enough that the words typed on the way to it do not.
constexpr int kSettleMs = 1500;

bool IsFile(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error);
}

}  // namespace

// An installation brings the default dictionaries along; a new settings file
// gets them in its empty lists, so that the first start has a dictionary.
void TForm1::RegisterInstalledDictionaries() {
    try {
        RegisterDefaultDictionaries(SettingsFilePath(),
                                    SharedDataDir(ExecutableDir()) / kDefaultDictionaryDir);
    } catch (const IoError& e) {
        reporter_.Message(MessageKind::Warning,
                          FileMessage(e.path().string(), app_text::kSettingsUnwritable), kButtonOk);
    }
}

// A start without arguments: the dictionary open when the program was used
// last, or, before any was opened, the first English-Japanese one registered.
// One that is gone meanwhile is passed over without a message; the direction
// is the one its table is written for.
void TForm1::ReopenLastDictionary() {
    fs::path file = ReadLastDictionary(SettingsFilePath());
    if (file.empty()) {
        const DictionarySlot first = ReadDictionaryList(SettingsFilePath(), Direction::English)[0];
        if (!first.title.empty()) {
            file = Cp932ToUtf8(first.fileName);
        }
    }
    if (file.empty() || !IsFile(file)) {
        return;
    }
    const std::optional<Direction> direction = SetDirection(file);
    if (!direction) {
        return;
    }
    search_.direction = *direction;
    label11_->setText(DirectionLabel(*direction));
    OpenFromCommandLine(file.string(), *direction);
}

// Any dictionary file, chosen in the file dialog, opened in this window in
// the direction of its table, as a dictionary file named on the command line.
void TForm1::MenuDicFileOpenClick() {
    std::optional<QString> chosen;
    {
        DialogOpenScope dialog(*this);
        chosen = desktop_->ChooseOpenFile(this, QtText(app_text::kDicFileOpenCaption),
                                          QtText(app_text::kDictionaryFilter));
    }
    if (chosen) {
        OpenFileHere(chosen->toStdString());
    }
}

void TForm1::OpenFileHere(const fs::path& file) {
    if (!IsFile(file)) {
        WarnAboutFile(file.string(), dict_text::kDicFileMissing);
        return;
    }
    const std::optional<Direction> direction = SetDirection(file);
    if (!direction) {
        WarnAboutFile(TableFileName(file).string(), dict_text::kTableFileUnreadable);
        return;
    }
    OpenHere(file, *direction);
}

// The list is read when the menu opens: another copy may have opened a
// dictionary since.
void TForm1::FillRecentMenu() {
    NoteStartupDictionary();
    QMenu* menu = MenuItem("MenuRecentDic")->menu();
    menu->clear();
    const std::vector<fs::path> recent =
        ReadRecentDictionaries(SettingsFilePath(), settings_.historySize);
    int n = 0;
    for (const fs::path& file : recent) {
        ++n;
        const QString number =
            n < 10 ? QStringLiteral("&%1 ").arg(n) : QStringLiteral("%1 ").arg(n);
        QAction* action = menu->addAction(number + QString::fromStdString(file.string()));
        GuardedConnect(action, &QAction::triggered, this, reporter_, "MenuRecentDicClick",
                       [this, file] { OpenFileHere(file); });
    }
    if (recent.empty()) {
        menu->addAction(QtText(app_text::kRecentEmpty))->setEnabled(false);
    }
}

// Every dictionary shown in the window is noted as the last one and the first
// of the recent ones, by its absolute path.
void TForm1::NoteOpened(const fs::path& file) {
    // The dictionary opened at start-up comes first, as it was opened first.
    NoteStartupDictionary();
    std::error_code error;
    const fs::path absolute = fs::absolute(file, error);
    try {
        NoteOpenedDictionary(SettingsFilePath(), error ? file : absolute, settings_.historySize);
    } catch (const IoError& e) {
        reporter_.Message(MessageKind::Warning,
                          FileMessage(e.path().string(), app_text::kSettingsUnwritable), kButtonOk);
    }
}

void TForm1::NoteOpenedAfterFirstPaint(const fs::path& file) {
    if (!starting_) {
        NoteOpened(file);
        return;
    }
    startupNote_ = file;
}

void TForm1::NoteStartupDictionary() {
    if (const std::optional<fs::path> file = std::exchange(startupNote_, std::nullopt)) {
        NoteOpened(*file);
    }
}

void TForm1::ClearHistory() {
    history_.Clear();
    startupNote_.reset();
    try {
        WriteWordHistory(WordHistoryPath(), {});
        ClearRecentDictionaries(SettingsFilePath());
    } catch (const IoError& e) {
        reporter_.Message(MessageKind::Warning,
                          FileMessage(e.path().string(), app_text::kSettingsUnwritable), kButtonOk);
    }
}

void TForm1::ConnectHistoryItems() {
    MenuItem("MenuDicFileOpen")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    MenuItem("MenuHistoryBack")->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    MenuItem("MenuHistoryForward")->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    GuardedConnect(MenuItem("MenuRecentDic")->menu(), &QMenu::aboutToShow, this, reporter_,
                   "MenuRecentDicPopup", [this] { FillRecentMenu(); });
}

void TForm1::BuildHistoryParts() {
    settleTimer_ = new QTimer(this);
    settleTimer_->setSingleShot(true);
    settleTimer_->setInterval(kSettleMs);
    GuardedConnect(settleTimer_, &QTimer::timeout, this, reporter_, "SettleTimer",
                   [this] { SettleWord(); });
    emptyHint_ = new QLabel(QtText(app_text::kNoDictionaryHint), bigView1_->viewport());
    emptyHint_->setObjectName(QStringLiteral("EmptyHint"));
    emptyHint_->setAlignment(Qt::AlignCenter);
    emptyHint_->setWordWrap(true);
    emptyHint_->setAttribute(Qt::WA_TransparentForMouseEvents);
    emptyHint_->setForegroundRole(QPalette::PlaceholderText);
    auto* layout = new QVBoxLayout(bigView1_->viewport());
    layout->addWidget(emptyHint_);
}

// The hint stands over the view while no dictionary is open; it is no line
// of the view, so nothing copies or finds it.
void TForm1::UpdateEmptyHint() {
    emptyHint_->setVisible(search_.dicFile.empty() && bigView1_->ViewLineCount().Empty());
}

// A damaged history file is reported once, after the window is up, and
// replaced by an empty history: the start goes on without it.
void TForm1::LoadWordHistory() {
    history_.SetLimit(static_cast<size_t>(settings_.historySize));
    std::vector<HistoryWord> words;
    if (ReadWordHistory(WordHistoryPath(), words) == HistoryRead::Damaged) {
        QTimer::singleShot(0, this, [this] {
            Guarded(reporter_, "LoadWordHistory", [this] {
                reporter_.Message(
                    MessageKind::Warning,
                    FileMessage(WordHistoryPath().string(), app_text::kHistoryDamaged), kButtonOk);
                SaveWordHistory();
            });
        });
    }
    history_.Assign(std::move(words));
}

// The file is read again before the word is added, so that the words another
// copy added meanwhile stay.
void TForm1::SettleWord() {
    settleTimer_->stop();
    const HistoryWord word{search_.direction, dicEdit1_->Text()};
    if (!searchMatched_ || settings_.historySize == 0) {
        return;
    }
    std::vector<HistoryWord> words;
    if (ReadWordHistory(WordHistoryPath(), words) == HistoryRead::Read) {
        history_.Assign(std::move(words));
    }
    history_.SetLimit(static_cast<size_t>(settings_.historySize));
    history_.Add(word);
    SaveWordHistory();
}

void TForm1::SaveWordHistory() {
    try {
        WriteWordHistory(WordHistoryPath(), history_.Words());
    } catch (const IoError& e) {
        reporter_.Message(MessageKind::Warning,
                          FileMessage(e.path().string(), app_text::kFileUnwritable), kButtonOk);
    }
}

// Sets the field to a word of the history: the lookup runs, but the word is
// not added again, and the walk goes on from it.
void TForm1::ShowHistoryWord(const std::string& text) {
    dicEdit1_->setFocus();
    dicEdit1_->SetText(text);  // runs the lookup
    settleTimer_->stop();
}

void TForm1::MenuHistoryBackClick() {
    if (const auto word = history_.Back(search_.direction, dicEdit1_->Text())) {
        ShowHistoryWord(*word);
    }
}

void TForm1::MenuHistoryForwardClick() {
    if (const auto word = history_.Forward(search_.direction, dicEdit1_->Text())) {
        ShowHistoryWord(*word);
    }
}

// A word of this window's direction is looked up here; one of the other
// direction goes to a copy of that direction, as `tovix --lookup` does.
void TForm1::MenuHistoryListClick() {
    std::optional<HistoryWord> chosen;
    {
        HistoryWindow window(history_.Words(), reporter_, this);
        CentreOnScreen(window);
        DialogOpenScope dialog(*this);
        window.exec();
        chosen = window.Chosen();
    }
    if (!chosen) {
        return;
    }
    if (chosen->direction == search_.direction) {
        ShowHistoryWord(chosen->text);
    } else {
        LookUpElsewhere(chosen->direction, chosen->text);
    }
}

}  // namespace tovix
