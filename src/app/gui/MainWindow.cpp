// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "app/AppMessages.h"
#include "app/gui/Appearance.h"
#include "app/gui/CopyInstances.h"
#include "app/gui/Desktop.h"
#include "app/gui/FunctionKeyBar.h"
#include "app/gui/KeyHook.h"
#include "app/gui/MainMenuTable.h"
#include "app/gui/ToolRunner.h"
#include "app/gui/WindowActivation.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "components/MbString.h"
#include "dict/DicFileSet.h"
#include "dict/DictMessages.h"
#include "dict/HeadwordIndex.h"
#include "dict/KeyAlphabet.h"
#include "dict/Lookup.h"
#include "dict/OpenDictionary.h"
#include "platform/Guard.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "platform/ProgramDir.h"
#include "platform/Warning.h"
#include "platform/qt/GuardedConnect.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowReporter.h"

namespace tovix {
namespace {

constexpr int kPanel1Height = 41;
// The most memory made ready for a part store in advance: a set may come
// from anyone, and a huge part file must not make the window take and touch
// that much at opening; larger parts take their memory as they load.
constexpr size_t kMostRoomMade = size_t{256} << 20;
// How often the headword index is asked whether a part it indexes is done.
constexpr int kIndexingPollMs = 10;
// How long the field rests before the shown part is indexed ahead of need:
// indexing beside quick typing competes with the keystrokes for the
// processor and the process's memory map.
constexpr int kPrepareAfterRestMs = 300;

std::string Utf8(const QString& text) {
    return text.toStdString();
}

// The name this window registers under among the running copies: the
// process id, and a number for further windows of the same process.
QString CopyName() {
    static int windows = 0;
    const int n = ++windows;
    const QString pid = QString::number(QCoreApplication::applicationPid());
    return n == 1 ? pid : pid + QStringLiteral(".%1").arg(n);
}

}  // namespace

// The main view as the lookup sees it: without word wrap, view line n is text
// line n of the loaded file.
class TForm1::ViewLines : public LookupView {
  public:
    explicit ViewLines(TBigView& view) : view_(view) { spare_.KeepStorage(); }
    ~ViewLines() override { JoinRoomThreads(); }
    ViewLines(const ViewLines&) = delete;
    ViewLines& operator=(const ViewLines&) = delete;

    LineCount ViewLineCount() const override { return view_.ViewLineCount(); }
    std::string_view ViewLine(ViewLineIndex n) const override {
        return view_.Lines().View(view_.ViewLineToLine(n).value);
    }
    std::uint64_t Revision() const override { return view_.Lines().Revision(); }
    // The file is read in full before the view changes: a failure other
    // than a file error leaves the part shown before. It is read into the
    // storage of the part shown before the last, so that a change of part
    // touches no fresh memory once the largest part has been shown or the
    // stores made ready in advance are taken.
    void LoadFromFile(const std::filesystem::path& path) override {
        TakeRoomIfReady();
        try {
            spare_.LoadFromFile(path);
        } catch (const IoError&) {
            view_.Clear();
            throw;
        }
        view_.ExchangeLines(spare_);
        if (standby_) {
            // The lines shown until now are dropped for the second store
            // made ready.
            spare_ = std::move(*standby_);
            standby_.reset();
        }
    }
    ViewLineIndex TopLine() const override { return view_.TopLine(); }
    void SetTopLine(ViewLineIndex n) override { view_.SetTopLine(n); }

