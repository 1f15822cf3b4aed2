// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/PrefixSummary.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "components/MbString.h"
#include "dict/KanaText.h"
#include "platform/Cp932.h"

namespace tovix {

namespace {

constexpr std::uint64_t kEveryByte = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

// The high bit of every byte of `word` that equals `byte`.
constexpr std::uint64_t BytesEqual(std::uint64_t word, unsigned char byte) {
    const std::uint64_t x = word ^ (kEveryByte * byte);
    return ~(((x & ~kHighBits) + ~kHighBits) | x) & kHighBits;
}

// `word` with the bytes 'A' .. 'Z' lower-cased, all eight at once.
constexpr std::uint64_t LowerCaseBytes(std::uint64_t word) {
    const std::uint64_t low7 = word & ~kHighBits;
    const std::uint64_t atLeastA = low7 + kEveryByte * (0x80 - 'A');
    const std::uint64_t aboveZ = low7 + kEveryByte * (0x80 - 'Z' - 1);
    const std::uint64_t upper = atLeastA & ~aboveZ & ~word & kHighBits;
    return word | upper >> 2;
}

bool IgnoredByte(char c) {
    return c == '-' || c == '\'';
}

// The text with katakana and ヽ ヾ as their hiragana (KanaText.h), as the
// Japanese lookup compares them, as far as its prefixes reach: until eight
// bytes that are not a hyphen or an apostrophe; the rest as it is. A lead
// byte cut off at the end is left out, as it may stand for any character.
std::string KanaAsHiragana(std::string_view text) {
    std::string out;
    size_t counted = 0;
    size_t place = 0;
    while (place < text.size() && counted < 8) {
        const size_t start = place;
        const std::string_view ch = text.substr(start, NextChar(text, place));
        if (ch.size() == 1 && IsLeadByte(ch[0]) && place == text.size()) {
            return out;
        }
        out += KataToHiraChar(ch);
        counted += ch.size() == 1 && IgnoredByte(ch[0]) ? 0 : ch.size();
    }
    out += text.substr(place);
    return out;
}

// Whether the text has a byte that may lead a katakana, ヽ or ヾ.
bool MayHoldKatakana(std::string_view text) {
    return text.find_first_of("\x81\x83") != std::string_view::npos;
}

}  // namespace

PrefixSummary::Bounds PrefixSummary::Prefix::Extensions() const {
    // The bytes after the first `size` may be anything; a shift by 64 bits
    // would be undefined, so eight bytes leave no free bits.
    return {value, value | (size >= 8 ? 0 : ~std::uint64_t{0} >> (8 * size))};
}

PrefixSummary::Prefixes PrefixSummary::PrefixesOf(std::string_view text) {
    const size_t size = std::min<size_t>(text.size(), 8);
    std::uint64_t word = 0;
    if (size > 0) {
        std::memcpy(&word, text.data(), size);
    }
    const bool ignored = (BytesEqual(word, '-') | BytesEqual(word, '\'')) != 0;
    // Katakana count as hiragana: in the first eight bytes, or as far as the
    // prefix without hyphens and apostrophes reaches.
    if (((BytesEqual(word, 0x83) | BytesEqual(word, 0x81)) != 0 ||
         (ignored && MayHoldKatakana(text))) &&
        !text.empty()) {
        const std::string folded = KanaAsHiragana(text);
        if (folded != text) {
            return PrefixesOf(folded);
        }
    }
    if constexpr (std::endian::native == std::endian::little) {
        word = __builtin_bswap64(word);
    }
    const Prefix bytes{LowerCaseBytes(word), size};
    if (!ignored && (size == 8 || size == text.size())) {
        return {bytes, bytes};
    }
    Prefix sorted;
    for (size_t i = 0; i < text.size() && sorted.size < 8; ++i) {
        if (!IgnoredByte(text[i])) {
            sorted.value |= std::uint64_t{static_cast<unsigned char>(AsciiLower(text[i]))}
                            << (8 * (7 - sorted.size));
            ++sorted.size;
        }
    }
    return {bytes, sorted};
}

PrefixSummary::PrefixSummary(int count) : count_(std::max(count, 0)) {
    for (int parity = 0; parity < 2; ++parity) {
        const int lines = (count_ + 1 - parity) / 2;
        chunks_[static_cast<size_t>(parity)].resize(
            static_cast<size_t>((lines + kChunkLines - 1) / kChunkLines));
    }
}

}  // namespace tovix
