// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor of one direction's dictionary list behind the list window: the
// nine slots, the selected line, the one-entry clipboard of cut, copy and
// paste, and the moves. No window: the list window shows Lines() and calls
// one member per button; the registration window hands in a checked entry.
//
// Slots in use are always 1 .. n without gaps, so that line k of the list is
// slot k + 1 (the selection window maps lines to slots the same way). A list
// read from a settings file edited by hand is compacted when the editor is
// made. An empty list shows one empty line; that placeholder is no entry, so
// cutting, copying and deleting it do nothing.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Settings.h"

namespace tovix {

// What a button did.
enum class ListAction {
    Done,     // the list or the clipboard changed, or the registration may open
    Nothing,  // the button does not apply here (Up on the first line ...)
    Full,     // refused: nine dictionaries are registered already
};

class DictionaryListEditor {
  public:
    // `stored` as read from the settings file; slots in use move up over gaps.
    explicit DictionaryListEditor(const DictionaryList& stored);

    // The nine slots to write, in use first.
    const DictionaryList& Slots() const { return slots_; }
    // Number of slots in use.
    int Count() const;
    // The titles of the slots in use, or one empty line when none is.
    std::vector<std::string> Lines() const;
    int Selected() const { return selected_; }
    // Selects a line; out of range selects the nearest line.
    void Select(int line);
    bool HasClipboard() const { return clipboard_.has_value(); }

    // New entry: Done with `editIndex` set to the first free slot (0-based),
    // or Full.
    ListAction Add(int& editIndex) const;
    // The slot of the selected line, for the registration window.
    int EditIndex() const { return selected_; }
    // Stores a registered entry in slot `editIndex` (the first free slot or
    // one in use) and selects the line the button names: the last line after
    // an addition, the edited line after an edit.
    void Store(int editIndex, const DictionarySlot& entry);
    // After a cancelled addition: the last line is selected.
    void SelectLast();

    ListAction Up();
    ListAction Down();
    ListAction Cut();
    ListAction Copy();
    ListAction Paste();
    ListAction Delete();

  private:
    bool OnEntry() const { return selected_ < Count(); }
    void Remove(int slot);

    DictionaryList slots_;
    int selected_ = 0;
    std::optional<DictionarySlot> clipboard_;
};

// The three fields of the registration window, as typed (UTF-8).
struct RegistrationFields {
    std::string title;
    std::string fileName;
    std::string shortCut;
};

// What the registration window's OK finds: the entry to store, or the
// refusal to show (a bare message text and, for a file, its name).
struct RegistrationCheck {
    std::optional<DictionarySlot> entry;
    std::string_view refusal;
    std::string refusedFile;
};

// Checks the fields in order: a title, a dictionary file, a file name the
// settings file (CP932) can hold. The entry holds the fields in CP932 with
// the surrounding blanks the settings file drops removed; an empty shortcut
// label is stored as one blank.
RegistrationCheck EditBoxCheck(const RegistrationFields& fields);

// The shortcut label as the registration window shows it: a single blank is
// no label.
std::string ShownShortCut(std::string_view stored);

}  // namespace tovix
