// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The messages of the dictionary files and the lookup, each written once.
// The texts are bare; PaddedMessage and FileMessage (platform/MessageText.h)
// lay them out.

#include <string_view>

namespace tovix::dict_text {

// Opening a dictionary file set (OpenDictionary.h), each about one file.
inline constexpr std::string_view kDicFileMissing = "指定された辞書ファイルが存在しません。";
inline constexpr std::string_view kDicFileUnreadable =
    "指定された辞書ファイルがオープンできません。";
inline constexpr std::string_view kTableFileUnreadable =
    "指定された辞書テーブルファイルがオープンできませんでした。";

// A replacement of the set's files was left unfinished and cannot be
// completed now (a file in the way, a damaged record of the replacement).
inline constexpr std::string_view kSetReplacementUnfinished =
    "辞書ファイルの置き換えが途中で止まっていて、完了できませんでした。";

// The hidden record of an unfinished replacement beside the set (its
// journal) is damaged, or does not describe a replacement of this set's own
// files (a set from someone else may carry one): it is not carried out.
// Shown after the record's file name.
inline constexpr std::string_view kSetJournalRefused =
    "辞書ファイルの置き換えの記録が壊れているか、この辞書のものではないため、実行しませんでした。"
    "内容を確かめて、不要ならこのファイルを削除して下さい。";

// The lookup and the find: a part file that cannot be read.
inline constexpr std::string_view kPartFileUnreadable = "辞書ファイルがオープンできません。";
// The lookup of a text that holds a kanji in a set without a written-form
// file (built before there were any), after the file's name: said once.
inline constexpr std::string_view kWrittenFormsMissing =
    "漢字で引くためのファイルがありません。「和英辞書再作成」(tovix-tool remake --jpn) で"
    "辞書を作り直すと、漢字でも引けるようになります。";
// The lookup without a direction chosen.
inline constexpr std::string_view kNoDirection = "辞書判別が正しくありません。";

}  // namespace tovix::dict_text