    // Makes two stores large enough for the largest part of the set, on a
    // thread of its own while the window carries on; the changes of part
    // take them once they are ready and never wait for them. Neither does
    // opening another dictionary: the stores still being made for the one
    // before are no longer wanted, and their thread is joined once done.
    void MakeRoomForParts(const std::filesystem::path& dicFile, Direction direction) {
        RetireRoomThread();
        room_ = std::make_shared<Room>();
        roomThread_ = std::thread([room = room_, dicFile, direction] {
            try {
                const size_t largest = std::min(LargestPart(dicFile, direction), kMostRoomMade);
                for (TBvStrings* store : {&room->first, &room->second}) {
                    if (!room->unwanted.load()) {
                        store->MakeRoomFor(largest);
                    }
                }
            } catch (const std::bad_alloc&) {
                // The loads then take their memory as they go.
            }
            if (room->unwanted.load()) {
                room->first = TBvStrings();
                room->second = TBvStrings();
            }
            room->ready.store(true, std::memory_order_release);
        });
    }

  private:
    // The stores made ready in advance; the thread leaves them alone once
    // `ready` is set. `unwanted`: another dictionary was opened first.
    struct Room {
        TBvStrings first;
        TBvStrings second;
        std::atomic<bool> ready = false;
        std::atomic<bool> unwanted = false;
    };
    struct RetiredRoom {
        std::shared_ptr<Room> room;
        std::thread thread;
    };

    static size_t LargestPart(const std::filesystem::path& dicFile, Direction direction) {
        size_t largest = 0;
        for (int part = 1; part <= AlphabetSize(direction); ++part) {
            std::error_code error;
            const std::uintmax_t size =
                std::filesystem::file_size(PartFileName(dicFile, part), error);
            if (!error) {
                largest = std::max<size_t>(largest, size);
            }
        }
        return largest;
    }

    // A change of part before the stores are ready loads into fresh memory
    // rather than wait for them: a thread touching tens of megabytes is slow
    // on a busy machine.
    void TakeRoomIfReady() {
        if (!room_ || !room_->ready.load(std::memory_order_acquire)) {
            return;
        }
        spare_ = std::move(room_->first);
        standby_ = std::move(room_->second);
        room_.reset();
    }

    // The thread of the stores made for the dictionary shown until now goes
    // to the retired ones, which are joined once their stores are ready.
    void RetireRoomThread() {
        std::erase_if(retired_, [](RetiredRoom& retired) {
            if (!retired.room->ready.load(std::memory_order_acquire)) {
                return false;
            }
            retired.thread.join();
            return true;
        });
        if (!roomThread_.joinable()) {
            return;
        }
        if (!room_ || room_->ready.load(std::memory_order_acquire)) {
            roomThread_.join();  // it is done
            room_.reset();
            return;
        }
        room_->unwanted.store(true);
        retired_.push_back({std::move(room_), std::move(roomThread_)});
    }

    void JoinRoomThreads() {
        if (roomThread_.joinable()) {
            roomThread_.join();
        }
        for (RetiredRoom& retired : retired_) {
            retired.thread.join();
        }
    }

