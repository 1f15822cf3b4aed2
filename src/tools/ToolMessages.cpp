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

}  // namespace tovix::tool_text
