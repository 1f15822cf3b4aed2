// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/MainMenuTable.h"

#include "app/gui/MainWindow.h"

namespace tovix {
namespace {

using Command = void (TForm1::*)();

constexpr MenuRow Submenu(const char* parent, const char* name, const char* caption) {
    return {parent, name, caption, nullptr, true};
}

constexpr MenuRow Item(const char* parent, const char* name, const char* caption,
                       Command command = nullptr) {
    return {parent, name, caption, command, false};
}

// An item that runs the tool command of `handler`.
constexpr MenuRow Tool(const char* parent, const char* name, const char* caption,
                       const char* handler, bool disabled = false) {
    return {parent, name, caption, nullptr, false, handler, disabled};
}

constexpr MenuRow Separator(const char* parent) {
    return {parent, "", "", nullptr, false};
}

}  // namespace

// A friend of TForm1: the table names its private commands.
std::span<const MenuRow> MainMenuRows() {
    using T = TForm1;
    static constexpr MenuRow kRows[] = {
        Submenu("", "MenuFile", "ﾌｧｲﾙ(&F)"),
        Submenu("", "MenuMake", "作成(&M)"),
        Submenu("", "MenuTrans", "変換(&T)"),
        Submenu("", "MenuSearch", "検索(&S)"),
        Submenu("", "MenuOption", "環境設定(&K)"),
        Submenu("", "MenuHelp", "ﾍﾙﾌﾟ(&H)"),

        Item("MenuFile", "MenuEngDicOpen", "英和辞書の選択(&E)...", &T::MenuEngDicOpenClick),
        Item("MenuFile", "MenuJpnDicOpen", "和英辞書の選択(&J)...", &T::MenuJpnDicOpenClick),
        Separator("MenuFile"),
        Item("MenuFile", "MenuTmpFileDelete", "中間ﾌｧｲﾙの削除(&D)", &T::MenuTmpFileDeleteClick),
        Separator("MenuFile"),
        Item("MenuFile", "MenuExit", "終了(&X)", &T::MenuExitClick),

        Tool("MenuMake", "MenuMake01",
             "英和辞書整形 (タブ区切 [EXM] の見出しの重複をまとめる)(&A)...", "MenuMake01Click"),
        Tool("MenuMake", "MenuMake02",
             "英和辞書作成 (タブ区切 [EXM] を 改行区切 [TOVIX] に変換)(&B)...", "MenuMake02Click"),
        Separator("MenuMake"),
        Tool("MenuMake", "MenuMake03",
             "和英辞書整形 (タブ区切 [EXM] の見出しの重複をまとめる)(&C)...", "MenuMake03Click"),
        Tool("MenuMake", "MenuMake04",
             "和英辞書作成 (タブ区切 [EXM] を 改行区切 [TOVIX] に変換)(&D)...", "MenuMake04Click"),
        Separator("MenuMake"),
        Tool("MenuMake", "MenuMake05",
             "英和辞書変換 (改行区切 [TOVIX] を タブ区切 [EXM] に変換)(&E)...", "MenuMake05Click"),
        Tool("MenuMake", "MenuMake06",
             "和英辞書変換 (改行区切 [TOVIX] を タブ区切 [EXM] に変換)(&F)...", "MenuMake06Click"),

        Submenu("MenuTrans", "MenuTrans08", "長文分割"),
        Tool("MenuTrans08", "MenuExmDicDivide", "タブ区切 [EXM] の分割(&A)",
             "MenuExmDicDivideClick", true),
        Tool("MenuTrans08", "MenuPdicDicDivide", "改行区切 [PDIC] の分割(&B)",
             "MenuPdicDicDivideClick"),
        Separator("MenuTrans"),
        Submenu("MenuTrans", "MenuTrans01", "作成(英和)"),
        Tool("MenuTrans01", "MenuEngExmToTovix", "タブ区切 [EXM] を 改行区切 [TOVIX] に(&A)...",
             "MenuEngExmToTovixClick"),
        Tool("MenuTrans01", "MenuEngPdicToTovix", "改行区切 [PDIC] を 改行区切 [TOVIX] に(&B)...",
             "MenuEngPdicToTovixClick"),
        Separator("MenuTrans01"),
        Tool("MenuTrans01", "MenuEngPdicToExm", "改行区切 [PDIC] を タブ区切 [EXM] に(&C)...",
             "MenuEngPdicToExmClick"),
        Tool("MenuTrans01", "MenuEngTovixToExm", "改行区切 [TOVIX] を タブ区切 [EXM] に(&D)...",
             "MenuEngTovixToExmClick"),
        Separator("MenuTrans01"),
        Tool("MenuTrans01", "MenuEngReMakeTovix", "改行区切 [TOVIX]を再作成(&E)...",
             "MenuEngReMakeTovixClick"),
        Tool("MenuTrans01", "MenuEngNewTovix", "改行区切 [TOVIX]を新規作成(&F)...",
             "MenuEngNewTovixClick"),
        Submenu("MenuTrans", "MenuTrans02", "作成(和英)"),
        Tool("MenuTrans02", "MenuJpnExmToTovix", "タブ区切 [EXM] を 改行区切 [TOVIX] に(&A)...",
             "MenuJpnExmToTovixClick"),
        Tool("MenuTrans02", "MenuJpnPdicToTovix", "改行区切 [PDIC] を 改行区切 [TOVIX] に(&B)...",
             "MenuJpnPdicToTovixClick"),
        Separator("MenuTrans02"),
        Tool("MenuTrans02", "MenuJpnPdicToExm", "改行区切 [PDIC] を タブ区切 [EXM] に(&C)...",
             "MenuJpnPdicToExmClick"),
        Tool("MenuTrans02", "MenuJpnTovixToExm", "改行区切 [TOVIX] を タブ区切 [EXM] に(&D)...",
             "MenuJpnTovixToExmClick"),
        Separator("MenuTrans02"),
        Tool("MenuTrans02", "MenuJpnReMakeTovix", "改行区切 [TOVIX]を再作成(&E)...",
             "MenuJpnReMakeTovixClick"),
        Tool("MenuTrans02", "MenuJpnNewTovix", "改行区切 [TOVIX]を新規作成(&F)...",
             "MenuJpnNewTovixClick"),
        Separator("MenuTrans"),
        Submenu("MenuTrans", "MenuTrans03", "整形(英和)"),
        Tool("MenuTrans03", "MenuEngExmTogether", "タブ区切 [EXM] の見出しの重複をまとめる(&A)...",
             "MenuEngExmTogetherClick"),
        Tool("MenuTrans03", "MenuEngPdicTogether",
             "改行区切 [PDIC] の見出しの重複をまとめる(&B)...", "MenuEngPdicTogetherClick"),
        Tool("MenuTrans03", "MenuEngTovixTogether",
             "改行区切 [TOVIX] の見出しの重複をまとめる(&C)...", "MenuEngTovixTogetherClick"),
        Submenu("MenuTrans", "MenuTrans04", "整形(和英)"),
        Tool("MenuTrans04", "MenuJpnExmTogether", "タブ区切 [EXM] の見出しの重複をまとめる(&A)...",
             "MenuJpnExmTogetherClick"),
        Tool("MenuTrans04", "MenuJpnPdicTogether",
             "改行区切 [PDIC] の見出しの重複をまとめる(&B)...", "MenuJpnPdicTogetherClick"),
        Tool("MenuTrans04", "MenuJpnTovixTogether",
             "改行区切 [TOVIX] の見出しの重複をまとめる(&C)...", "MenuJpnTovixTogetherClick"),
        Separator("MenuTrans"),
        Submenu("MenuTrans", "MenuTrans05", "結合(英和)"),
        Tool("MenuTrans05", "MenuEngExmAndExmToExm",
             "タブ区切 [EXM] の見出しの重複はそのまま(&A)...", "MenuEngExmAndExmToExmClick"),
        Tool("MenuTrans05", "MenuEngPdicAndPdicToPdic",
             "改行区切 [PDIC] の見出しの重複はそのまま(&B)...", "MenuEngPdicAndPdicToPdicClick"),
        Tool("MenuTrans05", "MenuEngTovixAndTovixToTovix",
             "改行区切 [TOVIX] の見出しの重複はそのまま(&C)...",
             "MenuEngTovixAndTovixToTovixClick"),
        Separator("MenuTrans05"),
        Tool("MenuTrans05", "MenuEngExmAndExmToExmTogether",
             "タブ区切 [EXM] の見出しの重複をまとめる(&D)...",
             "MenuEngExmAndExmToExmTogetherClick"),
        Tool("MenuTrans05", "MenuEngPdicAndPdicToPdicTogether",
             "改行区切 [PDIC] の見出しの重複をまとめる(&E)...",
             "MenuEngPdicAndPdicToPdicTogetherClick"),
        Tool("MenuTrans05", "MenuEngTovixAndTovixToTovixTogether",
             "改行区切 [TOVIX] の見出しの重複をまとめる(&F)...",
             "MenuEngTovixAndTovixToTovixTogetherClick"),
        Submenu("MenuTrans", "MenuTrans06", "結合(和英)"),
        Tool("MenuTrans06", "MenuJpnExmAndExmToExm",
             "タブ区切 [EXM] の見出しの重複はそのまま(&A)..", "MenuJpnExmAndExmToExmClick"),
        Tool("MenuTrans06", "MenuJpnPdicAndPdicToPdic",
             "改行区切 [PDIC] の見出しの重複はそのまま(&B)...", "MenuJpnPdicAndPdicToPdicClick"),
        Tool("MenuTrans06", "MenuJpnTovixAndTovixToTovix",
             "改行区切 [TOVIX] の見出しの重複はそのまま(&C)..", "MenuJpnTovixAndTovixToTovixClick"),
        Separator("MenuTrans06"),
        Tool("MenuTrans06", "MenuJpnExmAndExmToExmTogether",
             "タブ区切 [EXM] の見出しの重複をまとめる(&D)...",
             "MenuJpnExmAndExmToExmTogetherClick"),
        Tool("MenuTrans06", "MenuJpnPdicAndPdicToPdicTogether",
             "改行区切 [PDIC] の見出しの重複をまとめる(&E)...",
             "MenuJpnPdicAndPdicToPdicTogetherClick"),
        Tool("MenuTrans06", "MenuJpnTovixAndTovixToTovixTogether",
             "改行区切 [TOVIX] の見出しの重複をまとめる(&F)...",
             "MenuJpnTovixAndTovixToTovixTogetherClick"),
        Separator("MenuTrans"),
        Submenu("MenuTrans", "MenuTrans07", "長文検査"),
        Tool("MenuTrans07", "MenuExmDicCheck", "タブ区切 [EXM] の検査(&A)", "MenuExmDicCheckClick"),
        Tool("MenuTrans07", "MenuPdicDicCheck", "改行区切 [PDIC] の検査(&B)",
             "MenuPdicDicCheckClick"),

        Item("MenuSearch", "MenuFind", "検索(&F)...", &T::MenuFindClick),
        Item("MenuSearch", "MenuReFindNext", "次検索(下検索)(&N)", &T::MenuReFindNextClick),
        Item("MenuSearch", "MenuRefindPrior", "前検索(上検索)(&P)", &T::MenuRefindPriorClick),

        Item("MenuOption", "MenuOptionSet", "各種設定(&O)...", &T::MenuOptionSetClick),
        Separator("MenuOption"),
        Item("MenuOption", "MenuDicFontSet", "辞書ﾌｫﾝﾄ設定(&F)...", &T::MenuDicFontSetClick),
        Item("MenuOption", "MenuDicColorSet", "辞書背景色設定(&C)...", &T::MenuDicColorSetClick),
        Separator("MenuOption"),
        Item("MenuOption", "MenuSearchFontSet", "検索文字列ﾌｫﾝﾄ設定(&G)...",
             &T::MenuSearchFontSetClick),
        Item("MenuOption", "MenuSearchColorSet", "検索文字列背景色設定(&D)...",
             &T::MenuSearchColorSetClick),
        Separator("MenuOption"),
        Item("MenuOption", "MenuEngDicSet", "英和辞書設定(&E)...", &T::MenuEngDicSetClick),
        Item("MenuOption", "MenuJpnDicSet", "和英辞書設定(&J)...", &T::MenuJpnDicSetClick),
        Separator("MenuOption"),
        Item("MenuOption", "MenuFuncKeyDisp", "ﾌｧﾝｸｼｮﾝｷｰ表示(&K)", &T::MenuFuncKeyDispClick),

        Item("MenuHelp", "MenuHelpDisp", "ﾍﾙﾌﾟ表示(&C)", &T::MenuHelpDispClick),
    };
    return kRows;
}

}  // namespace tovix
