// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The entry windows "Tovix (登録 / 編集 / 削除)": TForm6 for an English-
// Japanese entry (英語, 和訳), TForm5 for a Japanese-English one (よみ,
// [漢字], 英訳, with a hint on how the written form is typed). The command
// that opens a window sets its mode: only its own button is enabled, and a
// change keeps the headword, a delete every field, read-only.
//
//   登録実行 / 編集実行 / 削除実行, Enter in a field   EditBoxCheck: the fields
//                                                   are checked and, when
//                                                   they pass, taken and the
//                                                   window closed; else the
//                                                   refusal is shown and it
//                                                   stays open
//   ｷｬﾝｾﾙ, Esc anywhere, closing it                  cancel
//
// Each label's key (Alt+E ...) focuses its field.

#include <QDialog>
#include <optional>
#include <vector>

#include "editing/Entry.h"
#include "platform/Reporter.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tovix {

class TEntryWindow : public QDialog {
    Q_OBJECT

  public:
    // The fields start with `offered` (CP932).
    TEntryWindow(Direction direction, EditCommand mode, const EntryFields& offered,
                 Reporter& reporter, QWidget* parent);

    QLineEdit* Edit(int n) const { return edits_.at(static_cast<size_t>(n - 1)); }
    QPushButton* BtnAdd() const { return btnAdd_; }
    QPushButton* BtnChg() const { return btnChg_; }
    QPushButton* BtnDel() const { return btnDel_; }
    QPushButton* BtnCansel() const { return btnCansel_; }

    // The checked fields once the window closed accepted.
    const std::optional<EntryFields>& Accepted() const { return accepted_; }

    void EditBoxCheck();
    void BtnCanselClick();
    // The keys of the fields and of the window; true when the key was used.
    bool TEditKeyDown(int key);
    bool FormKeyDown(int key);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPushButton* AddButton(const char* name, std::string_view caption, int column, int y);
    void SetMode(EditCommand mode);

    Direction direction_;
    EntryFields offered_;
    Reporter& reporter_;
    std::vector<QLineEdit*> edits_;
    QPushButton* btnAdd_ = nullptr;
    QPushButton* btnChg_ = nullptr;
    QPushButton* btnDel_ = nullptr;
    QPushButton* btnCansel_ = nullptr;
    std::optional<EntryFields> accepted_;
};

// The English-Japanese window: 552 x 103, Edit1 英語, Edit2 和訳.
class TForm6 : public TEntryWindow {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 552;
    static constexpr int kClientHeight = 103;

    TForm6(EditCommand mode, const EntryFields& offered, Reporter& reporter,
           QWidget* parent = nullptr)
        : TEntryWindow(Direction::English, mode, offered, reporter, parent) {}
};

// The Japanese-English window: 552 x 153, Edit1 よみ, Edit2 [漢字], Edit3 英訳,
// and the hint Label4.
class TForm5 : public TEntryWindow {
    Q_OBJECT

  public:
    static constexpr int kClientWidth = 552;
    static constexpr int kClientHeight = 153;

    TForm5(EditCommand mode, const EntryFields& offered, Reporter& reporter,
           QWidget* parent = nullptr)
        : TEntryWindow(Direction::Japanese, mode, offered, reporter, parent) {}
};

}  // namespace tovix
