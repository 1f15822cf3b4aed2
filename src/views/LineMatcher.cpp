// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/LineMatcher.h"

#include <algorithm>

#include "components/MbString.h"

namespace tovix {
namespace {

// Single-byte letters upper-cased, double-byte characters untouched.
void UpperSingleBytes(std::string_view text, std::string& out) {
    out.assign(text);
    for (size_t place = 0; place < out.size();) {
        ChangeCharCase(out, place, true, false);
    }
}

}  // namespace

LineMatcher::LineMatcher(std::string_view text, bool matchCase)
    : matchCase_(matchCase), candidates_(text.empty() ? " " : text, !matchCase) {
    if (matchCase) {
        text_ = text;
    } else {
        UpperSingleBytes(text, text_);
    }
}

size_t LineMatcher::PlaceFrom(std::string_view hay, size_t& boundary, size_t limit) const {
    for (size_t at = NextCandidate(hay, boundary, limit); at != kNoPlace;
         at = NextCandidate(hay, at + 1, limit)) {
        boundary = BoundaryAtOrAfter(hay, boundary, at);
        if (boundary == at && MatchesAt(hay, at)) {
            return at;
        }
    }
    return kNoPlace;
}

// The text stands at `at`, a character boundary: without the case option
// the line's single-byte characters count upper-cased there and its
// double-byte characters as they are, as if the line were upper-cased as
// the text is, but without a copy of the line.
bool LineMatcher::MatchesAt(std::string_view hay, size_t at) const {
    if (matchCase_) {
        return true;  // NextCandidate compared the bytes
    }
    for (size_t i = 0; i < text_.size();) {
        if (IsDoubleByteChar(hay, at + i)) {
            // A double-byte character may end beyond the text.
            const size_t width = std::min<size_t>(2, text_.size() - i);
            if (hay.substr(at + i, width) != std::string_view(text_).substr(i, width)) {
                return false;
            }
            i += width;
        } else {
            if (AsciiUpper(hay[at + i]) != text_[i]) {
                return false;
            }
            ++i;
        }
    }
    return true;
}

size_t LineMatcher::NextCandidate(std::string_view hay, size_t from, size_t limit) const {
    if (text_.empty()) {
        return kNoPlace;
    }
    for (size_t at = candidates_.Next(hay, from, limit); at != kNoPlace;
         at = candidates_.Next(hay, at + 1, limit)) {
        if (SameBytes(hay.substr(at, text_.size()))) {
            return at;
        }
    }
    return kNoPlace;
}

bool LineMatcher::SameBytes(std::string_view bytes) const {
    if (matchCase_) {
        return bytes == text_;
    }
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (AsciiUpper(bytes[i]) != AsciiUpper(text_[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace tovix
