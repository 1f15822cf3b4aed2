// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The full line store, kept by every text view for the lines that it shows:
// the light line store plus replacing and swapping lines, a case-insensitive
// search, and filling from a string list.

#include <string>
#include <string_view>
#include <vector>

#include "components/LightStrings.h"
#include "components/Positions.h"

namespace tovix {

class TBvStrings : public TLightStrings {
  public:
    using TLightStrings::Exchange;
    using TLightStrings::Put;

    // Searches forward from text line `line` (from 0 when negative), byte
    // column `column` (from 1 when 0), for `text`, ignoring the case
    // of the ASCII letters only. A match may start on the second byte of a
    // double-byte character. On a match returns true with `line` and `column`
    // at its first byte; otherwise returns false with `line` = Count and
    // `column` = 1. An empty `text` returns false and changes nothing. Later
    // lines are searched from column 1; the search never wraps around.
    bool Find(std::string_view text, int& line, ByteColumn& column) const;

    // Sets Capacity to Count + the list's size, then appends its lines in order.
    void AddStrings(const std::vector<std::string>& list);
    // The same, taking the lines over without copying their bytes.
    void AddStrings(std::vector<std::string>&& list);
    // Clear, then AddStrings.
    void Assign(const std::vector<std::string>& list);
    void Assign(std::vector<std::string>&& list);

  private:
    // Raises Capacity for `added` more lines.
    void ReserveFor(size_t added);
};

}  // namespace tovix
