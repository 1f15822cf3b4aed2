// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fixed mapping of double-byte characters to double-byte characters, built
// once from two lists of equal length written as UTF-8 (the n-th character of
// the first list maps to the n-th character of the second). Lookups are a
// binary search over the CP932 codes, cheap enough for every keystroke and
// every line of a dictionary build.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tovix {

class CharMap {
  public:
    CharMap(std::string_view fromUtf8, std::string_view toUtf8);

    // The CP932 bytes that the two-byte character `ch` maps to; empty when
    // `ch` is not in the map (or is not exactly one double-byte character).
    std::string_view Map(std::string_view ch) const;

  private:
    std::string to_;
    std::vector<std::pair<uint16_t, uint32_t>> codes_;  // code, offset into to_
};

}  // namespace tovix
