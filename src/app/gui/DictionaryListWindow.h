// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm11, the dictionary list window of one direction: the titles of the
// registered dictionaries in a list, and buttons that add, edit, move, cut,
// copy, paste and delete them (DictionaryListEditor holds the list). OK
// saves the nine slots and closes; Cancel, Esc and the close button leave
// the settings as they were.

#include <QDialog>
#include <functional>

#include "app/DictionaryListEditor.h"

class QListWidget;
class QPushButton;

namespace tovix {

class Desktop;
class Reporter;

class TForm11 : public QDialog {
    Q_OBJECT

  public:
    // Writes the nine slots; false when they could not be written (and the
    // failure was reported), which keeps the window open.
    using Save = std::function<bool(const DictionaryList&)>;

    TForm11(const DictionaryList& stored, Reporter& reporter, Desktop& desktop, Save save,
            QWidget* parent = nullptr);

    QListWidget* ListBox1() const { return listBox1_; }
    // The button with the component name `name` ("BtnAdd" ...).
    QPushButton* Button(const char* name) const;
    const DictionaryListEditor& Editor() const { return editor_; }

    void BtnAddClick();
    void BtnEditClick();
    void BtnUpClick();
    void BtnDownClick();
    void BtnCutClick();
    void BtnCopyClick();
    void BtnPasteClick();
    void BtnDelClick();
    void BtnOkClick();
    void BtnCanselClick();

  private:
    // The registration window over this one; the checked entry, if any.
    std::optional<DictionarySlot> Register(const RegistrationFields& fields);
    // Shows the outcome of a button: a refusal's warning, or the new list.
    void Finish(ListAction action);
    void Rebuild();

    Reporter& reporter_;
    Desktop& desktop_;
    Save save_;
    DictionaryListEditor editor_;
    QListWidget* listBox1_;
};

}  // namespace tovix
