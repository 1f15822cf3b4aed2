// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolMessages.h"

namespace tovix::tool_text {

std::string NotAnInteger(std::string_view text) {
    return "'" + std::string(text) + "' は整数ではありません";
}

std::string UnconvertibleCharacters(unsigned long long count,
                                    const std::vector<unsigned long long>& lines, bool moreLines) {
    std::string where;
    for (const unsigned long long line : lines) {
        where += (where.empty() ? "" : ", ") + std::to_string(line);
    }
    return "CP932 にない文字 " + std::to_string(count) +
           " 文字を「?」に置き換えて読み込みました (" + where +
           (moreLines ? " 行目など)。" : " 行目)。");
}

std::string ExampleList(const std::vector<std::string>& examples) {
    std::string out;
    for (const std::string& example : examples) {
        out += (out.empty() ? " (例: " : "、") + example;
    }
    return out.empty() ? out : out + ")";
}

std::string ImportedCounts(unsigned long long written, unsigned long long skipped,
                           const std::vector<std::string>& skippedExamples,
                           unsigned long long replaced,
                           const std::vector<std::string>& replacedExamples,
                           unsigned long long fieldsSkipped) {
    std::string out = std::to_string(written) + " 項目を取り込みました。";
    if (skipped > 0) {
        out += "\r\n取り込めなかった見出し " + std::to_string(skipped) +
               ExampleList(skippedExamples) + "。";
    }
    if (replaced > 0) {
        out += "\r\nCP932 にない文字 " + std::to_string(replaced) + " 文字を「?」に置き換えました" +
               ExampleList(replacedExamples) + "。";
    }
    if (fieldsSkipped > 0) {
        out += "\r\n文字以外のデータ (画像、音声など) " + std::to_string(fieldsSkipped) +
               " 件は取り込みませんでした。";
    }
    return out;
}

}  // namespace tovix::tool_text
