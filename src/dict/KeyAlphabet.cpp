// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/KeyAlphabet.h"

#include <string>

#include "platform/Cp932.h"

namespace tovix {
namespace {

const std::string& EngAlphabet() {
    static const std::string letters = "abcdefghijklmnopqrstuvwxyz";
    return letters;
}

const std::string& JpnAlphabet() {
    return TOVIX_CP932(
        "あいうえお"
        "かきくけこ"
        "さしすせそ"
        "たちつてと"
        "なにぬねの"
        "はひふへほ"
        "まみむめも"
        "やゆよ"
        "らりるれろ"
        "わ"
        "ん");
}

}  // namespace

int AlphabetSize(Direction direction) {
    return direction == Direction::None
               ? 0
               : static_cast<int>(Alphabet(direction).size()) / KeyCharBytes(direction);
}

int KeyCharBytes(Direction direction) {
    return direction == Direction::Japanese ? 2 : 1;
}

int KeyBytes(Direction direction) {
    return 2 * KeyCharBytes(direction);
}

std::string_view Alphabet(Direction direction) {
    switch (direction) {
        case Direction::English:
            return EngAlphabet();
        case Direction::Japanese:
            return JpnAlphabet();
        case Direction::None:
            break;
    }
    return {};
}

std::string_view AlphabetChar(Direction direction, int position) {
    if (position < 1 || position > AlphabetSize(direction)) {
        return {};
    }
    const int width = KeyCharBytes(direction);
    return Alphabet(direction).substr(static_cast<size_t>((position - 1) * width), width);
}

int AlphabetPosition(Direction direction, std::string_view ch) {
    const size_t width = static_cast<size_t>(KeyCharBytes(direction));
    if (ch.size() != width) {
        return 0;
    }
    const std::string_view alphabet = Alphabet(direction);
    for (size_t place = 0; place < alphabet.size(); place += width) {
        if (alphabet.substr(place, width) == ch) {
            return static_cast<int>(place / width) + 1;
        }
    }
    return 0;
}

int PartNumber(Direction direction, std::string_view key) {
    return AlphabetPosition(direction, key.substr(0, KeyCharBytes(direction)));
}

std::string_view BlockMarkerKey(Direction direction) {
    switch (direction) {
        case Direction::English:
            return "**";
        case Direction::Japanese:
            return TOVIX_CP932("＊＊");
        case Direction::None:
            break;
    }
    return {};
}

}  // namespace tovix
