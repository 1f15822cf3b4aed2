#include "components/BigView/Model/CaretMotion.h"

#include <algorithm>

#include "components/BigView/Model/ByteClass.h"

namespace tovix {
namespace {

bool IsWordByte(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsSingleWordByte(std::string_view text, int k) {
    return k >= 1 && static_cast<size_t>(k) <= text.size() && ByteClass(text, k) == SingleByte &&
           IsWordByte(text[static_cast<size_t>(k) - 1]);
}

// Width of the first i bytes, counting a character whose lead byte is byte i
// as a whole: a lead byte alone has no glyph of its own.
int PrefixWidth(std::string_view text, int i, const TWrapMeasure& measure) {
    if (ByteClass(text, i) == LeadByte && static_cast<size_t>(i) < text.size()) {
        ++i;
    }
    return measure.TextWidthOf(text.substr(0, static_cast<size_t>(i)));
}

}  // namespace

TViewPos ClampPos(const TViewLines& lines, TViewPos p) {
    const int count = lines.Count();
    if (count == 0) {
        return {};
    }
    p.Line = std::clamp(p.Line, 0, count - 1);
    p.Column = std::clamp(p.Column, 0, lines.At(p.Line).Len + 1);
    return p;
}

int SnapLeft(std::string_view viewLine, int c) {
    return ByteClass(viewLine, c) == TrailByte ? c - 1 : c;
}

int SnapRight(std::string_view viewLine, int c) {
    return ByteClass(viewLine, c) == TrailByte ? c + 1 : c;
}

TViewPos MoveCaret(const TViewLines& lines, TViewPos from, CaretMove move, int pageLines) {
    const int last = std::max(lines.Count() - 1, 0);
    int r = from.Line;
    int c = from.Column;
    bool left = true;
    switch (move) {
        case CaretMove::Up:
            r = r > 0 ? r - 1 : r;
            break;
        case CaretMove::Down:
            r = r < last ? r + 1 : r;
            left = false;
            break;
        case CaretMove::Left:
            c = c > 1 ? c - 1 : c;
            break;
        case CaretMove::Right:
            ++c;
            left = false;
            break;
        case CaretMove::PageUp:
            r = std::max(r - pageLines, 0);
            break;
        case CaretMove::PageDown:
            r = std::max(std::min(r + pageLines, last), 0);
            left = false;
            break;
        case CaretMove::LineStart:
            c = 1;
            break;
        case CaretMove::LineEnd:
            c = (r >= 0 && r < lines.Count() ? lines.At(r).Len : 0) + 1;
            left = false;
            break;
        case CaretMove::TextStart:
            r = 0;
            c = 1;
            break;
        case CaretMove::TextEnd:
            r = last;
            c = (lines.Count() > 0 ? lines.At(r).Len : 0) + 1;
            left = false;
            break;
    }
    if (r < 0 || r >= lines.Count()) {
        return {c, r};
    }
    const std::string_view text = lines.Text(r);
    return {left ? SnapLeft(text, c) : SnapRight(text, c), r};
}

std::pair<TViewPos, TViewPos> WordAt(const TViewLines& lines, TViewPos p) {
    const std::string_view text = lines.Text(p.Line);
    const int c = p.Column;
    switch (ByteClass(text, c)) {
        case LeadByte:
            return {p, {c + 2, p.Line}};
        case TrailByte:
            return {{c - 1, p.Line}, {c + 1, p.Line}};
        default:
            break;
    }
    if (static_cast<size_t>(c) > text.size()) {
        return {p, p};
    }
    if (!IsWordByte(text[static_cast<size_t>(c) - 1])) {
        return {p, {c + 1, p.Line}};
    }
    int start = c;
    while (IsSingleWordByte(text, start - 1)) {
        --start;
    }
    int end = c;
    while (IsSingleWordByte(text, end + 1)) {
        ++end;
    }
    return {{start, p.Line}, {end + 1, p.Line}};
}

std::vector<SelectionRow> SelectionRows(const TViewLines& lines, TViewPos p, TViewPos q, int top,
                                        int bottom) {
    std::vector<SelectionRow> rows;
    const int count = lines.Count();
    if (p == q || count == 0) {
        return rows;
    }
    if (Before(q, p)) {
        std::swap(p, q);
    }
    bottom = std::min(bottom, count - 1);
    if (q.Line < top || p.Line > bottom) {
        return rows;
    }
    if (p.Line < top) {
        p = {1, top};
    }
    if (q.Line > bottom) {
        q = {lines.At(bottom).Len + 1, bottom};
    }
    p.Column = std::max(p.Column, 1);
    q.Column = std::max(q.Column, 1);
    for (int r = p.Line; r <= q.Line; ++r) {
        const int len = lines.At(r).Len;
        const int from = r == p.Line ? p.Column : 1;
        if (len < from) {
            continue;
        }
        const int to = r == q.Line ? std::min(q.Column, len + 1) : len + 1;
        if (to > from) {
            rows.push_back({r, from, to});
        }
    }
    return rows;
}

TViewPos PointToPosition(const TViewLines& lines, const TWrapMeasure& measure,
                         const PointGeometry& geometry, int x, int y) {
    const int count = lines.Count();
    if (count == 0) {
        return {};
    }
    const bool above = y < 0;
    y = std::clamp(y, 0, std::max(geometry.bufferHeight, 0));
    x = std::clamp(x + geometry.charWidth * geometry.horzPos, 0, std::max(geometry.bufferWidth, 0));
    int r = y / std::max(geometry.lineHeight, 1) + geometry.topLine;
    const bool below = r > count - 1;
    r = std::clamp(r, 0, count - 1);
    const std::string_view text = lines.Text(r);
    const int len = static_cast<int>(text.size());
    if (below) {
        return {len + 1, r};
    }
    if (above) {
        return {1, r};
    }
    // The first column whose character reaches x; widths grow with the prefix,
    // so a binary search over the columns finds it.
    int low = 1;
    int high = len + 1;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        const int start = SnapLeft(text, mid);
        if (PrefixWidth(text, start, measure) >= x) {
            high = start;
        } else {
            low = mid + 1;
        }
    }
    return {SnapRight(text, low), r};
}

}  // namespace tovix
