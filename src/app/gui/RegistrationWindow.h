// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm12, the registration window: one dictionary of the list, typed as a
// title, a dictionary file (browsed for with "参照(&B)...") and a shortcut
// label. OK checks the fields (EditBoxCheck) and closes only with an entry to
// store; a refusal is shown and the window stays open. Cancel, Esc and the
// close button store nothing. Enter in a field does nothing.

#include <QDialog>
#include <optional>

#include "app/DictionaryListEditor.h"

class QLineEdit;
class QPushButton;

namespace tovix {

class Desktop;
class Reporter;

class TForm12 : public QDialog {
    Q_OBJECT

  public:
    // The fields start with `fields` (UTF-8).
    TForm12(const RegistrationFields& fields, Reporter& reporter, Desktop& desktop,
            QWidget* parent = nullptr);

    QLineEdit* Edit1() const { return edit1_; }
    QLineEdit* Edit2() const { return edit2_; }
    QLineEdit* Edit5() const { return edit5_; }
    QPushButton* BtnOk() const { return btnOk_; }
    QPushButton* BtnCansel() const { return btnCansel_; }
    QPushButton* BtnRef() const { return btnRef_; }

    // The checked entry once OK closed the window.
    const std::optional<DictionarySlot>& Entry() const { return entry_; }

    void BtnOkClick();
    void BtnCanselClick();
    void BtnRefClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* AddField(const char* name, const char* label, int y, int width);

    Reporter& reporter_;
    Desktop& desktop_;
    QLineEdit* edit1_;
    QLineEdit* edit2_;
    QLineEdit* edit5_;
    QPushButton* btnRef_;
    QPushButton* btnOk_;
    QPushButton* btnCansel_;
    std::optional<DictionarySlot> entry_;
};

}  // namespace tovix
