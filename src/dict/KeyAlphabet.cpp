// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/KeyAlphabet.h"

#include <cstdint>
#include <string>
#include <vector>

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

// The alphabet position of every character of one or two bytes, found by
// its bytes instead of by a walk through the alphabet: the table builder and
// the search ask for it for every entry.
class PositionTable {
  public:
    explicit PositionTable(Direction direction) : positions_(256 * 256, 0) {
        const std::string_view alphabet = Alphabet(direction);
        const size_t width = static_cast<size_t>(KeyCharBytes(direction));
        for (size_t place = 0; place < alphabet.size(); place += width) {
            positions_[Index(alphabet.substr(place, width))] =
                static_cast<std::uint8_t>(place / width + 1);
        }
    }

    // `ch` has the alphabet's width.
    int Of(std::string_view ch) const { return positions_[Index(ch)]; }

  private:
    static size_t Index(std::string_view ch) {
        size_t index = 0;
        for (char c : ch) {
            index = index * 256 + static_cast<unsigned char>(c);
        }
        return index;
    }

    std::vector<std::uint8_t> positions_;
};

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
    if (direction == Direction::None || ch.size() != width) {
        return 0;
    }
    static const PositionTable eng(Direction::English);
    static const PositionTable jpn(Direction::Japanese);
    return (direction == Direction::Japanese ? jpn : eng).Of(ch);
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
