// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The order, among themselves, of Japanese-English work lines whose reading
// keys tie in the sort: the order of their order lines (dict/JpnEntryOrder.h)
// under the dictionary collation. Most such lines share their reading (the
// entries of one word), so the reading is compared once per distinct reading,
// and the lines of one reading are ordered by the first bytes of the
// first-level keys of the rest of their order lines, made mostly without ICU;
// only lines whose key beginnings tie are collated whole.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "components/LightStrings.h"
#include "platform/Collation.h"

namespace tovix {

class JpnTieSort {
  public:
    explicit JpnTieSort(const TLightStrings& lines) : lines_(lines) {}

    // Sorts the line numbers in `run` into the order of their lines.
    void Sort(std::span<std::uint32_t> run);

  private:
    static constexpr size_t kKeyBytes = 20;
    struct Keyed {
        std::array<unsigned char, kKeyBytes> key;
        std::uint32_t line;
    };

    void SortOneReading(std::span<std::uint32_t> group);
    // The order by the collation of the whole order lines.
    void SortByCollation(std::span<std::uint32_t> lines);

    const TLightStrings& lines_;
    Collation collation_;
    std::vector<std::pair<std::string_view, std::uint32_t>> readings_;
    std::vector<size_t> groupStarts_;
    std::vector<std::string_view> readingTexts_;
    std::vector<std::uint32_t> groupOrder_;
    std::vector<std::string_view> texts_;
    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> scratch_;
    std::vector<Keyed> keyed_;
    std::string buffer_;
    std::vector<size_t> ends_;
    std::string key_;
};

// True when `text` ends where a character ends (no lead byte at its end
// waits for a trail byte) and holds no TAB: the collation then reads it
// alone as it reads it at the start of a longer line with a TAB after it.
bool StandsAlone(std::string_view text);

}  // namespace tovix
