// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/FunctionKeyCommands.h"

#include "app/gui/MainWindow.h"
#include "editing/EntryEdit.h"

namespace tovix {
namespace {

constexpr FunctionKey F(int number) {
    return {number, Qt::NoModifier};
}

constexpr FunctionKey ShiftF(int number) {
    return {number, Qt::ShiftModifier};
}

constexpr FunctionKey CtrlF(int number) {
    return {number, Qt::ControlModifier};
}

}  // namespace

std::span<const FunctionKeyCommand> FunctionKeyCommands() {
    using T = TForm1;
    // clang-format off
    static constexpr FunctionKeyCommand kCommands[] = {
        // button, pop-up item, caption, pop-up caption, key, command
        {"Button1Click",  "PopBtn01Click", " ﾍﾙﾌﾟ",  "F01 ﾍﾙﾌﾟ",          F(1),       Call<&T::ShowKeyList>},
        {"Button2Click",  "PopBtn02Click", "検↑",    "F02 検索↑",         F(2),       [](T& w) { w.ReFind(FindDirection::Up); }},
        {"Button3Click",  "PopBtn03Click", "検↓",    "F03 検索↓",         F(3),       [](T& w) { w.ReFind(FindDirection::Down); }},
        {"Button4Click",  "PopBtn04Click", "検索",   "F04 検索",          F(4),       Call<&T::MenuFindClick>},
        {"Button5Click",  "PopBtn05Click", "語写",   "F05 語写",          F(5),       Call<&T::CopyTopEntry>},
        {"Button6Click",  "PopBtn06Click", "項写",   "F06 項写",          F(6),       Call<&T::CopyVisibleEntries>},
        {"Button7Click",  "PopBtn07Click", "英和",   "F07 英和",          F(7),       [](T& w) { w.DicOpen(Direction::English); }},
        {"Button8Click",  "PopBtn08Click", "和英",   "F08 和英",          F(8),       [](T& w) { w.DicOpen(Direction::Japanese); }},
        {"Button9Click",  "PopBtn09Click", "拡大",   "F09 拡大",          F(9),       [](T& w) { w.ShowZoom(ZoomRule::Tovix); }},
        {"Button10Click", "PopBtn10Click", "終了",   "F10 終了",          F(10),      Call<&T::CloseWithoutAsking>},
        {"Button11Click", "",              "",       "",                  ShiftF(1),  nullptr},
        {"Button12Click", "PopBtn12Click", "登録",   "Shift+F02 登録",    ShiftF(2),  [](T& w) { w.EditEntry(EditCommand::Add); }},
        {"Button13Click", "PopBtn13Click", "編集",   "Shift+F03 編集",    ShiftF(3),  [](T& w) { w.EditEntry(EditCommand::Change); }},
        {"Button14Click", "PopBtn14Click", "削除",   "Shift+F04 削除",    ShiftF(4),  [](T& w) { w.EditEntry(EditCommand::Delete); }},
        {"Button15Click", "PopBtn15Click", "原形",   "Shift+F05 原形",    ShiftF(5),  Call<&T::GoToBaseForm>},
        {"Button16Click", "",              "",       "",                  ShiftF(6),  nullptr},
        {"Button17Click", "",              "",       "",                  ShiftF(7),  nullptr},
        {"Button18Click", "",              "",       "",                  ShiftF(8),  nullptr},
        {"Button19Click", "PopBtn19Click", "拡EXM",  "Shift+F09 拡大EXM", ShiftF(9),  [](T& w) { w.ShowZoom(ZoomRule::Exm); }},
        {"Button20Click", "PopBtn20Click", "(OS)",   "Shift+F10 (OS)",    ShiftF(10), nullptr},
        {"Button21Click", "PopBtn21Click", "Copy",   "Ctrl+F01 Copy",     CtrlF(1),   Call<&T::CopySearchText>},
        {"Button22Click", "PopBtn22Click", "切替",   "Ctrl+F02 切替",     CtrlF(2),   Call<&T::FocusSelectAnother>},
        {"Button23Click", "PopBtn23Click", "Delete", "Ctrl+F03 Delete",   CtrlF(3),   Call<&T::ClearSearchField>},
        {"Button24Click", "PopBtn24Click", "Paste",  "Ctrl+F04 Paste",    CtrlF(4),   Call<&T::AppendClipboardText>},
        {"Button25Click", "PopBtn25Click", "辞替1",  "Ctrl+F05 辞替１",   CtrlF(5),   Call<&T::CopyAndSwitch>},
        {"Button26Click", "PopBtn26Click", "辞替2",  "Ctrl+F06 辞替２",   CtrlF(6),   Call<&T::ClearAndPaste>},
        {"Button27Click", "",              "",       "",                  CtrlF(7),   nullptr},
        {"Button28Click", "",              "",       "",                  CtrlF(8),   nullptr},
        {"Button29Click", "PopBtn29Click", "拡PDIC", "Ctrl+F09 拡大PDIC", CtrlF(9),   [](T& w) { w.ShowZoom(ZoomRule::Pdic); }},
        {"Button30Click", "PopBtn30Click", "(Menu)", "Ctrl+F10 (MENU)",   CtrlF(10),  nullptr},
    };
    // clang-format on
    return kCommands;
}

const FunctionKeyCommand* FindFunctionKeyCommand(std::string_view name) {
    if (name.empty()) {
        return nullptr;
    }
    for (const FunctionKeyCommand& row : FunctionKeyCommands()) {
        if (name == row.name || name == row.popupName) {
            return &row;
        }
    }
    return nullptr;
}

std::string_view ComponentName(std::string_view handlerName) {
    constexpr std::string_view kClick = "Click";
    if (handlerName.ends_with(kClick)) {
        handlerName.remove_suffix(kClick.size());
    }
    return handlerName;
}

}  // namespace tovix
