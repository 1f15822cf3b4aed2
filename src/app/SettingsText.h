#pragma once
// Every text of the windows that edit the settings, once: the dictionary list
// and registration windows, the options window, the font and colour commands
// and the key list. Messages are bare; SettingsWindowMessage and the layouts
// of platform/MessageText.h pad them.

#include <string>
#include <string_view>

namespace tovix::settings_text {

// Window captions.
inline constexpr std::string_view kListCaption = "Tovix (辞書設定)";
inline constexpr std::string_view kRegistrationCaption = "Tovix (辞書登録)";
inline constexpr std::string_view kOptionsCaption = "Tovix (各種設定)";
inline constexpr std::string_view kKeyListCaption = "Tovix (ｷｰ操作一覧)";
inline constexpr std::string_view kFontCaption = "ﾌｫﾝﾄ";
inline constexpr std::string_view kColorCaption = "色の設定";
inline constexpr std::string_view kOpenCaption = "ファイルを開く";
// The registration window's file filter: dictionary files, then all files.
inline constexpr std::string_view kDictionaryFilter = "辞書ﾌｧｲﾙ(*.DIC);;全ﾌｧｲﾙ(*)";

// The dictionary list and registration windows.
inline constexpr std::string_view kListFull = "設定個数は ９ 個までです。";
inline constexpr std::string_view kNoTitle = "辞書タイトル名は必ず指定してください。";
inline constexpr std::string_view kNoFile = "辞書ファイル名は必ず指定してください。";
inline constexpr std::string_view kFileNotCp932 =
    "この辞書ファイル名には設定ファイルに書けない文字が含まれています。"
    "別の名前のフォルダやファイルに置いてください。";

// A settings write that failed; the settings file's name goes before it.
inline constexpr std::string_view kCannotCreate = "指定されたファイルが作成できませんでした。";

// The options window.
inline constexpr std::string_view kWrapOutOfRange = "文字数が範囲外です。";
// The text that is not a number stands for %s.
inline constexpr std::string_view kNotInteger = "'%s' は整数ではありません";
inline constexpr std::string_view kBackToMain = "メイン画面に戻りますか。";

// The messages of the list and registration windows stand four blanks in and
// end with ten.
std::string SettingsWindowMessage(std::string_view text);

// The options window's range warning: four blanks in, none after.
std::string WrapRangeMessage();

// The conversion error for a text that is not an integer.
std::string NotIntegerMessage(std::string_view text);

}  // namespace tovix::settings_text