    TBigView& view_;
    TBvStrings spare_;
    std::optional<TBvStrings> standby_;
    std::shared_ptr<Room> room_;
    std::thread roomThread_;
    std::vector<RetiredRoom> retired_;
};

TForm1::TForm1(const QStringList& arguments, Reporter* reporter, QWidget* parent)
    : QMainWindow(parent),
      ownReporter_(reporter == nullptr ? std::make_unique<WindowReporter>(this) : nullptr),
      reporter_(reporter == nullptr ? *ownReporter_ : *reporter),
      ownDesktop_(std::make_unique<QtDesktop>()),
      desktop_(ownDesktop_.get()) {
    setWindowTitle(QtText(app_text::kMainCaption));
    // The window's own font, about 19 pixels high: the desktop's font at the
    // size of the default search field and view fonts, so that they share one
    // loaded font. The menu bar keeps the desktop's menu font.
    auto* central = new QWidget(this);
    QFont form = QApplication::font();
    form.setPointSize(14);
    central->setFont(form);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildPanel1();
    layout->addWidget(panel1_);
    baseForms_ = new QLabel(central);
    baseForms_->setObjectName(QStringLiteral("BaseForms"));
    baseForms_->setContentsMargins(8, 0, 8, 2);
    baseForms_->hide();
    layout->addWidget(baseForms_);
    bigView1_ = new TBigView(central);
    bigView1_->setObjectName(QStringLiteral("BigView1"));
    bigView1_->SetScrollBar(TScrollStyle::ssVertical);
    bigView1_->SetViewTabStop(2);
    bigView1_->SetWrapByte(512);
    bigView1_->SetWordWrap(false);
    bigView1_->SetMaxChar(255);
    bigView1_->SetScrollSense(1);
    bigView1_->SetScOver(true);
    bigView1_->SetBvStyle({TBvStyles::bvClientLow, TBvStyles::bvDblFrame});
    bigView1_->SetCaret(false);
    bigView1_->SetSelect(false);
    layout->addWidget(bigView1_, 1);
    panel2_ = new FunctionKeyBar(FunctionKeyCommands(), central);
    layout->addWidget(panel2_);
    setCentralWidget(central);
    BuildMenu();
    BuildPopupMenu();
    BuildHistoryParts();
    WatchSelection();
    indexingTimer_ = new QTimer(this);
    indexingTimer_->setSingleShot(true);
    indexingTimer_->setInterval(kIndexingPollMs);
    GuardedConnect(indexingTimer_, &QTimer::timeout, this, reporter_, "IndexingTimer",
                   [this] { IndexingStep(); });
    prepareTimer_ = new QTimer(this);
    prepareTimer_->setSingleShot(true);
    prepareTimer_->setInterval(kPrepareAfterRestMs);
    GuardedConnect(prepareTimer_, &QTimer::timeout, this, reporter_, "PrepareTimer",
                   [this] { PrepareShownPart(); });
    resize(kDesignWidth, kDesignHeight);

    viewLines_ = std::make_unique<ViewLines>(*bigView1_);
    toolRunner_ = std::make_unique<ToolRunner>(*this, reporter_);
    ConnectCommands();
    // What the first paint does not need follows it (eventFilter).
    bigView1_->viewport()->installEventFilter(this);
    dicEdit1_->setFocus();

    starting_ = true;
    Guarded(reporter_, "FormCreate", [&] { FormCreate(arguments); });
    starting_ = false;
}

TForm1::~TForm1() {
    Guarded(reporter_, "FormDestroy", [this] { NoteStartupDictionary(); });
}

QString TForm1::DirectionLabel(Direction direction) {
    return QtText(direction == Direction::Japanese ? app_text::kJapaneseLabel
                                                   : app_text::kEnglishLabel);
}

void TForm1::BuildPanel1() {
    panel1_ = new QFrame;
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setFixedHeight(kPanel1Height);
    auto* row = new QHBoxLayout(panel1_);
    row->setContentsMargins(8, 4, 8, 4);
    label11_ = new QLabel(DirectionLabel(Direction::English), panel1_);
    label11_->setObjectName(QStringLiteral("Label11"));
    dicEdit1_ = new TDicEdit(panel1_);
    dicEdit1_->setObjectName(QStringLiteral("DicEdit1"));
    dicEdit1_->setFrame(false);
    dicEdit1_->SetNoMatchMark(QtText(app_text::kNoMatchMark));
    row->addWidget(label11_);
    row->addWidget(dicEdit1_, 1);
}

// Every way in from Qt goes through the guard: the search field's and the
// view's events here, the buttons and pop-up items in RunCommand, the menu
// items in BuildMenu, the window's own events in their handlers.
void TForm1::ConnectCommands() {
    dicEdit1_->OnChange = [this](TDicEdit&) {
        Guarded(reporter_, "DicEdit1Change", [this] { DicEdit1Change(); });
    };
    dicEdit1_->OnKeyDown = [this](TDicEdit&, int& key, Qt::KeyboardModifiers modifiers) {
        Guarded(reporter_, "DicEdit1KeyDown", [&] { DicEdit1KeyDown(key, modifiers); });
    };
    dicEdit1_->installEventFilter(this);
    bigView1_->OnKeyDown = [this](TBigView&, int& key, Qt::KeyboardModifiers modifiers) {
        Guarded(reporter_, "BigView1KeyDown", [&] { BigView1KeyDown(key, modifiers); });
    };
    bigView1_->SetReporter(&reporter_);
    for (int n = 1; n <= static_cast<int>(FunctionKeyCommands().size()); ++n) {
        QPushButton* button = panel2_->Button(n);
        connect(button, &QPushButton::clicked, this, [this, n] { ButtonClick(n); });
        button->installEventFilter(this);
    }
    keyHook_ = std::make_unique<KeyHook>(
        // Keys that walk the menu bar stay with it.
        *this, [this] { return dialogOpen_ || qobject_cast<QMenuBar*>(focusWidget()) != nullptr; },
        [this](int key, Qt::KeyboardModifiers modifiers) {
            Guarded(reporter_, "AppMessage", [&] { AppMessage(key, modifiers); });
        });
    copies_ = new CopyRegistry(CopyRegistryDir(), CopyName(),
                               {[this] { return windowTitle(); }, [this] { BringToFront(*this); },
                                [this](Direction direction, const std::string& text) {
                                    bool accepted = false;
                                    Guarded(reporter_, "AcceptLookup",
                                            [&] { accepted = AcceptLookup(direction, text); });
                                    return accepted;
                                }},
                               reporter_, this);
}

// The menu bar's menus; their items are made when one of them opens, when an
// item is asked for, or just after the window's first paint, which does not
// show them.
void TForm1::BuildMenu() {
    for (const MenuRow& row : MainMenuRows()) {
        if (*row.parent != '\0') {
            continue;
        }
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(row.caption));
        menu->installEventFilter(this);
        menu->setObjectName(QString::fromUtf8(row.name));
        GuardedConnect(menu, &QMenu::aboutToShow, this, reporter_, "MenuPopup",
                       [this] { BuildMenuItems(); });
        menus_[row.name] = menu;
        menuItems_[row.name] = menu->menuAction();
    }
}

