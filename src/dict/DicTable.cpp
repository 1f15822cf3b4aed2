// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/DicTable.h"

#include <charconv>
#include <optional>
#include <stdexcept>
#include <utility>

#include "components/LightStrings.h"
#include "dict/DicTableError.h"
#include "dict/KeyAlphabet.h"
#include "platform/IoError.h"

namespace tovix {
namespace {

// A decimal integer filling the whole text, with an optional minus sign (the
// dictionary builder writes -1 for keys without entries); no blanks, no plus
// sign, nothing after the digits, and within the range of int.
std::optional<int> DecimalValue(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

TDicTable::TDicTable(std::vector<std::string> lines, Direction direction,
                     std::filesystem::path source)
    : direction_(direction), path_(std::move(source)) {
    if (direction == Direction::None) {
        throw std::invalid_argument("a table needs a direction");
    }
    lines_.reserve(lines.size());
    for (std::string& text : lines) {
        lines_.push_back(Parse(std::move(text)));
    }
    const int n = AlphabetSize(direction_);
    toolsLayout_ = Count() == n * (n + 1);
    for (int i = 0; i < Count() && toolsLayout_; ++i) {
        toolsLayout_ = Key(i) == ExpectedKey(i);
    }
}

TDicTable TDicTable::LoadFromFile(const std::filesystem::path& path, Direction direction) {
    TLightStrings file;
    try {
        file.LoadFromFile(path);
    } catch (const IoError&) {
        throw DicTableError(path);
    }
    std::vector<std::string> lines;
    file.AssignTo(lines);
    return TDicTable(std::move(lines), direction, path);
}

void TDicTable::SaveToFile(const std::filesystem::path& path) const {
    TLightStrings file;
    for (const Line& line : lines_) {
        file.Add(line.text);
    }
    file.SaveToFile(path);
}

void TDicTable::Put(int index, std::string line) {
    At(index);
    lines_[static_cast<size_t>(index)] = Parse(std::move(line));
    toolsLayout_ = toolsLayout_ && Key(index) == ExpectedKey(index);
}

int TDicTable::FindKeyLine(std::string_view key) const {
    if (toolsLayout_) {
        const size_t width = static_cast<size_t>(KeyCharBytes(direction_));
        const int p = AlphabetPosition(direction_, key.substr(0, width));
        const int q = key.size() == 2 * width ? AlphabetPosition(direction_, key.substr(width)) : 0;
        return p != 0 && q != 0 ? (p - 1) * (AlphabetSize(direction_) + 1) + q : Count();
    }
    for (int i = 0; i < Count(); ++i) {
        if (!IsMarker(i) && Key(i) == key) {
            return i;
        }
    }
    return Count();
}

std::string TDicTable::ExpectedKey(int index) const {
    const int n = AlphabetSize(direction_);
    const int place = index % (n + 1);
    if (place == 0) {
        return std::string(BlockMarkerKey(direction_));
    }
    return std::string(AlphabetChar(direction_, index / (n + 1) + 1)) +
           std::string(AlphabetChar(direction_, place));
}

const std::string& TDicTable::Get(int index) const {
    return At(index).text;
}

std::string_view TDicTable::Key(int index) const {
    return std::string_view(At(index).text).substr(0, KeyBytes(direction_));
}

int TDicTable::Value(int index) const {
    return At(index).value;
}

bool TDicTable::IsMarker(int index) const {
    return At(index).marker;
}

TDicTable::Line TDicTable::Parse(std::string text) const {
    const size_t keyBytes = static_cast<size_t>(KeyBytes(direction_));
    if (text.size() <= keyBytes || text[keyBytes] != '=') {
        throw DicTableError(path_);
    }
    const std::optional<int> value = DecimalValue(std::string_view(text).substr(keyBytes + 1));
    if (!value) {
        throw DicTableError(path_);
    }
    const bool marker = std::string_view(text).substr(0, keyBytes) == BlockMarkerKey(direction_);
    return Line{std::move(text), *value, marker};
}

const TDicTable::Line& TDicTable::At(int index) const {
    if (index < 0 || index >= Count()) {
        throw std::out_of_range("table line " + std::to_string(index) + " does not exist");
    }
    return lines_[static_cast<size_t>(index)];
}

}  // namespace tovix
