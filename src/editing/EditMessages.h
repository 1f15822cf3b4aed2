// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every text of entry editing, once: the entry windows' captions, labels and
// buttons, the refusals of their fields, and the messages of the add, change
// and delete commands. The texts are bare; PaddedMessage, Padded and
// FileMessage (platform/MessageText.h) lay them out. The failures shared with
// the dictionary tools (the table steps' own messages, "辞書ファイルのソートに
// 失敗しました。", the progress text "辞書ソート中", the set's lock held
// elsewhere) come from tools/ToolMessages.h.

#include <string_view>

namespace tovix::edit_text {

// The entry windows TForm6 (English-Japanese) and TForm5 (Japanese-English).
inline constexpr std::string_view kEntryCaption = "Tovix (登録 / 編集 / 削除)";
inline constexpr std::string_view kAddButton = "登録実行(&A)";
inline constexpr std::string_view kChangeButton = "編集実行(&C)";
inline constexpr std::string_view kDeleteButton = "削除実行(&D)";
inline constexpr std::string_view kKanjiHint =
    "[漢字] の項目は、[漢字] または [かんじ] または [カンジ] と入力します。";

// A field of an entry window: its label, its name in the messages, and the
// refusal when it is left empty (too short, for the written form).
struct FieldText {
    std::string_view label;
    std::string_view name;
    std::string_view missing;
};

inline constexpr FieldText kEnglishField = {"英語(&E)", "英語",
                                            "英語 の項目が指定されていません。"};
inline constexpr FieldText kJapaneseField = {"和訳(&J)", "和訳",
                                             "和訳 の項目が指定されていません。"};
inline constexpr FieldText kReadingField = {"よみ(&J)", "よみ",
                                            "よみ の項目が指定されていません。"};
inline constexpr FieldText kKanjiField = {"[漢字](&K)", "漢字",
                                          "漢字 の項目が指定されていません。"};
inline constexpr FieldText kEnglishTranslationField = {"英訳(&E)", "英訳",
                                                       "英訳 の項目が指定されていません。"};

// A field holding a TAB, CR or LF (pasted), which would break the part
// file's two-line entry; and one holding a character CP932 lacks, which the
// dictionary cannot store. Each follows the field's name.
inline constexpr std::string_view kFieldHasBreak = " の項目にタブや改行は入れられません。";
inline constexpr std::string_view kFieldNotCp932 = " の項目に辞書に書けない文字があります。";
// A field longer than an entry window can edit (Entry.h: kMaxFieldBytes),
// after the field's name; the limit follows in bytes, then kBytesEnd.
inline constexpr std::string_view kFieldTooLong =
    " の項目が長すぎるため、この画面では編集できません。最大 ";
inline constexpr std::string_view kBytesEnd = " バイトです。";

// A headword typed that no part file can hold: the entry is filed under its
// first letter (digits and signs under a) or its first kana, and a reading
// is kana only (romaji is not turned into kana here, unlike the search field,
// since the window would store a guess the user never saw).
inline constexpr std::string_view kEnglishWithoutInitial =
    "英語 の項目は、英字か数字か記号で始めて下さい。";
inline constexpr std::string_view kReadingNotKana =
    "よみ の項目は、ひらがなかカタカナで入力して下さい。";

// The commands' refusals before the window opens.
inline constexpr std::string_view kNoDictionary = "辞書ファイルが読み込まれていません。";
inline constexpr std::string_view kTopLineNotEnglish = "画面の最上行を、英語 の行にして下さい。";
inline constexpr std::string_view kTopLineNotReading = "画面の最上行を、よみ の行にして下さい。";

// The entry shown is no longer in the part file where the view shows it:
// another copy of the program (or another program) changed the file.
inline constexpr std::string_view kEntryChangedUnderView =
    "表示中の項目が辞書ファイルの内容と一致しません。他で変更された可能性があります。"
    "何も変更せずに画面を読み込み直します。";

// A file of the edit that cannot be read (the table work file, an edit log).
inline constexpr std::string_view kCannotRead = "指定されたファイルが読み込みできませんでした。";

// The edit is decided, but its files could not all be replaced now: the next
// opening of the dictionary completes it. After the dictionary file's name.
inline constexpr std::string_view kEditCompletesAtNextOpening =
    "変更は確定しましたが、ファイルの置き換えを今は完了できませんでした。"
    "次にこの辞書を開いたときに完了します。もう一度登録する必要はありません。";
// The edit is done, but tidying up after it failed (the record of the
// replacement could not be removed). After that file's name.
inline constexpr std::string_view kEditDoneUntidy =
    "変更は完了しましたが、後片付けができませんでした。このファイルは次に辞書を開いたときに"
    "削除されます。";

}  // namespace tovix::edit_text
