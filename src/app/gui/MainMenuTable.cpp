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

        Item("MenuMake", "MenuMake01",
             "英和辞書整形 (タブ区切 [EXM] の見出しの重複をまとめる)(&A)..."),
        Item("MenuMake", "MenuMake02",
             "英和辞書作成 (タブ区切 [EXM] を 改行区切 [TOVIX] に変換)(&B)..."),
        Separator("MenuMake"),
        Item("MenuMake", "MenuMake03",
             "和英辞書整形 (タブ区切 [EXM] の見出しの重複をまとめる)(&C)..."),
        Item("MenuMake", "MenuMake04",
             "和英辞書作成 (タブ区切 [EXM] を 改行区切 [TOVIX] に変換)(&D)..."),
        Separator("MenuMake"),
        Item("MenuMake", "MenuMake05",
             "英和辞書変換 (改行区切 [TOVIX] を タブ区切 [EXM] に変換)(&E)..."),
        Item("MenuMake", "MenuMake06",
             "和英辞書変換 (改行区切 [TOVIX] を タブ区切 [EXM] に変換)(&F)..."),

        Submenu("MenuTrans", "MenuTrans08", "長文分割"),
        Item("MenuTrans08", "MenuExmDicDivide", "タブ区切 [EXM] の分割(&A)"),
        Item("MenuTrans08", "MenuPdicDicDivide", "改行区切 [PDIC] の分割(&B)"),
        Separator("MenuTrans"),
        Submenu("MenuTrans", "MenuTrans01", "作成(英和)"),
        Item("MenuTrans01", "MenuEngExmToTovix", "タブ区切 [EXM] を 改行区切 [TOVIX] に(&A)..."),
        Item("MenuTrans01", "MenuEngPdicToTovix", "改行区切 [PDIC] を 改行区切 [TOVIX] に(&B)..."),
        Separator("MenuTrans01"),
        Item("MenuTrans01", "MenuEngPdicToExm", "改行区切 [PDIC] を タブ区切 [EXM] に(&C)..."),
        Item("MenuTrans01", "MenuEngTovixToExm", "改行区切 [TOVIX] を タブ区切 [EXM] に(&D)..."),
        Separator("MenuTrans01"),
        Item("MenuTrans01", "MenuEngReMakeTovix", "改行区切 [TOVIX]を再作成(&E)..."),
        Item("MenuTrans01", "MenuEngNewTovix", "改行区切 [TOVIX]を新規作成(&F)..."),
        Submenu("MenuTrans", "MenuTrans02", "作成(和英)"),
        Item("MenuTrans02", "MenuJpnExmToTovix", "タブ区切 [EXM] を 改行区切 [TOVIX] に(&A)..."),
        Item("MenuTrans02", "MenuJpnPdicToTovix", "改行区切 [PDIC] を 改行区切 [TOVIX] に(&B)..."),
        Separator("MenuTrans02"),
        Item("MenuTrans02", "MenuJpnPdicToExm", "改行区切 [PDIC] を タブ区切 [EXM] に(&C)..."),
        Item("MenuTrans02", "MenuJpnTovixToExm", "改行区切 [TOVIX] を タブ区切 [EXM] に(&D)..."),
        Separator("MenuTrans02"),
        Item("MenuTrans02", "MenuJpnReMakeTovix", "改行区切 [TOVIX]を再作成(&E)..."),
        Item("MenuTrans02", "MenuJpnNewTovix", "改行区切 [TOVIX]を新規作成(&F)..."),
        Separator("MenuTrans"),
        Submenu("MenuTrans", "MenuTrans03", "整形(英和)"),
        Item("MenuTrans03", "MenuEngExmTogether", "タブ区切 [EXM] の見出しの重複をまとめる(&A)..."),
        Item("MenuTrans03", "MenuEngPdicTogether",
             "改行区切 [PDIC] の見出しの重複をまとめる(&B)..."),
        Item("MenuTrans03", "MenuEngTovixTogether",
             "改行区切 [TOVIX] の見出しの重複をまとめる(&C)..."),
        Submenu("MenuTrans", "MenuTrans04", "整形(和英)"),
        Item("MenuTrans04", "MenuJpnExmTogether", "タブ区切 [EXM] の見出しの重複をまとめる(&A)..."),
        Item("MenuTrans04", "MenuJpnPdicTogether",
             "改行区切 [PDIC] の見出しの重複をまとめる(&B)..."),
        Item("MenuTrans04", "MenuJpnTovixTogether",
             "改行区切 [TOVIX] の見出しの重複をまとめる(&C)..."),
        Separator("MenuTrans"),
        Submenu("MenuTrans", "MenuTrans05", "結合(英和)"),
        Item("MenuTrans05", "MenuEngExmAndExmToExm",
             "タブ区切 [EXM] の見出しの重複はそのまま(&A)..."),
        Item("MenuTrans05", "MenuEngPdicAndPdicToPdic",
             "改行区切 [PDIC] の見出しの重複はそのまま(&B)..."),
        Item("MenuTrans05", "MenuEngTovixAndTovixToTovix",
             "改行区切 [TOVIX] の見出しの重複はそのまま(&C)..."),
        Separator("MenuTrans05"),
        Item("MenuTrans05", "MenuEngExmAndExmToExmTogether",
             "タブ区切 [EXM] の見出しの重複をまとめる(&D)..."),
        Item("MenuTrans05", "MenuEngPdicAndPdicToPdicTogether",
             "改行区切 [PDIC] の見出しの重複をまとめる(&E)..."),
        Item("MenuTrans05", "MenuEngTovixAndTovixToTovixTogether",
             "改行区切 [TOVIX] の見出しの重複をまとめる(&F)..."),
        Submenu("MenuTrans", "MenuTrans06", "結合(和英)"),
        Item("MenuTrans06", "MenuJpnExmAndExmToExm",
             "タブ区切 [EXM] の見出しの重複はそのまま(&A).."),
        Item("MenuTrans06", "MenuJpnPdicAndPdicToPdic",
             "改行区切 [PDIC] の見出しの重複はそのまま(&B)..."),
        Item("MenuTrans06", "MenuJpnTovixAndTovixToTovix",
             "改行区切 [TOVIX] の見出しの重複はそのまま(&C).."),
        Separator("MenuTrans06"),
        Item("MenuTrans06", "MenuJpnExmAndExmToExmTogether",
             "タブ区切 [EXM] の見出しの重複をまとめる(&D)..."),
        Item("MenuTrans06", "MenuJpnPdicAndPdicToPdicTogether",
             "改行区切 [PDIC] の見出しの重複をまとめる(&E)..."),
        Item("MenuTrans06", "MenuJpnTovixAndTovixToTovixTogether",
             "改行区切 [TOVIX] の見出しの重複をまとめる(&F)..."),
        Separator("MenuTrans"),
        Submenu("MenuTrans", "MenuTrans07", "長文検査"),
        Item("MenuTrans07", "MenuExmDicCheck", "タブ区切 [EXM] の検査(&A)"),
        Item("MenuTrans07", "MenuPdicDicCheck", "改行区切 [PDIC] の検査(&B)"),

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
