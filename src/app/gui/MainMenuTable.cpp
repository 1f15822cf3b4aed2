// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/MainMenuTable.h"

#include "app/gui/MainWindow.h"

namespace tovix {
namespace {

constexpr MenuRow Submenu(const char* parent, const char* name, const char* caption) {
    return {parent, name, caption, nullptr, true};
}

constexpr MenuRow Item(const char* parent, const char* name, const char* caption,
                       WindowCommand command = nullptr) {
    return {parent, name, caption, command, false};
}

// An item that runs a tool command.
constexpr MenuRow Tool(const char* parent, const char* name, const char* caption, MenuTool tool,
                       bool disabled = false) {
    return {parent, name, caption, nullptr, false, tool, disabled};
}

// A tool command in one direction; the length commands have none.
constexpr MenuTool Eng(ToolCommandId id) {
    return {id, Direction::English};
}
constexpr MenuTool Jpn(ToolCommandId id) {
    return {id, Direction::Japanese};
}
constexpr MenuTool Any(ToolCommandId id) {
    return {id, Direction::English};
}

constexpr MenuRow Separator(const char* parent) {
    return {parent, "", "", nullptr, false};
}

}  // namespace

std::span<const MenuRow> MainMenuRows() {
    using T = TForm1;
    using enum ToolCommandId;
    static constexpr MenuRow kRows[] = {
        Submenu("", "MenuFile", "ﾌｧｲﾙ(&F)"),
        Submenu("", "MenuMake", "作成(&M)"),
        Submenu("", "MenuTrans", "変換(&T)"),
        Submenu("", "MenuSearch", "検索(&S)"),
        Submenu("", "MenuOption", "環境設定(&K)"),
        Submenu("", "MenuHelp", "ﾍﾙﾌﾟ(&H)"),

        Item("MenuFile", "MenuEngDicOpen", "英和辞書の選択(&E)...",
             [](T& w) { w.DicOpen(Direction::English); }),
        Item("MenuFile", "MenuJpnDicOpen", "和英辞書の選択(&J)...",
             [](T& w) { w.DicOpen(Direction::Japanese); }),
        Item("MenuFile", "MenuDicFileOpen", "辞書ﾌｧｲﾙを開く(&O)...",
             Call<&T::MenuDicFileOpenClick>),
        Submenu("MenuFile", "MenuRecentDic", "最近開いた辞書(&R)"),
        Separator("MenuFile"),
        Item("MenuFile", "MenuTmpFileDelete", "中間ﾌｧｲﾙの削除(&D)",
             Call<&T::MenuTmpFileDeleteClick>),
        Separator("MenuFile"),
        Item("MenuFile", "MenuExit", "終了(&X)", Call<&T::MenuExitClick>),

        Tool("MenuMake", "MenuMake01",
             "英和辞書整形 (タブ区切 [EXM] の見出しの重複をまとめる)(&A)...", Eng(ExmTogether)),
        Tool("MenuMake", "MenuMake02",
             "英和辞書作成 (タブ区切 [EXM] を 改行区切 [TOVIX] に変換)(&B)...", Eng(ExmToTovix)),
        Separator("MenuMake"),
        Tool("MenuMake", "MenuMake03",
             "和英辞書整形 (タブ区切 [EXM] の見出しの重複をまとめる)(&C)...", Jpn(ExmTogether)),
        Tool("MenuMake", "MenuMake04",
             "和英辞書作成 (タブ区切 [EXM] を 改行区切 [TOVIX] に変換)(&D)...", Jpn(ExmToTovix)),
        Separator("MenuMake"),
        Tool("MenuMake", "MenuMake05",
             "英和辞書変換 (改行区切 [TOVIX] を タブ区切 [EXM] に変換)(&E)...", Eng(TovixToExm)),
        Tool("MenuMake", "MenuMake06",
             "和英辞書変換 (改行区切 [TOVIX] を タブ区切 [EXM] に変換)(&F)...", Jpn(TovixToExm)),

        Submenu("MenuTrans", "MenuTrans08", "長文分割"),
        Tool("MenuTrans08", "MenuExmDicDivide", "タブ区切 [EXM] の分割(&A)", Any(ExmDicDivide),
             true),
        Tool("MenuTrans08", "MenuPdicDicDivide", "改行区切 [PDIC] の分割(&B)", Any(PdicDicDivide)),
        Separator("MenuTrans"),
        Submenu("MenuTrans", "MenuTrans01", "作成(英和)"),
        Tool("MenuTrans01", "MenuEngExmToTovix", "タブ区切 [EXM] を 改行区切 [TOVIX] に(&A)...",
             Eng(ExmToTovix)),
        Tool("MenuTrans01", "MenuEngPdicToTovix", "改行区切 [PDIC] を 改行区切 [TOVIX] に(&B)...",
             Eng(PdicToTovix)),
        Separator("MenuTrans01"),
        Tool("MenuTrans01", "MenuEngPdicToExm", "改行区切 [PDIC] を タブ区切 [EXM] に(&C)...",
             Eng(PdicToExm)),
        Tool("MenuTrans01", "MenuEngTovixToExm", "改行区切 [TOVIX] を タブ区切 [EXM] に(&D)...",
             Eng(TovixToExm)),
        Separator("MenuTrans01"),
        Tool("MenuTrans01", "MenuEngReMakeTovix", "改行区切 [TOVIX]を再作成(&E)...",
             Eng(ReMakeTovix)),
        Tool("MenuTrans01", "MenuEngNewTovix", "改行区切 [TOVIX]を新規作成(&F)...", Eng(NewTovix)),
        Submenu("MenuTrans", "MenuTrans02", "作成(和英)"),
        Tool("MenuTrans02", "MenuJpnExmToTovix", "タブ区切 [EXM] を 改行区切 [TOVIX] に(&A)...",
             Jpn(ExmToTovix)),
        Tool("MenuTrans02", "MenuJpnPdicToTovix", "改行区切 [PDIC] を 改行区切 [TOVIX] に(&B)...",
             Jpn(PdicToTovix)),
        Separator("MenuTrans02"),
        Tool("MenuTrans02", "MenuJpnPdicToExm", "改行区切 [PDIC] を タブ区切 [EXM] に(&C)...",
             Jpn(PdicToExm)),
        Tool("MenuTrans02", "MenuJpnTovixToExm", "改行区切 [TOVIX] を タブ区切 [EXM] に(&D)...",
             Jpn(TovixToExm)),
        Separator("MenuTrans02"),
        Tool("MenuTrans02", "MenuJpnReMakeTovix", "改行区切 [TOVIX]を再作成(&E)...",
             Jpn(ReMakeTovix)),
        Tool("MenuTrans02", "MenuJpnNewTovix", "改行区切 [TOVIX]を新規作成(&F)...", Jpn(NewTovix)),
        Separator("MenuTrans"),
        Submenu("MenuTrans", "MenuTrans03", "整形(英和)"),
        Tool("MenuTrans03", "MenuEngExmTogether", "タブ区切 [EXM] の見出しの重複をまとめる(&A)...",
             Eng(ExmTogether)),
        Tool("MenuTrans03", "MenuEngPdicTogether",
             "改行区切 [PDIC] の見出しの重複をまとめる(&B)...", Eng(PdicTogether)),
        Tool("MenuTrans03", "MenuEngTovixTogether",
             "改行区切 [TOVIX] の見出しの重複をまとめる(&C)...", Eng(TovixTogether)),
        Submenu("MenuTrans", "MenuTrans04", "整形(和英)"),
        Tool("MenuTrans04", "MenuJpnExmTogether", "タブ区切 [EXM] の見出しの重複をまとめる(&A)...",
             Jpn(ExmTogether)),
        Tool("MenuTrans04", "MenuJpnPdicTogether",
             "改行区切 [PDIC] の見出しの重複をまとめる(&B)...", Jpn(PdicTogether)),
        Tool("MenuTrans04", "MenuJpnTovixTogether",
             "改行区切 [TOVIX] の見出しの重複をまとめる(&C)...", Jpn(TovixTogether)),
        Separator("MenuTrans"),
        Submenu("MenuTrans", "MenuTrans05", "結合(英和)"),
        Tool("MenuTrans05", "MenuEngExmAndExmToExm",
             "タブ区切 [EXM] の見出しの重複はそのまま(&A)...", Eng(ExmAndExmToExm)),
        Tool("MenuTrans05", "MenuEngPdicAndPdicToPdic",
             "改行区切 [PDIC] の見出しの重複はそのまま(&B)...", Eng(PdicAndPdicToPdic)),
        Tool("MenuTrans05", "MenuEngTovixAndTovixToTovix",
             "改行区切 [TOVIX] の見出しの重複はそのまま(&C)...", Eng(TovixAndTovixToTovix)),
        Separator("MenuTrans05"),
        Tool("MenuTrans05", "MenuEngExmAndExmToExmTogether",
             "タブ区切 [EXM] の見出しの重複をまとめる(&D)...", Eng(ExmAndExmToExmTogether)),
        Tool("MenuTrans05", "MenuEngPdicAndPdicToPdicTogether",
             "改行区切 [PDIC] の見出しの重複をまとめる(&E)...", Eng(PdicAndPdicToPdicTogether)),
        Tool("MenuTrans05", "MenuEngTovixAndTovixToTovixTogether",
             "改行区切 [TOVIX] の見出しの重複をまとめる(&F)...", Eng(TovixAndTovixToTovixTogether)),
        Submenu("MenuTrans", "MenuTrans06", "結合(和英)"),
        Tool("MenuTrans06", "MenuJpnExmAndExmToExm",
             "タブ区切 [EXM] の見出しの重複はそのまま(&A)..", Jpn(ExmAndExmToExm)),
        Tool("MenuTrans06", "MenuJpnPdicAndPdicToPdic",
             "改行区切 [PDIC] の見出しの重複はそのまま(&B)...", Jpn(PdicAndPdicToPdic)),
        Tool("MenuTrans06", "MenuJpnTovixAndTovixToTovix",
             "改行区切 [TOVIX] の見出しの重複はそのまま(&C)..", Jpn(TovixAndTovixToTovix)),
        Separator("MenuTrans06"),
        Tool("MenuTrans06", "MenuJpnExmAndExmToExmTogether",
             "タブ区切 [EXM] の見出しの重複をまとめる(&D)...", Jpn(ExmAndExmToExmTogether)),
        Tool("MenuTrans06", "MenuJpnPdicAndPdicToPdicTogether",
             "改行区切 [PDIC] の見出しの重複をまとめる(&E)...", Jpn(PdicAndPdicToPdicTogether)),
        Tool("MenuTrans06", "MenuJpnTovixAndTovixToTovixTogether",
             "改行区切 [TOVIX] の見出しの重複をまとめる(&F)...", Jpn(TovixAndTovixToTovixTogether)),
        Separator("MenuTrans"),
        Submenu("MenuTrans", "MenuTrans07", "長文検査"),
        Tool("MenuTrans07", "MenuExmDicCheck", "タブ区切 [EXM] の検査(&A)", Any(ExmDicCheck)),
        Tool("MenuTrans07", "MenuPdicDicCheck", "改行区切 [PDIC] の検査(&B)", Any(PdicDicCheck)),
        Separator("MenuTrans"),
        Item("MenuTrans", "MenuTovixToStarDict", "StarDict 形式に変換...",
             Call<&T::MenuTovixToStarDictClick>),

        Item("MenuSearch", "MenuFind", "検索(&F)...", Call<&T::MenuFindClick>),
        Item("MenuSearch", "MenuReFindNext", "次検索(下検索)(&N)",
             [](T& w) { w.ReFind(FindDirection::Down); }),
        Item("MenuSearch", "MenuRefindPrior", "前検索(上検索)(&P)",
             [](T& w) { w.ReFind(FindDirection::Up); }),
        Separator("MenuSearch"),
        Item("MenuSearch", "MenuHistoryBack", "前の語(&B)", Call<&T::MenuHistoryBackClick>),
        Item("MenuSearch", "MenuHistoryForward", "次の語(&W)", Call<&T::MenuHistoryForwardClick>),
        Item("MenuSearch", "MenuHistoryList", "検索履歴(&H)...", Call<&T::MenuHistoryListClick>),

        Item("MenuOption", "MenuOptionSet", "各種設定(&O)...", Call<&T::MenuOptionSetClick>),
        Separator("MenuOption"),
        Item("MenuOption", "MenuDicFontSet", "辞書ﾌｫﾝﾄ設定(&F)...",
             [](T& w) { w.FontSet(FontPlace::View); }),
        Item("MenuOption", "MenuDicColorSet", "辞書背景色設定(&C)...",
             [](T& w) { w.ColorSet(FontPlace::View); }),
        Separator("MenuOption"),
        Item("MenuOption", "MenuSearchFontSet", "検索文字列ﾌｫﾝﾄ設定(&G)...",
             [](T& w) { w.FontSet(FontPlace::SearchField); }),
        Item("MenuOption", "MenuSearchColorSet", "検索文字列背景色設定(&D)...",
             [](T& w) { w.ColorSet(FontPlace::SearchField); }),
        Separator("MenuOption"),
        Item("MenuOption", "MenuEngDicSet", "英和辞書設定(&E)...",
             [](T& w) { w.DicSet(Direction::English); }),
        Item("MenuOption", "MenuJpnDicSet", "和英辞書設定(&J)...",
             [](T& w) { w.DicSet(Direction::Japanese); }),
        Separator("MenuOption"),
        Item("MenuOption", "MenuFuncKeyDisp", "ﾌｧﾝｸｼｮﾝｷｰ表示(&K)", Call<&T::MenuFuncKeyDispClick>),

        Item("MenuHelp", "MenuHelpDisp", "ﾍﾙﾌﾟ表示(&C)", Call<&T::MenuHelpDispClick>),
    };
    return kRows;
}

}  // namespace tovix
