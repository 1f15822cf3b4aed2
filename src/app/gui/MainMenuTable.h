#pragma once
// The main menu of the main window as data: every item with its component
// name and caption, in menu order. A row with an empty name is a separator;
// `parent` names the menu or submenu that holds the row.

#include <span>

namespace tovix {

struct MenuRow {
    const char* parent;  // "" for the menu bar itself
    const char* name;    // component name; "" for a separator
    const char* caption;
    bool submenu = false;  // the row opens a submenu of its own
};

std::span<const MenuRow> MainMenuRows();

}  // namespace tovix
