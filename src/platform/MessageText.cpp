// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageText.h"

namespace tovix {
namespace {

// Messages whose text ends so stand one blank further in.
constexpr std::string_view kFourBlankEndings[] = {"指定されていません。", "終了しますか。"};

bool TakesFourBlanks(std::string_view text) {
    for (std::string_view ending : kFourBlankEndings) {
        if (text.ends_with(ending)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string PaddedMessage(std::string_view text) {
    std::string out(TakesFourBlanks(text) ? 4 : 3, ' ');
    out += text;
    out.append(10, ' ');
    return out;
}

std::string Padded(std::string_view text, int before, int after) {
    std::string out(static_cast<size_t>(before), ' ');
    out += text;
    out.append(static_cast<size_t>(after), ' ');
    return out;
}

std::string NoticeText(std::string_view text) {
    return Padded(text, 4, 3);
}

std::string FileMessage(std::string_view fileName, std::string_view text) {
    std::string out = "   ";
    out += fileName;
    out += " の\r\n";
    out += PaddedMessage(text);
    return out;
}

}  // namespace tovix
