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
    size_t Place(std::string_view line) {
        size_t boundary = 0;
        return PlaceFrom(line, boundary, kNoPlace);
    }

    // As Place for a line given in pieces: the first place in [boundary,
    // limit) of `hay`, a piece of a line, where the text stands in the line;
    // `boundary` is a character boundary of the line, and the text must fit
    // in `hay` from every place before `limit`. Moves `boundary` on over the
    // places tried, to a character boundary at or after the last one.
    size_t PlaceFrom(std::string_view hay, size_t& boundary, size_t limit) const;

    size_t TextSize() const { return text_.size(); }

    // The first place in [from, limit) where the text's bytes stand, case
    // folded unless the case counts; kNoPlace when there is none. Every line
    // that holds the text has such a place.
    size_t NextCandidate(std::string_view hay, size_t from, size_t limit = kNoPlace) const;

  private:
    bool SameBytes(std::string_view bytes) const;
    bool MatchesAt(std::string_view hay, size_t at) const;

    bool matchCase_;
    Candidates candidates_;
    std::string text_;
};

}  // namespace tovix
