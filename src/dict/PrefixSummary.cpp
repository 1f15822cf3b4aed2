#include "dict/PrefixSummary.h"

#include <algorithm>

#include "components/MbString.h"

namespace tovix {

std::uint64_t PrefixSummary::Prefix(std::string_view text) {
    std::uint64_t value = 0;
    for (size_t i = 0; i < 8; ++i) {
        const char c = i < text.size() ? AsciiLower(text[i]) : '\0';
        value = value << 8 | static_cast<unsigned char>(c);
    }
    return value;
}

void PrefixSummary::Add(int line, std::string_view text) {
    std::vector<Bounds>& chunks = chunks_[static_cast<size_t>(line & 1)];
    const auto chunk = static_cast<size_t>((line >> 1) / kChunkLines);
    if (chunk == chunks.size()) {
        chunks.emplace_back();
    }
    const std::uint64_t prefix = Prefix(text);
    chunks[chunk].low = std::min(chunks[chunk].low, prefix);
    chunks[chunk].high = std::max(chunks[chunk].high, prefix);
}

bool PrefixSummary::MayHold(int line, std::uint64_t low, std::uint64_t high) const {
    if (line >= count_) {
        return true;
    }
    const Bounds& bounds =
        chunks_[static_cast<size_t>(line & 1)][static_cast<size_t>((line >> 1) / kChunkLines)];
    return bounds.low <= high && bounds.high >= low;
}

}  // namespace tovix
