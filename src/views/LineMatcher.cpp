// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/LineMatcher.h"

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

size_t LineMatcher::Place(std::string_view line) {
    if (NextCandidate(line, 0) == kNoPlace) {
        return kNoPlace;
    }
    if (matchCase_) {
        return MbFind(text_, line);
    }
    // Upper-casing keeps every byte in its place.
    UpperSingleBytes(line, buffer_);
    return MbFind(text_, buffer_);
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
