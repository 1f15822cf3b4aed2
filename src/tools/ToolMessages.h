// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every text the dictionary tools show, once: the failure messages of the
// steps, the refusals and questions of the tool windows' name checks, and the
// progress texts shown as the caption while a step runs. The texts are bare;
// PaddedMessage and FileMessage (platform/MessageText.h) lay them out. The
// windows' captions stand in the command table (Chains.cpp).

#include <string>
#include <string_view>
#include <vector>

namespace tovix::tool_text {

// Step failures.
inline constexpr std::string_view kCreateFailed = "辞書ファイルの作成に失敗しました。";
inline constexpr std::string_view kConvertFailed = "辞書ファイルの変換に失敗しました。";
inline constexpr std::string_view kCheckFailed = "辞書ファイルの検査に失敗しました。";
inline constexpr std::string_view kSortFailed = "辞書ファイルのソートに失敗しました。";
inline constexpr std::string_view kTableFailed = "辞書テーブルファイルの作成に失敗しました。";
inline constexpr std::string_view kCannotOpen = "指定されたファイルがオープンできませんでした。";
inline constexpr std::string_view kCannotCreate = "指定されたファイルが作成できませんでした。";
inline constexpr std::string_view kBadContent = "辞書ファイルの内容が正しくありません。";
inline constexpr std::string_view kNoTab = "TAB が存在しない行があります。";

// What is wrong with a dictd or StarDict file (a FileMessage names it).
inline constexpr std::string_view kOutsideData =
    "項目の位置か長さがデータファイルの外を指しています。";
inline constexpr std::string_view kBrokenGzip = "圧縮データが壊れているか、途中で切れています。";
inline constexpr std::string_view kEntryTooLarge = "大きすぎる項目があります (64 MB まで)。";
inline constexpr std::string_view kBadIndexLine = "索引の行の形式が正しくありません。";
inline constexpr std::string_view kIndexCutShort = "索引ファイルが項目の途中で終わっています。";
inline constexpr std::string_view kWordCountWrong =
    "索引の項目数が .ifo の wordcount (synwordcount) と一致しません。";
inline constexpr std::string_view kIndexSizeWrong =
    "索引ファイルの大きさが .ifo の idxfilesize と一致しません。";
inline constexpr std::string_view kNotStarDict =
    "StarDict の .ifo ファイルではないか、対応していない版です。";
inline constexpr std::string_view kSynonymOutside = "同義語が索引にない項目を指しています。";
inline constexpr std::string_view kTooLargeForDictzip =
    "データが dictzip で圧縮できる大きさ (1.9 GB) を超えます。.dict で書き出すため、この "
    ".dict.dz を削除してから変換してください。";
inline constexpr std::string_view kNoDataFile =
    "データファイル (.dict または .dict.dz) がありません。";

// " (例: a、b)" for the examples given; empty for none.
std::string ExampleList(const std::vector<std::string>& examples);
// The closing notice of an import: what was left out or replaced, with the
// first examples ("headword: reason").
std::string ImportedCounts(unsigned long long written, unsigned long long skipped,
                           const std::vector<std::string>& skippedExamples,
                           unsigned long long replaced,
                           const std::vector<std::string>& replacedExamples,
                           unsigned long long fieldsSkipped);

// Another tool command runs from the same program directory.
inline constexpr std::string_view kToolBusy =
    "他の辞書ツールの処理が実行中です。終わってからもう一度実行してください。";

// Another copy of the program edits the dictionary file set, or another tool
// command replaces it (the set's lock, shared with entry editing).
inline constexpr std::string_view kSetBusy =
    "この辞書は他の Tovix "
    "で編集中か、辞書ツールで作成中です。終わってからもう一度実行してください。";

// A UTF-8 text file's characters that CP932 lacks, replaced by "?"; the
// question before such a file is written over in place.
std::string UnconvertibleCharacters(unsigned long long count,
                                    const std::vector<unsigned long long>& lines, bool moreLines);
inline constexpr std::string_view kWriteReplacedQuestion =
    "置き換えた内容で元のファイルを上書きしていいですか。";

// The division's question at a headword over the limit.
inline constexpr std::string_view kHeadOverLimitQuestion =
    "見出しが指定文字数を超えています。終了しますか";

// The tool windows' name checks.
inline constexpr std::string_view kNoInputName = "読込ファイル名が指定されていません。";
inline constexpr std::string_view kNoOutputName = "作成ファイル名が指定されていません。";
inline constexpr std::string_view kNoInputName1 = "読み込みファイル名１が指定されていません。";
inline constexpr std::string_view kNoInputName2 = "読み込みファイル名２が指定されていません。";
inline constexpr std::string_view kNoOutputName1 = "作成ファイル名１が指定されていません。";
inline constexpr std::string_view kNoOutputName2 = "作成ファイル名２が指定されていません。";
inline constexpr std::string_view kNoFileName = "ファイル名が指定されていません。";
inline constexpr std::string_view kNoSortFileName = "ソートするファイル名が指定されていません。";
inline constexpr std::string_view kSameFileName = "同一のファイル名は指定できません。";
// A typed name that is one of the program's work files ("TOVIXSRT.TXT" ...)
// by another name too: the command would overwrite it. After the name.
inline constexpr std::string_view kWorkFileNamed =
    "プログラムの作業ファイルと同じファイルは指定できません。";
inline constexpr std::string_view kFileMissing = "指定されたファイルが存在しません。";
inline constexpr std::string_view kOverwriteQuestion = "指定されたファイルを上書きしていいですか。";
inline constexpr std::string_view kHeadLimitRange = "見出しの文字数は１０２４以下です。";
inline constexpr std::string_view kTransLimitRange = "訳語の文字数は１０２４以下です。";

// A set to be read is of the other direction.
inline constexpr std::string_view kSetIsJpn =
    "和英辞書のファイルです。英和辞書として処理できません。";
inline constexpr std::string_view kSetIsEng =
    "英和辞書のファイルです。和英辞書として処理できません。";

// The platform's message for a limit that is not a decimal integer.
std::string NotAnInteger(std::string_view text);

// Progress texts.
inline constexpr std::string_view kProgressConvert = "辞書変換中";
inline constexpr std::string_view kProgressEncoding = "文字コード変換中";
inline constexpr std::string_view kProgressMake = "辞書作成中";
inline constexpr std::string_view kProgressJoinRead = "辞書作成中１";
inline constexpr std::string_view kProgressJoinWrite = "辞書作成中２";
inline constexpr std::string_view kProgressSort = "辞書ソート中";
inline constexpr std::string_view kProgressCheck = "辞書検査中";
inline constexpr std::string_view kProgressGather = "辞書整形中";
inline constexpr std::string_view kProgressLoad = "辞書読込中";
inline constexpr std::string_view kProgressTable = "辞書テーブル作成中";
inline constexpr std::string_view kProgressSplit = "分割辞書作成中";
inline constexpr std::string_view kProgressImport = "辞書取込中";
inline constexpr std::string_view kProgressExport = "StarDict 辞書作成中";
inline constexpr std::string_view kProgressWaitForTool =
    "他の辞書ツールの処理が終わるのを待っています";
inline constexpr std::string_view kProgressWaitForSet =
    "他の Tovix が辞書の編集か作成を終えるのを待っています";

}  // namespace tovix::tool_text