void TForm1::BuildMenuItems() {
    if (std::exchange(menuItemsBuilt_, true)) {
        return;
    }
    for (const MenuRow& row : MainMenuRows()) {
        if (*row.parent == '\0') {
            continue;
        }
        QMenu* parentMenu = menus_.at(row.parent);
        if (*row.name == '\0') {
            parentMenu->addSeparator();
            continue;
        }
        const QString caption = QString::fromUtf8(row.caption);
        QAction* action = nullptr;
        if (row.submenu) {
            QMenu* menu = parentMenu->addMenu(caption);
            menu->setObjectName(QString::fromUtf8(row.name));
            menus_[row.name] = menu;
            action = menu->menuAction();
        } else {
            action = parentMenu->addAction(caption);
            action->setEnabled((row.command != nullptr || row.tool) && !row.disabled);
            const std::string handler = std::string(row.name) + "Click";
            if (row.command != nullptr) {
                GuardedConnect(action, &QAction::triggered, this, reporter_, handler,
                               [this, command = row.command] { command(*this); });
            } else if (row.tool) {
                GuardedConnect(action, &QAction::triggered, this, reporter_, handler,
                               [this, tool = *row.tool] { RunToolCommand(tool); });
            }
        }
        action->setObjectName(QString::fromUtf8(row.name));
        menuItems_[row.name] = action;
    }
    // Nothing to find again before a first find.
    MenuItem("MenuReFindNext")->setEnabled(false);
    MenuItem("MenuRefindPrior")->setEnabled(false);
    ConnectHistoryItems();
}

void TForm1::MakeRoomForParts() {
    // The view's lines are always a ViewLines (the constructor).
    static_cast<ViewLines&>(*viewLines_).MakeRoomForParts(search_.dicFile, search_.direction);
}

