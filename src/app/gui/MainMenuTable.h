// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main menu of the main window as data: every menu and item with its
// component name, caption and command, in menu order. A row with an empty
// name is a separator; `parent` names the menu or submenu that holds the row.
// An item runs its command, or the tool command of its handler name
// (RunToolCommand, tools/Chains.h); an item with neither is shown disabled.

#include <span>

namespace tovix {

class TForm1;

struct MenuRow {
    const char* parent;  // "" for the menu bar itself
    const char* name;    // component name; "" for a separator
    const char* caption;
    void (TForm1::*command)();  // the item's handler, "MenuExitClick"; nullptr: none yet
    bool submenu;               // the row opens a submenu of its own
    // A tool command's handler, "MenuEngExmToTovixClick"; nullptr: none.
    const char* tool = nullptr;
    bool disabled = false;  // shown disabled although it has a handler
};

std::span<const MenuRow> MainMenuRows();

}  // namespace tovix
