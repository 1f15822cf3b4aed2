// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/CharMap.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Cp932.h"

namespace tovix {
namespace {

uint16_t Code(std::string_view s, size_t place) {
    return static_cast<uint16_t>(static_cast<unsigned char>(s[place]) << 8 |
                                 static_cast<unsigned char>(s[place + 1]));
}

// The lists are program data; a list that is not made of double-byte
// characters is a programming error and stops the program at start.
void CheckDoubleByteList(const std::string& cp932) {
    if (cp932.size() % 2 != 0) {
        throw std::logic_error("CharMap: odd byte count");
    }
    for (size_t i = 0; i < cp932.size(); i += 2) {
        if (!IsLeadByte(cp932[i])) {
            throw std::logic_error("CharMap: single-byte character in list");
        }
    }
}

}  // namespace

CharMap::CharMap(std::string_view fromUtf8, std::string_view toUtf8) : to_(Utf8ToCp932(toUtf8)) {
    const std::string from = Utf8ToCp932(fromUtf8);
    CheckDoubleByteList(from);
    CheckDoubleByteList(to_);
    if (from.size() != to_.size()) {
        throw std::logic_error("CharMap: lists differ in length");
    }
    for (size_t i = 0; i < from.size(); i += 2) {
        codes_.emplace_back(Code(from, i), static_cast<uint32_t>(i));
    }
    std::sort(codes_.begin(), codes_.end());
}

std::string_view CharMap::Map(std::string_view ch) const {
    if (ch.size() != 2) {
        return {};
    }
    const uint16_t code = Code(ch, 0);
    auto it = std::lower_bound(codes_.begin(), codes_.end(), std::make_pair(code, uint32_t{0}));
    if (it == codes_.end() || it->first != code) {
        return {};
    }
    return std::string_view(to_).substr(it->second, 2);
}

}  // namespace tovix