QAction* TForm1::MenuItem(const char* name) {
    BuildMenuItems();
    return menuItems_.at(name);
}

void TForm1::FormCreate(const QStringList& arguments) {
    search_.currentPart = 0;
    search_.currentPartCopy = 0;
    dialogOpen_ = false;
    std::error_code error;
    const bool firstStart = !std::filesystem::exists(SettingsFilePath(), error);
    settings_ = ReadIniFileValue(SettingsFilePath());
    if (firstStart) {
        RegisterInstalledDictionaries();
    }
    LoadWordHistory();
    search_.imeStyleN = settings_.imeStyleN;
    find_.previousFindText = settings_.findText;
    find_.matchCase = settings_.findMatchCase;
    PlaceWindow();
    ApplyAppearance();
    panel2_->setVisible(settings_.showFunctionKeys);
    mainCaption_ = windowTitle();
    EvaluateCommandLine(arguments);
    UpdateEmptyHint();
}

void TForm1::PlaceWindow() {
    const WindowBounds& b = settings_.mainWindow;
    if (b.mem && b.left != -1 && b.top != -1 && b.width != -1 && b.height != -1) {
        move(b.left, b.top);
        resize(b.width, b.height);
        return;
    }
    resize(kDesignWidth, kDesignHeight);
    if (QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move((area.width() - width()) / 2, (area.height() - height()) / 2);
    }
}

void TForm1::ApplyAppearance() {
    const Appearance field = AppearanceFromSettings(settings_.searchField, palette());
    dicEdit1_->setFont(field.font);
    QPalette fieldPalette = dicEdit1_->palette();
    fieldPalette.setColor(QPalette::Text, field.fontColor);
    fieldPalette.setColor(QPalette::Base, field.backColor);
    dicEdit1_->setPalette(fieldPalette);

    const Appearance view = AppearanceFromSettings(settings_.view, palette());
    bigView1_->setFont(view.font);
    bigView1_->SetFontColor(view.fontColor);
    bigView1_->SetColor(view.backColor);
}

void TForm1::EvaluateCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty()) {
        search_.direction = Direction::English;
        if (settings_.reopenLast) {
            ReopenLastDictionary();
        }
        return;
    }
    search_.direction = Direction::None;
    if (arguments.size() == 1) {
        OpenSetFromDesktop(Utf8(arguments[0]));
        return;
    }
    if (arguments.size() != 2) {
        Warn(app_text::kArgumentsWrong);
        return;
    }
    const QString word = arguments[1].toLower();
    if (word == QStringLiteral("eng")) {
        search_.direction = Direction::English;
        label11_->setText(DirectionLabel(Direction::English));
    } else if (word == QStringLiteral("jpn")) {
        search_.direction = Direction::Japanese;
        label11_->setText(DirectionLabel(Direction::Japanese));
    } else {
        Warn(app_text::kDirectionWordWrong);
        return;
    }
    OpenFromCommandLine(Utf8(arguments[0]), search_.direction);
}

// A dictionary file opened from a file manager: the set's table tells the
// direction. A file that is not there is named as missing; any other single
// argument gets the warning of a wrong command line.
void TForm1::OpenSetFromDesktop(const std::string& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        WarnAboutFile(file, dict_text::kDicFileMissing);
        return;
    }
    const std::optional<Direction> direction = SetDirection(file);
    if (!direction) {
        Warn(app_text::kArgumentsWrong);
        return;
    }
    search_.direction = *direction;
    label11_->setText(DirectionLabel(*direction));
    OpenFromCommandLine(file, *direction);
}

// All or nothing: when the dictionary file or its table cannot be read the
// window has no dictionary, but keeps the direction of the command line.
void TForm1::OpenFromCommandLine(const std::string& file, Direction direction) {
    newWindowDic_.clear();
    OpenedDictionary opened = OpenDictionary(file, direction);
    if (!opened.Opened()) {
        ShowWarning(reporter_, opened.message);
        return;
    }
    ShowDictionary(file, direction, opened);
}

