// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm2, the options window: four pages, each with its own Cancel and Save
// buttons. Save stores the settings of its own page only into the main
// window's settings (written to the file at exit) and closes; Cancel closes
// without storing. The window opens on the page it was last closed on. Esc
// asks whether to go back to the main window, and closes without storing on
// Yes.
//
//   "　画面表示位置　"  keep the main and the zoom window's place
//   "　　履歴設定　　"  reopening the last dictionary at start; the history's
//                       size, and a button that empties it at once
//   "　表示情報設定　"  function-key bar; zoom wrap and its length (2 .. 512)
//   "入力"              the input-method n of the romaji conversion; looking up
//                       what other programs select

#include <QDialog>
#include <functional>

#include "app/Settings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace tovix {

class Reporter;

class TForm2 : public QDialog {
    Q_OBJECT

  public:
    // `settings` is the main window's; `lastPage` its remembered page, set
    // again when the window closes.
    TForm2(GeneralSettings& settings, int& lastPage, Reporter& reporter, QWidget* parent = nullptr);

    QTabWidget* TabNote() const { return tabNote_; }
    QCheckBox* CheckFormMain() const { return checkFormMain_; }
    QCheckBox* CheckFormView() const { return checkFormView_; }
    QCheckBox* CheckFnKeyDisp() const { return checkFnKeyDisp_; }
    QCheckBox* CheckWrapSet() const { return checkWrapSet_; }
    QLineEdit* Edit1() const { return edit1_; }
    QCheckBox* CheckImeN() const { return checkImeN_; }
    QCheckBox* CheckSelectionLookup() const { return checkSelectionLookup_; }
    QCheckBox* CheckReopenLast() const { return checkReopenLast_; }
    QSpinBox* HistorySize() const { return historySize_; }
    QPushButton* BtnHistoryClear() const { return btnHistoryClear_; }

    // What 履歴の消去 runs: it empties the history at once, not at Save.
    void SetClearHistory(std::function<void()> clear) { clearHistory_ = std::move(clear); }

    void BtnFormSaveClick();
    void BtnFileSaveClick();
    void BtnDispSaveClick();
    void BtnFormCanselClick();
    void BtnFileCanselClick();
    void BtnDispCanselClick();
    void BtnInputSaveClick();
    void BtnInputCanselClick();

    void done(int result) override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct Page;
    QWidget* AddPage(const Page& page);
    QCheckBox* AddCheck(QWidget* page, const char* name, const char* caption, int y);
    void BuildDisplayPage(QWidget* page);
    void BuildInputPage(QWidget* page);
    void BuildHistoryPage(QWidget* page);

    GeneralSettings& settings_;
    int& lastPage_;
    Reporter& reporter_;
    QTabWidget* tabNote_;
    QCheckBox* checkFormMain_ = nullptr;
    QCheckBox* checkFormView_ = nullptr;
    QCheckBox* checkFnKeyDisp_ = nullptr;
    QCheckBox* checkWrapSet_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QCheckBox* checkImeN_ = nullptr;
    QCheckBox* checkSelectionLookup_ = nullptr;
    QCheckBox* checkReopenLast_ = nullptr;
    QSpinBox* historySize_ = nullptr;
    QPushButton* btnHistoryClear_ = nullptr;
    std::function<void()> clearHistory_;
};

}  // namespace tovix
