#include "dict/SearchKey.h"

#include <algorithm>

#include "components/MbString.h"
#include "dict/KanaFolding.h"
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

std::optional<std::string> ConvertRomajiTail(std::string_view text) {
    for (size_t place = 0; place < text.size();) {
        if (!IsDoubleByteChar(text, place) && IsLetterOrHyphen(text[place])) {
            std::string_view kana = RomajiToKana(text.substr(place));
            if (kana.empty()) {
                return std::nullopt;
            }
            return std::string(text.substr(0, place)) + std::string(kana);
        }
        NextChar(text, place);
    }
    return std::nullopt;
}

}  // namespace tovix
