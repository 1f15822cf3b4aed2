// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliMessages.h"

#include "tools/ToolMessages.h"

namespace tovix::cli_text {
namespace {

std::string DictionaryList(std::string_view settings, Direction direction, long long slot) {
    return std::string(settings) + " の " + (direction == Direction::English ? "英和" : "和英") +
           "辞書 " + std::to_string(slot) + " 番";
}

}  // namespace

std::string UnknownSubcommand(std::string_view name) {
    return "'" + std::string(name) +
           "' というサブコマンドはありません。tovix-tool --help で一覧を表示します。";
}

std::string Usage(std::string_view name, std::string_view usage) {
    return "使い方: tovix-tool " + std::string(name) + " " + std::string(usage) +
           "\n詳しくは tovix-tool --help を見てください。\n";
}

std::string ShowHeading(std::string_view word) {
    return "【" + std::string(word) + "】\n";
}

std::string ShowBaseHeading(std::string_view word, std::string_view names) {
    return "→ " + std::string(word) + (names.empty() ? "" : "（" + std::string(names) + "）") +
           "\n";
}

std::string Done(std::string_view outputs) {
    return "完了しました: " + std::string(outputs) + "\n";
}

std::string KeptAtEnd(std::size_t entries) {
    return "最後の頭文字より後に並ぶ見出し: " + std::to_string(entries) + " 件" +
           (entries > 0 ? " (最後の分割ファイルの末尾に収めました)" : "") + "\n";
}

std::string DictionaryImported(const DictImportCounts& counts) {
    const auto examples = tool_text::ExampleList;
    return "書き出した項目: " + std::to_string(counts.written) + " 件\n" +
           "取り込めなかった見出し: " + std::to_string(counts.skipped) + " 件" +
           examples(counts.skippedExamples) + "\n" +
           "CP932 にない文字を「?」に置き換えた数: " + std::to_string(counts.replaced) + " 文字" +
           examples(counts.replacedExamples) + "\n" +
           "辞書の情報の項目 (00database...、取り込まない): " + std::to_string(counts.infoEntries) +
           " 件\n" + "文字以外のデータ (取り込まない): " + std::to_string(counts.fieldsSkipped) +
           " 件\n";
}

std::string EdictImported(std::size_t written, std::size_t skipped, std::size_t malformed) {
    return "書き出した見出し: " + std::to_string(written) + " 件\n" +
           "CP932 にない文字を含むため飛ばした項目: " + std::to_string(skipped) + " 件\n" +
           "項目の形をしていないため飛ばした行: " + std::to_string(malformed) + " 行\n";
}

std::string EdictSkippedWord(std::size_t line, std::string_view word) {
    return "  " + std::to_string(line) +
           " 行目: " + (word.empty() ? std::string("(読めない文字を含む行)") : std::string(word)) +
           "\n";
}

std::string Registered(std::string_view settings, Direction direction, long long slot,
                       std::string_view title, std::string_view file) {
    return "登録しました: " + DictionaryList(settings, direction, slot) + " = " +
           std::string(title) + " (" + std::string(file) + ")\n";
}

std::string SlotTaken(std::string_view settings, Direction direction, long long slot,
                      std::string_view title) {
    return "登録しませんでした: " + DictionaryList(settings, direction, slot) + "には別の辞書 (" +
           std::string(title) + ") があります。\n";
}

}  // namespace tovix::cli_text
