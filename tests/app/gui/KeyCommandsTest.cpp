// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/KeyCommands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/gui/FunctionKeyCommands.h"

namespace tovix {
namespace {

KeyAction B(int n) {
    return {key_command::Button, n};
}

KeyAction Do(KeyCommand command) {
    return {command, 0};
}

TEST(KeyCommandsTest, RowsThatMatchRunInTableOrder) {
    struct Case {
        const char* what;
        KeyPlace place;
        int key;
        Qt::KeyboardModifiers modifiers;
        std::vector<KeyAction> expected;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers alt = Qt::AltModifier;
    const Case cases[] = {
        {"F5", KeyPlace::Field, Qt::Key_F5, none, {B(5)}},
        {"Shift+F5", KeyPlace::View, Qt::Key_F5, shift, {B(15)}},
        {"Ctrl+F9", KeyPlace::Button, Qt::Key_F9, ctrl, {B(29)}},
        {"Ctrl+Shift+F5 counts as F5", KeyPlace::Field, Qt::Key_F5, ctrl | shift, {B(5)}},
        {"Alt+F5 does nothing", KeyPlace::Field, Qt::Key_F5, alt, {}},
        {"Alt+F4 reaches the desktop", KeyPlace::View, Qt::Key_F4, alt, {}},
        {"F10 closes", KeyPlace::Field, Qt::Key_F10, none, {B(10)}},
        {"Shift+F10 does nothing", KeyPlace::Field, Qt::Key_F10, shift, {}},
        {"Ctrl+Shift+F10 does nothing", KeyPlace::Field, Qt::Key_F10, ctrl | shift, {}},
        {"Ctrl+F10 in the view", KeyPlace::View, Qt::Key_F10, ctrl, {}},
        {"Ctrl+F10 on a button", KeyPlace::Button, Qt::Key_F10, ctrl, {B(30)}},
        {"keypad Enter zooms", KeyPlace::Field, Qt::Key_Enter, Qt::KeypadModifier, {B(9)}},
        {"Enter in the view", KeyPlace::View, Qt::Key_Return, none, {Do(key_command::FocusField)}},
        {"Esc empties the field",
         KeyPlace::Field,
         Qt::Key_Escape,
         shift,
         {Do(key_command::EmptyField)}},
        {"Backspace edits", KeyPlace::Field, Qt::Key_Backspace, none, {}},
        {"Backspace on a button",
         KeyPlace::Button,
         Qt::Key_Backspace,
         none,
         {Do(key_command::FocusField)}},
        {"Insert", KeyPlace::View, Qt::Key_Insert, ctrl, {Do(key_command::PopupMenu)}},
        {"Ctrl+X copies, then empties",
         KeyPlace::Field,
         Qt::Key_X,
         ctrl,
         {B(21), Do(key_command::EmptyField)}},
        {"Ctrl+X in the view", KeyPlace::View, Qt::Key_X, ctrl, {}},
        {"Ctrl+K copies, then switches", KeyPlace::View, Qt::Key_K, ctrl, {B(21), B(22)}},
        {"Ctrl+V in the field pastes", KeyPlace::Field, Qt::Key_V, ctrl, {B(24)}},
        {"Ctrl+V on a button empties", KeyPlace::Button, Qt::Key_V, ctrl, {B(23)}},
        {"Ctrl+V in the view", KeyPlace::View, Qt::Key_V, ctrl, {}},
        {"Ctrl+Shift+V", KeyPlace::Field, Qt::Key_V, ctrl | shift, {}},
        {"Ctrl+[", KeyPlace::Field, Qt::Key_BracketLeft, ctrl, {Do(key_command::ToggleMaximized)}},
        {"Ctrl+T", KeyPlace::Button, Qt::Key_T, ctrl, {Do(key_command::TopEntry)}},
        {"Ctrl+T in the view", KeyPlace::View, Qt::Key_T, ctrl, {}},
        {"Ctrl+N", KeyPlace::View, Qt::Key_N, ctrl, {Do(key_command::FindNext)}},
        {"plain letter", KeyPlace::Field, Qt::Key_T, none, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyActions(c.place, c.key, c.modifiers), c.expected) << c.what;
    }
}

// Guards against a command row out of place: a button on another key than
// the key map presses it with, or a pop-up item running another button.
TEST(FunctionKeyCommandsTest, EachRowIsItsButtonsOnItsKey) {
    const std::span<const FunctionKeyCommand> commands = FunctionKeyCommands();
    ASSERT_EQ(commands.size(), 30u);
    const Qt::KeyboardModifier rows[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier};
    for (int n = 1; n <= 30; ++n) {
        const FunctionKeyCommand& command = commands[static_cast<size_t>(n - 1)];
        SCOPED_TRACE(command.name);
        EXPECT_EQ(command.name, "Button" + std::to_string(n) + "Click");
        if (*command.popupName != '\0') {
            char popup[16];
            std::snprintf(popup, sizeof popup, "PopBtn%02dClick", n);
            EXPECT_STREQ(command.popupName, popup);
            EXPECT_EQ(FindFunctionKeyCommand(command.popupName), &command);
        }
        EXPECT_EQ(FindFunctionKeyCommand(command.name), &command);
        EXPECT_EQ(command.key.number, (n - 1) % 10 + 1);
        EXPECT_EQ(command.key.modifier, rows[(n - 1) / 10]);
        // Shift+F10 does nothing anywhere.
        const std::vector<KeyAction> pressed =
            KeyActions(KeyPlace::Button, Qt::Key_F1 + command.key.number - 1, command.key.modifier);
        EXPECT_EQ(pressed, n == 20 ? std::vector<KeyAction>{} : std::vector<KeyAction>{B(n)});
    }
    EXPECT_EQ(FindFunctionKeyCommand(""), nullptr);
}

}  // namespace
}  // namespace tovix
