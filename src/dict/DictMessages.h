#pragma once
// The messages of the dictionary files and the lookup, each written once.
// Texts are as the user reads them, without their blanks: the reporter's
// callers lay them out (platform/MessageText.h).

namespace tovix::msg {

// Opening a dictionary file set (OpenDictionary.h), each about one file.
inline constexpr char kDicFileMissing[] = "指定された辞書ファイルが存在しません。";
inline constexpr char kDicFileUnreadable[] = "指定された辞書ファイルがオープンできません。";
inline constexpr char kTableFileUnreadable[] =
    "指定された辞書テーブルファイルがオープンできませんでした。";

// The lookup and the find: a part file that cannot be read.
inline constexpr char kPartFileUnreadable[] = "辞書ファイルがオープンできません。";
// The lookup without a direction chosen.
inline constexpr char kNoDirection[] = "辞書判別が正しくありません。";

}  // namespace tovix::msg
