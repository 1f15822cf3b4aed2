// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm1, the main window: the search field over the dictionary view, the
// function-key bar below, the main menu, and the state the lookup works on.
// Every message goes through the reporter (message boxes in the program, a
// recorder in the tests); the clipboard, starting programs and opening files
// go through the desktop services (a fake in the tests).
//
// The window is driven from the keyboard: the application-wide key hook
// (AppMessage) scrolls the view with the caret keys before the focused
// control sees them, and the key handlers of the search field, the view and
// the bar's buttons run the key map (KeyCommands.h). The same commands are on
// the bar's 30 buttons and in the view's pop-up menu, from one table
// (FunctionKeyCommands.h); the main menu is a table too (MainMenuTable.h).

#include <QMainWindow>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/Settings.h"
#include "app/WordHistory.h"
#include "app/gui/FunctionKeyCommands.h"
#include "app/gui/KeyCommands.h"
#include "app/gui/MainMenuTable.h"
#include "dict/BaseForms.h"
#include "dict/Lookup.h"
#include "dict/LookupView.h"
#include "dict/SearchState.h"
#include "platform/Reporter.h"
#include "views/Find.h"
#include "views/FindDirection.h"
#include "views/ZoomLines.h"

class QAction;
class QLabel;
class QFrame;
class QMenu;
class QTimer;

namespace tovix {

class CopyRegistry;
enum class EditCommand;
struct EntryFields;
struct ViewedEntry;
class Desktop;
class FunctionKeyBar;
class KeyHook;
struct OpenedDictionary;
class TBigView;
class TDicEdit;
class ToolRunner;

class TForm1 : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int kDesignWidth = 560;
    static constexpr int kDesignHeight = 420;

    // `arguments` are the command-line arguments after the program name. With
    // no reporter the window shows message boxes itself.
    explicit TForm1(const QStringList& arguments, Reporter* reporter = nullptr,
                    QWidget* parent = nullptr);
    ~TForm1() override;

    TDicEdit* DicEdit1() const { return dicEdit1_; }
    TBigView* BigView1() const { return bigView1_; }
    QLabel* Label11() const { return label11_; }
    FunctionKeyBar* Panel2() const { return panel2_; }
    QMenu* PopupMenu1() const { return popupMenu1_; }
    // The menu item (or menu) with the component name `name`.
    QAction* MenuItem(const char* name);

    SearchState& Search() { return search_; }
    const GeneralSettings& Settings() const { return settings_; }
    bool DialogOpen() const { return dialogOpen_; }
    // Whether the settings file still waits for the first paint to note the
    // dictionary opened at start-up.
    bool StartupNotePending() const { return startupNote_.has_value(); }
    // The dictionary file last handed to a new copy of the program.
    const std::string& NewWindowDic() const { return newWindowDic_; }

    // Replaces the desktop services (clipboard, starting programs, opening
    // files); the window does not own them.
    void SetDesktop(Desktop& desktop) { desktop_ = &desktop; }

    void DicEdit1Change();
    void MenuExitClick();

    // The commands of the tables (function keys, pop-up menu, main menu, key
    // map), public so that the rows name them; a row binds the argument.

    // Dictionary selection (the list of the direction) and the temporary files.
    void DicOpen(Direction direction);
    void MenuTmpFileDeleteClick();
    // 変換(&T) "StarDict 形式に変換...": the tool command of the open
    // dictionary's direction.
    void MenuTovixToStarDictClick();

    // Any dictionary file, from the file dialog, in the direction of its table.
    void MenuDicFileOpenClick();

    // The looked-up words: back and forward (Alt+Left, Alt+Right) among
    // those of this window's direction, and the list of all of them.
    void MenuHistoryBackClick();
    void MenuHistoryForwardClick();
    void MenuHistoryListClick();
    const WordHistory& History() const { return history_; }

    // A word handed over (`tovix --lookup`, another copy's history list): true
    // when this window shows a dictionary of `direction`; it then comes to the
    // front and looks the CP932 text up as soon as the event loop runs.
    bool AcceptLookup(Direction direction, const std::string& text);
    // A window started by `tovix --lookup` because no copy took the word: it
    // opens a dictionary of `direction` (the last one, else the first
    // registered) and looks the text up.
    void OpenForLookup(Direction direction, const std::string& text);
    // The search text becomes the newest looked-up word, when the view shows
    // a match for it (copied, zoomed, found, or left in the field a moment).
    void SettleWord();

    // The dictionary lists, options, fonts and colours, and the key list.
    void DicSet(Direction direction);
    void MenuOptionSetClick();
    void FontSet(FontPlace place);
    void ColorSet(FontPlace place);
    void ShowKeyList();

