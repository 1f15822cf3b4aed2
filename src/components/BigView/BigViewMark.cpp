// SPDX-License-Identifier: GPL-3.0-or-later
// TBigView: the find mark, the text a find found drawn inverted on its line.

#include <algorithm>

#include "components/BigView/BigView.h"

namespace tovix {

void TBigView::SetMark(TextLineIndex line, size_t start, size_t length) {
    DropMark();
    mark_ = {line, start, length, topLine_, lines_.Revision(), scroll_.HorzPos()};
    ShowMarkedBytes();
    Redraw();
}

void TBigView::ClearMark() {
    if (mark_.line.value >= 0) {
        DropMark();
        Redraw();
    }
}

TextLineIndex TBigView::MarkedLine() const {
    const bool current = mark_.top == topLine_ && mark_.revision == lines_.Revision() &&
                         mark_.line.value >= 0 && mark_.line < LineCount();
    return current ? mark_.line : TextLineIndex(-1);
}

// The mark goes; the view scrolls back sideways to where it was before.
void TBigView::DropMark() {
    if (mark_.line.value < 0) {
        return;
    }
    const int horzPos = mark_.horzPos;
    mark_ = {};
    if (scroll_.HorzPos() != horzPos) {
        SetHorzPos(horzPos);
    }
}

// Scrolls sideways when the marked bytes end past the right edge or begin
// before the left one: the mark then begins a third of the way in. The
// widths are measured no further than the text area reaches.
void TBigView::ShowMarkedBytes() {
    if (MarkedLine().value < 0) {
        return;
    }
    const ViewLineIndex v =
        viewLines_.TextToView({ByteColumn::OfOffset(mark_.start), mark_.line}).Line;
    const TViewLineRec rec = viewLines_.At(v);
    const size_t first = rec.Start ? rec.Start.Offset() : 0;
    const auto column = [&](size_t offset) {
        return ByteColumn(std::clamp(offset, first, first + rec.Len) - first + 1);
    };
    const int limit = std::max((maxChar_ + 1) * charWidth_, XOffset() + ClientWidth());
    const int x0 = ColumnX(v, column(mark_.start), limit);
    const int x1 = ColumnX(v, column(mark_.start + mark_.length), limit);
    if (x0 < XOffset() || x1 > XOffset() + ClientWidth()) {
        SetHorzPos(std::max(x0 - ClientWidth() / 3, 0) / charWidth_);
    }
}

// The marked bytes on each visible view line of the marked text line.
void TBigView::DrawMark(QPainter& painter) const {
    if (MarkedLine().value < 0) {
        return;
    }
    const size_t end = mark_.start + mark_.length;
    for (ViewLineIndex v = std::max(viewLines_.LineToViewLine(mark_.line), topLine_);
         v <= bottomLine_ && viewLines_.ViewLineToLine(v) == mark_.line; ++v) {
        const TViewLineRec rec = viewLines_.At(v);
        const size_t first = rec.Start ? rec.Start.Offset() : 0;  // offset of the row's first byte
        const size_t from = std::max(mark_.start, first);
        const size_t to = std::min(end, first + rec.Len);
        if (from < to) {
            InvertColumns(painter, v, ByteColumn(from - first + 1), ByteColumn(to - first + 1));
        }
    }
}

}  // namespace tovix