namespace {

// Whether the field's text grew by more than one character at once: pasted,
// or committed by an input method, rather than typed.
bool CameInAtOnce(std::string_view before, std::string_view after) {
    size_t common = 0;
    for (size_t place = 0; place < after.size() && place < before.size();) {
        const size_t next = place;
        NextChar(after, place);
        if (after.substr(next, place - next) != before.substr(next, place - next)) {
            break;
        }
        common = place;
    }
    return MbLength(after.substr(common)) > 1;
}

}  // namespace

// A failed lookup leaves the view where it was and the field as typed.
void TForm1::DicEdit1Change() {
    if (inLookup_) {
        return;
    }
    const QScopedValueRollback<bool> busy(inLookup_, true);
    const std::string text = dicEdit1_->Text();
    const bool phrase = lookingUpAgain_ ? lastPhrase_ : CameInAtOnce(lastFieldText_, text);
    lastPhrase_ = phrase;
    search_.findBaseForms = true;
    const LookupOutcome outcome = Lookup(search_, *viewLines_, reporter_, text, phrase);
    if (outcome.fieldChanged) {
        dicEdit1_->SetText(outcome.fieldText);
    }
    lastFieldText_ = outcome.fieldText;
    dicEdit1_->end(false);
    // A text that matches nothing is shown so; romaji that the next letters
    // may still complete is not yet a miss, nor a text whose base form was
    // found instead.
    dicEdit1_->SetNoMatch(!outcome.matched && !outcome.movedToBase && !outcome.romajiPending &&
                          !outcome.fieldText.empty() && !search_.dicFile.empty() &&
                          search_.direction != Direction::None);
    // A match left in the field a moment counts as looked up.
    searchMatched_ = outcome.matched && !outcome.fieldText.empty() && !search_.dicFile.empty();
    if (searchMatched_) {
        settleTimer_->start();
    } else {
        settleTimer_->stop();
    }
    dicEdit1_->SetUsedPart(outcome.leadingPart);
    ShowBaseForms(outcome);
    WatchIndexing(outcome.basesPending);
    if (outcome.writtenFormsMissing) {
        reporter_.Message(MessageKind::Information,
                          FileMessage(WrittenFormFileName(search_.dicFile).string(),
                                      dict_text::kWrittenFormsMissing),
                          kButtonOk);
    }
}

// The line under the field names the base forms, and for a phrase the part
// that was looked up; it is hidden when there is nothing to say.
void TForm1::ShowBaseForms(const LookupOutcome& outcome) {
    bases_ = outcome.bases;
    if (bases_.empty()) {
        baseForms_->hide();
        return;
    }
    const std::string_view text = outcome.fieldText;
    const std::string_view word =
        outcome.leadingPart > 0 ? text.substr(0, outcome.leadingPart) : text;
    QString line = QtTextFromCp932(BaseFormLine(word, bases_));
    if (!outcome.movedToBase) {
        line += QtText(app_text::kBaseFormKeyHint);
    }
    if (search_.direction == Direction::English && EnglishIrregularFormsMissing()) {
        line += QtText(app_text::kIrregularFormsMissing);
    }
    baseForms_->setText(line);
    baseForms_->show();
}

void TForm1::WatchIndexing(bool basesPending) {
    prepareTimer_->start();
    lookUpAgain_ = basesPending && !lookingUpAgain_;
    if (search_.headwords->Building() && !indexingTimer_->isActive()) {
        indexingTimer_->start();
    }
}

// One part is indexed at a time: the shown one, once nothing else is.
void TForm1::PrepareShownPart() {
    if (search_.dicFile.empty() || search_.headwords->Building()) {
        return;
    }
    search_.headwords->Prepare(search_.dicFile, search_.direction, search_.currentPart);
    if (search_.headwords->Building() && !indexingTimer_->isActive()) {
        indexingTimer_->start();
    }
}

