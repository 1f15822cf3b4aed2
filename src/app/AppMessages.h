// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every text of the main window and its small windows, once: captions,
// labels and messages. The texts are bare; PaddedMessage and FileMessage
// (platform/MessageText.h) lay the messages out. The function-key bar's and
// the pop-up menu's captions stand in the command table
// (gui/FunctionKeyCommands.cpp), the main menu's in its table
// (gui/MainMenuTable.cpp), the tool windows' labels in their layout table
// (gui/ToolWindows.cpp); the dictionary's messages come from
// dict/DictMessages.h, the tools' from tools/ToolMessages.h.

#include <string_view>

namespace tovix::app_text {

// Captions and labels.
inline constexpr std::string_view kMainCaption = "Tovix (ﾒｲﾝ)";
inline constexpr std::string_view kMessageWindowCaption = "Tovix (ﾒｯｾｰｼﾞ)";
inline constexpr std::string_view kEnglishLabel = "英　語 : ";
inline constexpr std::string_view kJapaneseLabel = "日本語 : ";
// Shown at the end of the search field while its text matches no headword.
inline constexpr std::string_view kNoMatchMark = "該当なし";
// After the base forms under the search field, when the view stayed on a
// headword that begins with the text.
inline constexpr std::string_view kBaseFormKeyHint = "　（Shift+F5 で原形へ）";
// After English base forms when WordNet's lists of irregular forms are not
// installed (Debian package wordnet-base).
inline constexpr std::string_view kIrregularFormsMissing =
    "　（不規則変化の一覧がないため規則変化のみ）";
inline constexpr std::string_view kEngSelectCaption = "英和辞書選択";
inline constexpr std::string_view kJpnSelectCaption = "和英辞書選択";
inline constexpr std::string_view kSelectButton = "選択(&O)";
inline constexpr std::string_view kNewCopyButton = "新規(&N)";
// Drawn over the empty view while no dictionary is open.
inline constexpr std::string_view kNoDictionaryHint =
    "辞書が開かれていません。F7: 英和辞書の選択　F8: 和英辞書の選択";
// The file menu's dialog for any dictionary file, and its recent list when
// empty.
inline constexpr std::string_view kDicFileOpenCaption = "辞書ﾌｧｲﾙを開く";
inline constexpr std::string_view kRecentEmpty = "(なし)";

// The command line.
inline constexpr std::string_view kArgumentsWrong =
    "辞書ファイル(ENGTOJPN.DIC)と辞書選択(ENG)を指定してください。";
inline constexpr std::string_view kDirectionWordWrong = "辞書選択の設定は ENG または JPN です。";

// `tovix --help`, on the terminal (UTF-8).
inline constexpr std::string_view kViewerHelp =
    "使い方: tovix [辞書ファイル [ENG|JPN]]\n"
    "        tovix --lookup [--eng|--jpn] 文字列\n"
    "        tovix --help | --version\n"
    "\n"
    "英和・和英辞書の表示プログラムです。\n"
    "\n"
    "  (引数なし)             前回の辞書を開きます (各種設定の「前回の辞書を開く」)\n"
    "  辞書ファイル           辞書のテーブルの向きで、英和または和英として開きます\n"
    "  辞書ファイル ENG|JPN   英和 (ENG) または和英 (JPN) として開きます\n"
    "  --lookup 文字列        起動している英和 (--eng) または和英 (--jpn) の Tovix で\n"
    "                         文字列を引きます (なければ起動します)。向きを省くと、\n"
    "                         日本語を含む文字列は和英、それ以外は英和で引きます\n"
    "  -h, --help             この説明を表示して終了します\n"
    "  --version              版とライセンスを表示して終了します\n"
    "\n"
    "辞書の作成・変換は tovix-tool で行えます (tovix-tool --help)。\n";

// The help.
inline constexpr std::string_view kHelpMissing =
    "ヘルプが見つかりません。インストールし直してください。";
inline constexpr std::string_view kHelpNotOpened =
    "ヘルプを表示するブラウザーを起動できませんでした。";

// Shutdown.
inline constexpr std::string_view kExitQuestion = "終了しますか。";
inline constexpr std::string_view kSettingsUnwritable = "設定ファイルに書き込めませんでした。";

// Dictionary selection and the temporary files.
inline constexpr std::string_view kStartFailed = "の実行に失敗しました。";
inline constexpr std::string_view kFileUnwritable = "ファイルに書き込めませんでした。";

// The zoom window and the find window.
inline constexpr std::string_view kZoomCaption = "Tovix (拡大表示)";
inline constexpr std::string_view kFindCaption = "Tovix (検索)";
inline constexpr std::string_view kFindTextLabel = "検索文字列 (&S)";
inline constexpr std::string_view kFindNextButton = "次検索(&N)";
inline constexpr std::string_view kFindPriorButton = "前検索(&P)";
inline constexpr std::string_view kMatchCaseBox = "大文字と小文字を区別する(&C)";

// The copy and paste commands.
inline constexpr std::string_view kNoDictionary = "辞書が読み込まれていません。";
inline constexpr std::string_view kClipboardNotText =
    "クリップボードの内容が文字列ではありません。";
inline constexpr std::string_view kClipboardEmpty = "クリップボードに文字列が設定されていません。";
inline constexpr std::string_view kClipboardNotOneLine =
    "クリップボードの文字列の内容が正しく設定されていません。";

// The settings windows: the dictionary lists, the registration window, the
// options window, the font and colour dialogs and the key list.
inline constexpr std::string_view kListCaption = "Tovix (辞書設定)";
inline constexpr std::string_view kRegistrationCaption = "Tovix (辞書登録)";
inline constexpr std::string_view kOptionsCaption = "Tovix (各種設定)";
inline constexpr std::string_view kKeyListCaption = "Tovix (ｷｰ操作一覧)";
inline constexpr std::string_view kFontCaption = "ﾌｫﾝﾄ";
inline constexpr std::string_view kColorCaption = "色の設定";
// The font dialog's sample line.
inline constexpr std::string_view kFontSample = "AaBbYyZz あいう アイウ 漢字";
inline constexpr std::string_view kOpenCaption = "ファイルを開く";
// The registration window's file filter: dictionary files, then all files.
inline constexpr std::string_view kDictionaryFilter = "辞書ﾌｧｲﾙ(*.DIC);;全ﾌｧｲﾙ(*)";

// The list and registration windows' messages stand four blanks in and end
// with ten.
inline constexpr std::string_view kListFull = "設定個数は ９ 個までです。";
inline constexpr std::string_view kNoTitle = "辞書タイトル名は必ず指定してください。";
inline constexpr std::string_view kNoFile = "辞書ファイル名は必ず指定してください。";
inline constexpr std::string_view kFileNotCp932 =
    "この辞書ファイル名には設定ファイルに書けない文字が含まれています。"
    "別の名前のフォルダやファイルに置いてください。";
// A settings write that failed, after the settings file's name.
inline constexpr std::string_view kCannotCreate = "指定されたファイルが作成できませんでした。";

// The options window's page of the search field's input.
inline constexpr std::string_view kInputPageCaption = "入力";
inline constexpr std::string_view kImeStyleNBox = "n を IME と同じく「ん」にする(&N)";
// Broken where it reads well: wrapping by the label broke the examples
// mid-word.
inline constexpr std::string_view kImeStyleNNote =
    "子音の前の n を すぐ「ん」にします。\n(shinbun → しんぶん、konnichiha → こんにちは)";

// The looked-up words: the list window, its direction marks and button, and
// the one message about a damaged history file (after its name).
inline constexpr std::string_view kHistoryCaption = "Tovix (検索履歴)";
inline constexpr std::string_view kHistoryEnglishMark = "英　";
inline constexpr std::string_view kHistoryJapaneseMark = "和　";
inline constexpr std::string_view kHistoryChooseButton = "検索(&O)";
inline constexpr std::string_view kHistoryDamaged =
    "履歴ファイルが壊れているため読み込みませんでした。履歴は空から始めます。";

// The input page's option that looks up what other programs select.
inline constexpr std::string_view kSelectionLookupBox = "選択した文字列を検索";
inline constexpr std::string_view kSelectionLookupNote =
    "他のプログラムで選択した短い文字列 (1 行、半角 64 文字まで) を\nすぐに引きます。";

// The options window's history page.
inline constexpr std::string_view kReopenLastBox = "前回の辞書を開く";
inline constexpr std::string_view kHistorySizeLabel = "履歴の件数(&N)";
inline constexpr std::string_view kHistorySizeRange = "(0-1000、0 で履歴なし)";
inline constexpr std::string_view kHistoryClearButton = "履歴の消去";

// The options window. The range warning stands four blanks in with none
// after; the question four in and three after.
inline constexpr std::string_view kWrapOutOfRange = "文字数が範囲外です。";
// The toolkit's conversion error; the text that is not a number stands for %s.
inline constexpr std::string_view kNotInteger = "'%s' は整数ではありません";
inline constexpr std::string_view kBackToMain = "メイン画面に戻りますか。";

// The tool windows: the run button, the check window's notes and limit
// labels, the file dialogs' captions and filters (Qt's form: the last
// parenthesis holds the patterns; every file is "*", as names without an
// extension are common here).
inline constexpr std::string_view kRunButton = "実行(&O)";
inline constexpr std::string_view kInRangeNote =
    "作成ファイル名１は、文字数が範囲内の辞書ファイル名を指定します。";
inline constexpr std::string_view kOutOfRangeNote =
    "作成ファイル名２は、文字数が範囲外の辞書ファイル名を指定します。";
inline constexpr std::string_view kLimitLabel = "(半角で最大 1024 文字)";
inline constexpr std::string_view kSaveCaption = "名前を付けて保存";
inline constexpr std::string_view kToolOpenFilter =
    "辞書ﾌｧｲﾙ名(*.DIC);;辞書ﾌｧｲﾙ名(*.TXT);;全ﾌｧｲﾙ名(*)";
// The join and check windows' second filter reads "*TXT".
inline constexpr std::string_view kToolOpenFilterTxt =
    "辞書ﾌｧｲﾙ名(*.DIC);;辞書ﾌｧｲﾙ名(*TXT);;全ﾌｧｲﾙ名(*)";
inline constexpr std::string_view kToolSaveFilter = "辞書ﾌｧｲﾙ名(*.DIC);;全ﾌｧｲﾙ名(*)";

}  // namespace tovix::app_text
