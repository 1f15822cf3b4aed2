// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line test of the free-text find: the find text stands in the line at a
// character boundary; without the case option both are upper-cased first
// (single-byte letters only). Lines without a candidate place are passed over
// without that work.

#include <string>
#include <string_view>

#include "views/FindCandidates.h"

namespace tovix {

class LineMatcher {
  public:
    LineMatcher(std::string_view text, bool matchCase);

    bool Holds(std::string_view line) { return Place(line) != kNoPlace; }

    // The byte offset of the first place in the line where the text stands
    // by the line test; kNoPlace when the line does not hold it.
    size_t Place(std::string_view line);

    // The first place in [from, limit) where the text's bytes stand, case
    // folded unless the case counts; kNoPlace when there is none. Every line
    // that holds the text has such a place.
    size_t NextCandidate(std::string_view hay, size_t from, size_t limit = kNoPlace) const;

  private:
    bool SameBytes(std::string_view bytes) const;

    bool matchCase_;
    Candidates candidates_;
    std::string text_;
    std::string buffer_;
};

}  // namespace tovix
