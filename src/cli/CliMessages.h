// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every text of tovix-tool that is its own, once: the help, the usage errors,
// the closing lines of the commands and the terminal's questions. The
// messages of the tools, the dictionary and the find come from their own
// catalogues; the subcommands' one-line summaries stand in their table
// (Subcommands.cpp).

#include <cstddef>
#include <string>
#include <string_view>

#include "dict/Direction.h"
#include "tools/DictImport.h"

namespace tovix::cli_text {

// The help before and after the list of subcommands; the program directory
// follows kHelpTail on the help's last line (left out of the manual page),
// then kHelpEnd.
inline constexpr std::string_view kHelpHead =
    "使い方: tovix-tool [--yes] サブコマンド [オプション] ファイル...\n\n"
    "辞書ツール。--eng は英和辞書、--jpn は和英辞書。\n"
    "[EXM] は 1 行 1 項目 (見出し TAB 訳語)、[PDIC] は見出しの行と訳語の行、\n"
    "[TOVIX] は辞書ファイル (.DIC など) と分割ファイル .001 以降と .DAT の組。\n\n";
inline constexpr std::string_view kHelpTail =
    "\n"
    "  check と divide の N は 1 から 1024 までのバイト数 (全角文字は 2)。\n"
    "  既定は [EXM] が見出し 60・訳語 360、[PDIC] が見出し 256・訳語 512。\n"
    "  lookup は WORD ごとに、辞書を開いた直後の状態から検索し、タブ区切りの 1 行を出す:\n"
    "    検索欄の文字列、分割ファイル番号、先頭行の番号 (0 から)、最後の検索で\n"
    "    一致すれば 1 (表示が動かなければ 0)、先頭行の内容。--jpn で漢字を含む WORD は、\n"
    "    見出しの [ ] の中の表記で引く (辞書の .KJI ファイル)。\n"
    "  find は分割ファイル 1 の先頭から下へ (--up では最後の分割ファイルの末尾から上へ)\n"
    "    探し、見つかった分割ファイル番号とタブと行番号 (0 から) の行、続けてその項目の\n"
    "    見出しの行と訳語の行を出す。見つからなければその旨を出して終了ステータス 1。\n"
    "    --all では、見つかる項目 (次検索で順に止まる項目) ごとに分割ファイル番号、\n"
    "    行番号、見出しをタブ区切りで 1 行ずつ出す。\n"
    "  show は WORD ごとに【WORD】の行、続けて項目ごとに見出しとタブと訳語の行を出す。\n"
    "    項目は WORD を入力したときに表示の先頭に来る項目と、それに続く同じ文字列で始まる\n"
    "    見出しの項目。見つからない WORD があれば終了ステータス 1。--json では WORD ごとに\n"
    "    {\"word\":..,\"found\":true|false,\"entries\":[{\"headword\":..,\"translation\":..}]}\n"
    "    を 1 行に出す。\n"
    "  add、change、delete は表示画面の 登録、編集、削除 と同じく、分割ファイル、辞書テーブル\n"
    "    ファイル (.DAT) と編集記録 (TOVIXADE.TXT など) をまとめて書き換える。和英の WRITTEN は\n"
    "    [漢字] の形で、change で省くと今の [漢字] のまま。同じ辞書の編集中は終わるのを待つ。\n"
    "  --encoding E は読み込むテキスト ([EXM] [PDIC] EDICT) の文字コード: auto (既定)、\n"
    "    cp932、utf-8 (import-edict では euc-jp も)。auto では UTF-8 のファイル (BOM 付き、\n"
    "    または UTF-8 として正しい多バイト文字を含むもの) を UTF-8 として読み、それ以外を\n"
    "    CP932 (EDICT は EUC-JP) として読む。CP932 にない文字は「?」に置き換えて、その数と\n"
    "    行を知らせる。\n"
    "  import-dictd と import-stardict は辞書のすべての項目を [EXM] に書き出す。--jpn では\n"
    "    同じ訳語を指すかなの見出しを読み、それ以外を表記として「よみ[表記]」にする。CP932 に\n"
    "    ない文字は訳語では「?」に置き換え、見出しにあればその項目を取り込まず、数と例を出す。\n"
    "    exm-to-tovix は .index または .ifo を渡すと、取り込んでから辞書を作る。\n"
    "  tovix-to-stardict は OUT.ifo と同じ名前の .idx、.dict.dz (dictzip 形式)、和英では\n"
    "    表記を同義語とする .syn を UTF-8 で書く。.dict が既にあればそれも書き直す。\n"
    "  --output-encoding E は tovix-to-exm、pdic-to-exm、import-dictd、import-stardict が\n"
    "    書く [EXM] の文字コード: cp932 (既定) または utf-8。行末はどちらも CR LF。\n\n"
    "オプション:\n"
    "  --yes, -y   上書きの確認と分割の確認に「はい」と答える。付けないときは、標準入力が\n"
    "              端末なら端末で尋ね、そうでなければ確認の文を出して中止する。\n"
    "  --help, -h  この説明を表示する。\n"
    "  --version   版、ライセンス (GPL-3.0-or-later) と無保証の旨を表示する。\n"
    "  --          以降の引数をすべてファイル名とする。\n\n"
    "メッセージと進み具合は標準エラー出力に出る (UTF-8)。作業ファイル (TOVIXSRT.TXT など)\n"
    "と設定ファイル (tovix.INI) はプログラムのディレクトリに置かれる: プログラムのある\n"
    "ディレクトリ、そこに書き込めなければ ~/.local/share/tovix。\n\n"
    "終了ステータス: 0 成功、1 失敗または中止、2 引数の誤り。\n\n"
    "今のプログラムのディレクトリ: ";
inline constexpr std::string_view kHelpEnd = "\n";

// Usage errors.
inline constexpr std::string_view kNoSubcommand =
    "サブコマンドを指定してください。tovix-tool --help で一覧を表示します。";
std::string UnknownSubcommand(std::string_view name);
inline constexpr std::string_view kBadArguments = "引数が正しくありません。";
std::string Usage(std::string_view name, std::string_view usage);

// show: the heading line of a word and the line of a word not found.
std::string ShowHeading(std::string_view word);
inline constexpr std::string_view kShowNotFound = "見つかりませんでした。\n";
// The line before the entries of a base form: "→ 食べる（過去）".
std::string ShowBaseHeading(std::string_view word, std::string_view names);
// Said once when English base forms were looked for without WordNet's lists.
inline constexpr std::string_view kIrregularFormsMissing =
    "WordNet の不規則変化の一覧 (/usr/share/wordnet/*.exc) "
    "がないため、英語は規則変化だけから原形を探しました。";

// add, change and delete: the headword given has no entry where typing it
// brings the view (or on the line given).
inline constexpr std::string_view kNoSuchEntry = "指定された見出しの項目が辞書にありません。";

// Closing lines of the commands, each ending with a line feed.
std::string Done(std::string_view outputs);
std::string KeptAtEnd(std::size_t entries);
std::string DictionaryImported(const DictImportCounts& counts);
std::string EdictImported(std::size_t written, std::size_t skipped, std::size_t malformed);
// One word left out, under the counts: its EDICT line and the word (UTF-8),
// or that the line could not be read.
std::string EdictSkippedWord(std::size_t line, std::string_view word);
std::string Registered(std::string_view settings, Direction direction, long long slot,
                       std::string_view title, std::string_view file);
std::string SlotTaken(std::string_view settings, Direction direction, long long slot,
                      std::string_view title);

// The terminal's yes-or-no question.
inline constexpr std::string_view kAssumedYes = "  はい (--yes)";
inline constexpr std::string_view kYesOrNo = "  はい(y) / いいえ(n) > ";
inline constexpr std::string_view kYesWord = "はい";
inline constexpr std::string_view kNoWord = "いいえ";
inline constexpr std::string_view kCannotAsk =
    "端末から答えられないため中止しました。「はい」と答えるには --yes を付けてください。";

}  // namespace tovix::cli_text
