// TBigView: the find mark, the text a find found drawn inverted on its line.

#include "components/BigView/BigView.h"

namespace tovix {

void TBigView::SetMark(int line, int start, int length) {
    DropMark();
    mark_ = {line, start, length, topLine_, lines_.Revision(), scroll_.HorzPos()};
    ShowMarkedBytes();
    Redraw();
}

void TBigView::ClearMark() {
    if (mark_.line >= 0) {
        DropMark();
        Redraw();
    }
}

int TBigView::MarkedLine() const {
    const bool current = mark_.top == topLine_ && mark_.revision == lines_.Revision() &&
                         mark_.line >= 0 && mark_.line < LineCount();
    return current ? mark_.line : -1;
}

// The mark goes; the view scrolls back sideways to where it was before.
void TBigView::DropMark() {
    if (mark_.line < 0) {
        return;
    }
    const int horzPos = mark_.horzPos;
    mark_ = {};
    if (scroll_.HorzPos() != horzPos) {
        SetHorzPos(horzPos);
    }
}

// Scrolls sideways when the marked bytes end past the right edge or begin
// before the left one: the mark then begins a third of the way in.
void TBigView::ShowMarkedBytes() {
    if (MarkedLine() < 0) {
        return;
    }
    int v = viewLines_.LineToViewLine(mark_.line);
    while (v + 1 < ViewLineCount() && viewLines_.ViewLineToLine(v + 1) == mark_.line &&
           viewLines_.At(v + 1).Start - 1 <= mark_.start) {
        ++v;
    }
    const TViewLineRec rec = viewLines_.At(v);
    const std::string_view text = viewLines_.Text(v);
    const auto bytes = [&](int offset) {
        const int first = std::max(rec.Start, 1) - 1;
        return static_cast<size_t>(std::clamp(offset - first, 0, rec.Len));
    };
    const int x0 = TextWidthOf(text.substr(0, bytes(mark_.start)));
    const int x1 = TextWidthOf(text.substr(0, bytes(mark_.start + mark_.length)));
    if (x0 < XOffset() || x1 > XOffset() + ClientWidth()) {
        SetHorzPos(std::max(x0 - ClientWidth() / 3, 0) / charWidth_);
    }
}

// The marked bytes on each visible view line of the marked text line.
void TBigView::DrawMark(QPainter& painter) const {
    if (MarkedLine() < 0) {
        return;
    }
    for (int v = std::max(viewLines_.LineToViewLine(mark_.line), topLine_);
         v <= bottomLine_ && viewLines_.ViewLineToLine(v) == mark_.line; ++v) {
        const TViewLineRec rec = viewLines_.At(v);
        const int first = std::max(rec.Start, 1) - 1;  // 0-based offset of the row's first byte
        const int from = std::max(mark_.start, first);
        const int to = std::min(mark_.start + mark_.length, first + rec.Len);
        if (from < to) {
            InvertColumns(painter, v, from - first + 1, to - first + 1);
        }
    }
}

}  // namespace tovix