void TForm1::IndexingStep() {
    search_.headwords->CollectReady();
    if (search_.headwords->Building()) {
        indexingTimer_->start();
        return;
    }
    if (std::exchange(lookUpAgain_, false)) {
        const QScopedValueRollback<bool> again(lookingUpAgain_, true);
        DicEdit1Change();
    }
}

void TForm1::GoToBaseForm() {
    if (bases_.empty()) {
        return;
    }
    LookupOutcome outcome;
    MoveToText(search_, *viewLines_, reporter_, bases_.front().word, outcome);
}

void TForm1::MenuExitClick() {
    if (reporter_.Message(MessageKind::Information, PaddedMessage(app_text::kExitQuestion),
                          kButtonYes | kButtonNo) == MessageResult::Yes) {
        close();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    Guarded(reporter_, "FormDestroy", [this] { FormDestroy(); });
    event->accept();
}

// The running copies are enumerated most recently active first.
void TForm1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && copies_ != nullptr) {
        Guarded(reporter_, "FormActivate", [this] { copies_->MarkActive(); });
    }
    QMainWindow::changeEvent(event);
}

// Esc in a menu of the bar ends the menu bar's hold on the keyboard. The
// bar's buttons hand their keys to FormKeyDown and then handle them as
// usual. The search field leaves some keys to the window without calling its
// own handler: they reach DicEdit1KeyDown here (Ctrl+V pastes).
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && watched == bigView1_->viewport()) {
        bigView1_->viewport()->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            Guarded(reporter_, "FormPaint", [this] {
                NoteStartupDictionary();
                BuildMenuItems();
            });
        });
    }
    if (event->type() != QEvent::KeyPress) {
        return QMainWindow::eventFilter(watched, event);
    }
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    int key = keyEvent->key();
    if (key == Qt::Key_Escape && qobject_cast<QMenu*>(watched) != nullptr) {
        // Esc in a menu of the menu bar closes it and gives the keyboard back
        // to the search field: the bar keeps no focus that would open a menu
        // at the next letter typed. (The menu hands the bar its keyboard mode
        // while it handles Esc; the search field takes the focus after that.)
        QTimer::singleShot(0, this, [this] {
            Guarded(reporter_, "MenuEscape", [this] { dicEdit1_->setFocus(); });
        });
        return false;
    }
    if (watched == dicEdit1_) {
        if (TDicEdit::SwallowsKey(key, keyEvent->modifiers())) {
            Guarded(reporter_, "DicEdit1KeyDown",
                    [&] { DicEdit1KeyDown(key, keyEvent->modifiers()); });
        }
    } else if (qobject_cast<QPushButton*>(watched) != nullptr) {
        Guarded(reporter_, "FormKeyDown", [&] { FormKeyDown(key, keyEvent->modifiers()); });
    }
    return false;
}

void TForm1::FormDestroy() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    NoteStartupDictionary();
    if (InNormalState(*this)) {
        settings_.mainWindow.left = x();
        settings_.mainWindow.top = y();
        settings_.mainWindow.width = width();
        settings_.mainWindow.height = height();
    }
    bigView1_->Clear();
    bigView1_->SetWordWrap(false);
    bigView1_->SetWrapByte(80);
    try {
        WriteIniFileValue(SettingsFilePath(), settings_);
    } catch (const IoError& e) {
        reporter_.Message(MessageKind::Warning,
                          FileMessage(e.path().string(), app_text::kSettingsUnwritable), kButtonOk);
    }
}

void TForm1::Warn(std::string_view text) {
    ShowWarning(reporter_, PaddedMessage(text));
}

void TForm1::WarnAboutFile(const std::string& file, std::string_view text) {
    ShowWarning(reporter_, FileMessage(file, text));
}

}  // namespace tovix