    // Zoom (MainWindowZoomFind.cpp): the entry at the top in the zoom window,
    // its translation broken by the [TOVIX], [EXM] or [PDIC] rule.
    void ShowZoom(ZoomRule rule);
    // Free-text find (MainWindowZoomFind.cpp): the find window, then the find;
    // the last find again in a direction.
    void MenuFindClick();
    void ReFind(FindDirection direction);
    bool FindHasRun() const { return find_.findRun; }

    // Entry editing (MainWindowEntryEdit.cpp): the entry window of the
    // direction, then the edit of the set; the view then shows the result.
    void EditEntry(EditCommand command);

    // The key map's own commands.
    void FocusSearchField();
    void EmptySearchField();
    void SetTopLineAndCaret(ViewLineIndex line);
    void ToggleMaximized();
    void ShowPopupMenu();

    // Keys: the hook, then the handler of the control with the focus. A
    // handler may clear `key` to keep the control from handling it too.
    void AppMessage(int key, Qt::KeyboardModifiers modifiers);
    void DicEdit1KeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void BigView1KeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);

    // Button n's command, 1 .. 30 (FunctionKeyCommands.h).
    void ButtonClick(int n);
    // The command of a button or pop-up handler named in the command table
    // ("Button5Click", "PopBtn05Click"); an unknown name does nothing.
    void RunCommand(std::string_view name);

    // The commands of the function-key bar and the pop-up menu; the command
    // table names the buttons that run them.
    void CopyTopEntry();
    void CopyVisibleEntries();
    void CloseWithoutAsking();
    void CopySearchText();
    void ClearSearchField();
    void AppendClipboardText();
    void CopyAndSwitch();
    void ClearAndPaste();
    void MenuFuncKeyDispClick();
    void MenuHelpDispClick();
    // Switches to another running copy of the program, the one used least
    // recently; with this copy alone it stays here.
    void FocusSelectAnother();
    // Goes to the first base form of an inflected search text (食べた:
    // 食べる), which the line under the search field names.
    void GoToBaseForm();
    // Waits `ms` milliseconds; pending events other than user input run
    // meanwhile, user input waits until afterwards.
    void DelayTime(int ms);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class ViewLines;

    void ShowBaseForms(const LookupOutcome& outcome);
    // Starts indexing the part shown for base forms; while the headword index
    // indexes parts on its threads, polls it, and when it is done runs the
    // last lookup again if its base forms were pending.
    void WatchIndexing(bool basesPending);
    void IndexingStep();
    void PrepareShownPart();

    // Sets the dialog-open flag while a modal window of the program is shown.
    class DialogOpenScope {
      public:
        explicit DialogOpenScope(TForm1& form) : form_(form) { form_.dialogOpen_ = true; }
        ~DialogOpenScope() { form_.dialogOpen_ = false; }
        DialogOpenScope(const DialogOpenScope&) = delete;
        DialogOpenScope& operator=(const DialogOpenScope&) = delete;

      private:
        TForm1& form_;
    };

    void BuildPanel1();
    void BuildMenu();
    void BuildMenuItems();
    void BuildPopupMenu();
    void ConnectCommands();
    void FormCreate(const QStringList& arguments);
    void PlaceWindow();
    void ApplyAppearance();
    void EvaluateCommandLine(const QStringList& arguments);
    void OpenFromCommandLine(const std::string& file, Direction direction);
    void OpenSetFromDesktop(const std::string& file);

    // The dictionaries used before (MainWindowHistory.cpp).
    void RegisterInstalledDictionaries();
    void ReopenLastDictionary();
    void OpenFileHere(const std::filesystem::path& file);
    void FillRecentMenu();
    void NoteOpened(const std::filesystem::path& file);
    // Notes the dictionary opened at start-up once the view has first been
    // painted (or the window closes first): writing the settings file waits
    // for its flushes, which the first paint does not need.
    void NoteOpenedAfterFirstPaint(const std::filesystem::path& file);
    void NoteStartupDictionary();
    // The empty view's hint, Ctrl+O and the recent list's filling.
    void BuildHistoryParts();
    // Ctrl+O and the history items' keys, the recent list's filling.
    void ConnectHistoryItems();
    void UpdateEmptyHint();
    // Forgets the looked-up words and the recent dictionaries, in memory and
    // in their files.
    void ClearHistory();
    void LoadWordHistory();
    void SaveWordHistory();
    void ShowHistoryWord(const std::string& text);
    // Hands the word to a copy of the other direction, or starts one.
    void LookUpElsewhere(Direction direction, const std::string& text);
    // Looks up what the user selected in another program, when wanted.
    void WatchSelection();
    void LookUpSelection();
    void FormDestroy();
    void Warn(std::string_view text);
    // "英　語 : " or "日本語 : ", shown left of the search field.
    static QString DirectionLabel(Direction direction);
    void WarnAboutFile(const std::string& file, std::string_view text);

    // Dictionary selection.
    void OpenHere(const std::filesystem::path& file, Direction direction);
    // Readies the view's stores for the parts of the dictionary just opened.
    void MakeRoomForParts();
    void OpenInNewCopy(const std::filesystem::path& file, Direction direction);
    void ShowDictionary(const std::filesystem::path& file, Direction direction,
                        OpenedDictionary& opened);

    // Keys.
    // Runs the key map's actions for the key; true when there were any.
    bool RunKeyActions(KeyPlace place, int key, Qt::KeyboardModifiers modifiers);
    void CopyToClipboard(const std::string& text);
    bool WarnWhenViewEmpty();
    void Paste(bool replace);

    // Settings windows and commands (SettingsCommands.cpp).
    bool SaveDictionaryList(Direction direction, const DictionaryList& list);
    FontSettings& FontSettingsOf(FontPlace place);
    // Writes settings keys now; false, with the failure reported, when the
    // settings file could not be written.
    bool WriteSettingsNow(const std::function<void()>& write);

    // Free-text find: the outcome shown.
    void ConcludeFind(FindOutcome outcome);
    void ShowFindNotice(FindOutcome outcome);

    // Entry editing: the entry at the top, the entry window, the result.
    ViewedEntry ViewedTopEntry() const;
    std::optional<EntryFields> RunEntryWindow(EditCommand command, const EntryFields& offered);
    void ShowEditedEntry(const std::string& headword);
    void ReloadPart();
    void ReloadSet();

    void RunCommand(const FunctionKeyCommand& command, std::string_view handler);

    // The tool commands of the 作成(&M) and 変換(&T) menus (ToolCommands.cpp):
    // a menu item's command in its direction, the names from its tool window,
    // its chain run by the tool runner.
    void RunToolCommand(MenuTool tool);
    void ReopenWhenRewritten(const std::string& dicFile);

    std::unique_ptr<Reporter> ownReporter_;
    Reporter& reporter_;
    std::unique_ptr<Desktop> ownDesktop_;
    Desktop* desktop_;

    QFrame* panel1_ = nullptr;
    QLabel* label11_ = nullptr;
    // Under the search field: the base forms of an inflected text.
    QLabel* baseForms_ = nullptr;
    TDicEdit* dicEdit1_ = nullptr;
    TBigView* bigView1_ = nullptr;
    FunctionKeyBar* panel2_ = nullptr;
    QLabel* emptyHint_ = nullptr;
    QTimer* settleTimer_ = nullptr;
    QTimer* selectionTimer_ = nullptr;
    QMenu* popupMenu1_ = nullptr;
    std::map<std::string, QAction*> menuItems_;
    std::map<std::string, QMenu*> menus_;
    bool menuItemsBuilt_ = false;
    std::unique_ptr<LookupView> viewLines_;
    std::unique_ptr<KeyHook> keyHook_;
    CopyRegistry* copies_ = nullptr;
    std::unique_ptr<ToolRunner> toolRunner_;

    SearchState search_;
    GeneralSettings settings_;
    std::string newWindowDic_;
    QString mainCaption_;
    bool dialogOpen_ = false;
    // The free-text find's state; the find-again keys wait for a find to run.
    FindState find_;
    // The options window's page when it last closed; 0 at start.
    int lastOptionsPage_ = 0;
    bool inLookup_ = false;
    WordHistory history_;
    // The field's text matches a headword (the last lookup's outcome).
    bool searchMatched_ = false;
    // The field's text at the last lookup: a text that grew by more than
    // one character came in at once (pasted or committed) and is a phrase.
    std::string lastFieldText_;
    // The base forms the last lookup found.
    std::vector<BaseForm> bases_;
    QTimer* indexingTimer_ = nullptr;
    // Indexes the shown part once the field rests.
    QTimer* prepareTimer_ = nullptr;
    // The last lookup is run again when the indexing ends; the phrase flag
    // it ran with; set while it runs again (which is not run again itself).
    bool lookUpAgain_ = false;
    bool lastPhrase_ = false;
    bool lookingUpAgain_ = false;
    bool destroyed_ = false;
    // Set while the constructor opens the start-up dictionary.
    bool starting_ = false;
    // The start-up dictionary still to be noted in the recent list.
    std::optional<std::filesystem::path> startupNote_;
};

}  // namespace tovix
