// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/SearchKey.h"

#include <algorithm>

#include "components/MbString.h"
#include "dict/KanaFolding.h"
#include "dict/KanaText.h"
#include "dict/Romaji.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

constexpr std::string_view kSignChars = "1234567890!\"#$%&'()-=^~\\`[{;+:*]},<.>/_@";

bool IsLetterOrHyphen(char c) {
    char lower = AsciiLower(c);
    return (lower >= 'a' && lower <= 'z') || c == '-';
}

}  // namespace

bool IsSignChar(char c) {
    return kSignChars.find(c) != std::string_view::npos;
}

// Hyphens and apostrophes do not count in the key: the dictionary sorts
// without them, so "e-mail" stands among the "em" words and "I'll" among
// the "il" words.
bool IgnoredInKey(char c) {
    return c == '-' || c == '\'';
}

std::string EngSearchKey(std::string_view text) {
    std::string h;
    for (char c : text) {
        if (!IgnoredInKey(c)) {
            h += c;
        }
    }
    std::string key;
    if (h.size() == 1 || (h.size() >= 2 && h[1] == ' ')) {
        key = std::string(1, h[0]) + "a";
    } else {
        key = h.substr(0, 2);
    }
    if (!h.empty() && IsSignChar(h[0])) {
        key = "aa";
    } else if (h.size() >= 2 && IsSignChar(h[1])) {
        key = std::string(1, h[0]) + "a";
    }
    return MbLowerCase(key);
}

bool KeyNeedsWholePart(Direction direction, std::string_view text) {
    if (direction == Direction::Japanese) {
        return text.size() == 2 && IsDoubleByteChar(text, 0);
    }
    const auto ignored = static_cast<size_t>(std::count_if(text.begin(), text.end(), IgnoredInKey));
    return ignored > 0 && text.size() - ignored <= 1;
}

std::string JpnSearchKey(std::string_view text) {
    std::string key;
    if (text.size() == 2 && IsDoubleByteChar(text, 0)) {
        key = std::string(text) + TOVIX_CP932("あ");
    } else {
        key = std::string(text.substr(0, 4));
    }
    return FoldSearchKey(key);
}

namespace {

// Where the romaji tail of a text begins; npos when it has none.
size_t RomajiTailStart(std::string_view text) {
    for (size_t place = 0; place < text.size();) {
        if (!IsDoubleByteChar(text, place) && IsLetterOrHyphen(text[place])) {
            return place;
        }
        NextChar(text, place);
    }
    return std::string_view::npos;
}

}  // namespace

std::optional<std::string> ConvertRomajiTail(std::string_view text, bool imeStyleN) {
    const size_t place = RomajiTailStart(text);
    if (place == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view tail = text.substr(place);
    std::optional<std::string> kana;
    if (imeStyleN && tail.starts_with("nn")) {
        kana = ImeStyleN(tail);
    } else if (std::string_view table = RomajiToKana(tail); !table.empty()) {
        kana = std::string(table);
    } else if (imeStyleN) {
        kana = ImeStyleN(tail);
    }
    if (!kana) {
        return std::nullopt;
    }
    return std::string(text.substr(0, place)) + *kana;
}

JpnField ConvertJpnField(std::string_view text, bool imeStyleN) {
    JpnField field;
    field.text = ConvertRomajiTail(text, imeStyleN).value_or(std::string(text));
    if (!HoldsKanji(field.text)) {
        field.text = KataToHira(field.text);
    }
    field.searchText = field.text;
    const size_t place = RomajiTailStart(field.text);
    if (place != std::string_view::npos) {
        const std::string_view tail = std::string_view(field.text).substr(place);
        if (imeStyleN && (tail == "n" || tail == "nn")) {
            field.searchText = field.text.substr(0, place) + TOVIX_CP932("ん");
        } else {
            field.pending = BeginsRomajiKey(tail);
        }
    }
    return field;
}

}  // namespace tovix
