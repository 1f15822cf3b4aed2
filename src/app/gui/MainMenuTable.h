// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main menu of the main window as data: every menu and item with its
// component name, caption and command, in menu order. A row with an empty
// name is a separator; `parent` names the menu or submenu that holds the row.
// An item runs its command, or its tool command in its direction
// (RunToolCommand, tools/Chains.h); an item with neither is shown disabled.
// The handler of an item is its name followed by "Click" (MenuEngExmToTovix,
// MenuEngExmToTovixClick); the items of 作成(&M) run commands of 変換(&T).

#include <optional>
#include <span>

#include "app/gui/WindowCommand.h"
#include "dict/Direction.h"
#include "tools/Chains.h"

namespace tovix {

// The tool command an item runs, and the direction it runs in.
struct MenuTool {
    ToolCommandId id;
    Direction direction;
};

struct MenuRow {
    const char* parent;  // "" for the menu bar itself
    const char* name;    // component name; "" for a separator
    const char* caption;
    WindowCommand command;  // the item's command (its handler "MenuExitClick"); nullptr: none
    bool submenu;           // the row opens a submenu of its own
    std::optional<MenuTool> tool = std::nullopt;
    bool disabled = false;  // shown disabled although it has a handler
};

std::span<const MenuRow> MainMenuRows();

}  // namespace tovix
