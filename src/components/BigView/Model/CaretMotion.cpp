// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/BigView/Model/CaretMotion.h"

#include <algorithm>

#include "components/BigView/Model/ByteClass.h"

namespace tovix {
namespace {

bool IsWordByte(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsSingleWordByte(std::string_view text, ByteColumn k) {
    return k && k.value <= text.size() && ByteClass(text, k) == SingleByte &&
           IsWordByte(text[k.Offset()]);
}

// Whether the first i bytes reach x pixels, counting a character whose lead
// byte is byte i as a whole: a lead byte alone has no glyph of its own. Only
// the text up to x is measured.
bool PrefixReaches(std::string_view text, size_t i, int x, const TWrapMeasure& measure) {
    if (ByteClass(text, ByteColumn(i)) == LeadByte && i < text.size()) {
        ++i;
    }
    return measure.WidthUpTo(text.substr(0, i), x) >= x;
}

}  // namespace

TViewPos ClampPos(const TViewLines& lines, TViewPos p) {
    const int count = lines.Count();
    if (count == 0) {
        return {};
    }
    p.Line = std::clamp(p.Line, ViewLineIndex(0), ViewLineIndex(count - 1));
    p.Column = std::min(p.Column, ByteColumn(lines.At(p.Line).Len + 1));
    return p;
}

ByteColumn SnapLeft(std::string_view viewLine, ByteColumn c) {
    return ByteClass(viewLine, c) == TrailByte ? c - 1 : c;
}

ByteColumn SnapRight(std::string_view viewLine, ByteColumn c) {
    return ByteClass(viewLine, c) == TrailByte ? c + 1 : c;
}

TViewPos MoveCaret(const TViewLines& lines, TViewPos from, CaretMove move, int pageLines) {
    const ViewLineIndex last(std::max(lines.Count() - 1, 0));
    const auto lineEnd = [&](ViewLineIndex r) {
        return ByteColumn((r.value >= 0 && r.value < lines.Count() ? lines.At(r).Len : 0) + 1);
    };
    ViewLineIndex r = from.Line;
    ByteColumn c = from.Column;
    bool left = true;
    switch (move) {
        case CaretMove::Up:
            r = r.value > 0 ? r - 1 : r;
            break;
        case CaretMove::Down:
            r = r < last ? r + 1 : r;
            left = false;
            break;
        case CaretMove::Left:
            c = c.value > 1 ? c - 1 : c;
            break;
        case CaretMove::Right:
            ++c;
            left = false;
            break;
        case CaretMove::PageUp:
            r = ViewLineIndex(std::max(r.value - pageLines, 0));
            break;
        case CaretMove::PageDown:
            r = ViewLineIndex(std::max(std::min(r.value + pageLines, last.value), 0));
            left = false;
            break;
        case CaretMove::LineStart:
            c = ByteColumn(1);
            break;
        case CaretMove::LineEnd:
            c = lineEnd(r);
            left = false;
            break;
        case CaretMove::TextStart:
            r = ViewLineIndex(0);
            c = ByteColumn(1);
            break;
        case CaretMove::TextEnd:
            r = last;
            c = lineEnd(r);
            left = false;
            break;
    }
    if (r.value < 0 || r.value >= lines.Count()) {
        return {c, r};
    }
    const std::string_view text = lines.Text(r);
    return {left ? SnapLeft(text, c) : SnapRight(text, c), r};
}

std::pair<TViewPos, TViewPos> WordAt(const TViewLines& lines, TViewPos p) {
    const std::string_view text = lines.Text(p.Line);
    const ByteColumn c = p.Column;
    switch (ByteClass(text, c)) {
        case LeadByte:
            return {p, {c + 2, p.Line}};
        case TrailByte:
            return {{c - 1, p.Line}, {c + 1, p.Line}};
        default:
            break;
    }
    if (!c || c.value > text.size()) {
        return {p, p};
    }
    if (!IsWordByte(text[c.Offset()])) {
        return {p, {c + 1, p.Line}};
    }
    ByteColumn start = c;
    while (IsSingleWordByte(text, start - 1)) {
        --start;
    }
    ByteColumn end = c;
    while (IsSingleWordByte(text, end + 1)) {
        ++end;
    }
    return {{start, p.Line}, {end + 1, p.Line}};
}

std::vector<SelectionRow> SelectionRows(const TViewLines& lines, TViewPos p, TViewPos q,
                                        ViewLineIndex top, ViewLineIndex bottom) {
    std::vector<SelectionRow> rows;
    const int count = lines.Count();
    if (p == q || count == 0) {
        return rows;
    }
    if (Before(q, p)) {
        std::swap(p, q);
    }
    bottom = std::min(bottom, ViewLineIndex(count - 1));
    if (q.Line < top || p.Line > bottom) {
        return rows;
    }
    if (p.Line < top) {
        p = {ByteColumn(1), top};
    }
    if (q.Line > bottom) {
        q = {ByteColumn(lines.At(bottom).Len + 1), bottom};
    }
    p.Column = std::max(p.Column, ByteColumn(1));
    q.Column = std::max(q.Column, ByteColumn(1));
    for (ViewLineIndex r = p.Line; r <= q.Line; ++r) {
        const ByteColumn end(lines.At(r).Len + 1);
        const ByteColumn from = r == p.Line ? p.Column : ByteColumn(1);
        if (end <= from) {
            continue;
        }
        const ByteColumn to = r == q.Line ? std::min(q.Column, end) : end;
        if (to > from) {
            rows.push_back({r, from, to});
        }
    }
    return rows;
}

// The first column whose character reaches x: widths grow with the prefix, so
// after doubling a column until it reaches x, a binary search over the columns
// up to it finds it. Both measure only the text up to x.
TViewPos PointToPosition(const TViewLines& lines, const TWrapMeasure& measure,
                         const PointGeometry& geometry, int x, int y) {
    const int count = lines.Count();
    if (count == 0) {
        return {};
    }
    const bool above = y < 0;
    y = std::clamp(y, 0, std::max(geometry.bufferHeight, 0));
    const long long shifted = 1LL * x + 1LL * geometry.charWidth * geometry.horzPos;
    x = static_cast<int>(std::clamp<long long>(shifted, 0, std::max(geometry.bufferWidth, 0)));
    const int row = y / std::max(geometry.lineHeight, 1) + geometry.topLine;
    const bool below = row > count - 1;
    const ViewLineIndex r(std::clamp(row, 0, count - 1));
    const std::string_view text = lines.Text(r);
    const ByteColumn end(text.size() + 1);
    if (below) {
        return {end, r};
    }
    if (above) {
        return {ByteColumn(1), r};
    }
    ByteColumn high(1);
    while (high < end && !PrefixReaches(text, SnapLeft(text, high).value, x, measure)) {
        high = std::min(ByteColumn(high.value * 2), end);
    }
    ByteColumn low(1);
    while (low < high) {
        const ByteColumn mid(low.value + (high.value - low.value) / 2);
        const ByteColumn start = SnapLeft(text, mid);
        if (PrefixReaches(text, start.value, x, measure)) {
            high = start;
        } else {
            low = mid + 1;
        }
    }
    return {SnapRight(text, low), r};
}

}  // namespace tovix
