// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/BigView/Model/TextPieces.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace tovix {
namespace {

int NextTabStop(int x, int tabDistance) {
    return tabDistance > 0 ? (x / tabDistance + 1) * tabDistance : x;
}

}  // namespace

size_t FirstPieceBytes(std::string_view text) {
    const std::string_view run =
        text.substr(0, text.substr(0, TTextPieces::kPieceBytes + 1).find('\t'));
    size_t n = 0;
    while (n < run.size() && n < TTextPieces::kPieceBytes) {
        n += IsLeadByte(run[n]) && n + 1 < run.size() ? 2 : 1;
    }
    return n;
}

TTextPieces::Remembered* TTextPieces::Find(std::string_view text, int tabDistance) const {
    if (!remember_ || text.size() <= kShapedBytes) {
        return nullptr;
    }
    for (Remembered& remembered : texts_) {
        if (remembered.data == text.data() && remembered.tabDistance == tabDistance) {
            return &remembered;
        }
    }
    Remembered fresh{text.data(), tabDistance, {Start{0, 0}}};
    if (texts_.size() < kRememberedTexts) {
        texts_.push_back(std::move(fresh));
        return &texts_.back();
    }
    Remembered& slot = texts_[nextSlot_];
    nextSlot_ = (nextSlot_ + 1) % kRememberedTexts;
    slot = std::move(fresh);
    return &slot;
}

// The remembered piece start to walk on from: the last one inside the text
// that begins before `visibleFrom` and at most at `limit`. Offsets and x both
// grow along the list.
TTextPieces::Start TTextPieces::Resume(const std::vector<Start>& starts, size_t size,
                                       int visibleFrom, int limit) {
    const auto inside = std::partition_point(starts.begin(), starts.end(),
                                             [&](const Start& s) { return s.offset <= size; });
    const auto usable = std::partition_point(
        starts.begin(), inside, [&](const Start& s) { return s.x < visibleFrom && s.x <= limit; });
    return usable == starts.begin() ? Start{0, 0} : *(usable - 1);
}

int TTextPieces::Walk(std::string_view text, int tabDistance, int visibleFrom, int limit,
                      const Width& width, const Visit& visit) const {
    Remembered* remembered = Find(text, tabDistance);
    const Start from =
        remembered ? Resume(remembered->starts, text.size(), visibleFrom, limit) : Start{0, 0};
    size_t offset = from.offset;
    int x = from.x;
    while (offset < text.size() && x <= limit) {
        if (text[offset] == '\t') {
            x = NextTabStop(x, tabDistance);
            ++offset;
            continue;
        }
        if (remembered && offset > remembered->starts.back().offset) {
            remembered->starts.push_back({offset, x});
        }
        const std::string_view piece = text.substr(offset, FirstPieceBytes(text.substr(offset)));
        const int pieceWidth = width(piece, offset);
        if (visit && x + pieceWidth >= visibleFrom) {
            visit(piece, x);
        }
        x += pieceWidth;
        offset += piece.size();
    }
    return x;
}

}  // namespace tovix
