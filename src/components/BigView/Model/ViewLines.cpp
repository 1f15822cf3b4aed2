#include "components/BigView/Model/ViewLines.h"

#include <algorithm>

#include "components/BigView/Model/ByteClass.h"

namespace tovix {

TViewLines::TViewLines(const TBvStrings& lines, const TWrapMeasure& measure)
    : lines_(lines), measure_(measure) {}

int TViewLines::Count() const {
    return wordWrap_ ? static_cast<int>(records_.size()) : lines_.Count();
}

TViewLineRec TViewLines::At(int v) const {
    if (v < 0 || v >= Count()) {
        lines_.Error();
    }
    if (wordWrap_) {
        return records_[static_cast<size_t>(v)];
    }
    const auto len = static_cast<std::int32_t>(lines_.View(v).size());
    return TViewLineRec{v, len > 0 ? 1 : 0, len, 0, true};
}

std::string_view TViewLines::Text(int v) const {
    const TViewLineRec rec = At(v);
    const std::string_view line = lines_.View(rec.Line);
    if (rec.Len == 0) {
        return {};
    }
    return line.substr(static_cast<size_t>(rec.Start) - 1, static_cast<size_t>(rec.Len));
}

int TViewLines::ViewLineToLine(int v) const {
    if (v < 0 || v >= Count()) {
        return -1;
    }
    return wordWrap_ ? records_[static_cast<size_t>(v)].Line : v;
}

int TViewLines::LineToViewLine(int l) const {
    if (l < 0) {
        return -1;
    }
    if (!wordWrap_) {
        return std::min(l, Count());
    }
    const auto it =
        std::lower_bound(records_.begin(), records_.end(), l,
                         [](const TViewLineRec& rec, int line) { return rec.Line < line; });
    return static_cast<int>(it - records_.begin());
}

TViewPos TViewLines::ViewToText(TViewPos p) const {
    if (p.Line < 0 || p.Line >= Count()) {
        return {};
    }
    const TViewLineRec rec = At(p.Line);
    return {rec.Start + p.Column - 1, rec.Line};
}

TViewPos TViewLines::TextToView(TViewPos p) const {
    int v = LineToViewLine(p.Line);
    if (v < 0) {
        return {};
    }
    const int count = Count();
    if (v == count) {
        return {1, v};
    }
    while (v + 1 < count) {
        const TViewLineRec next = At(v + 1);
        if (next.Line != p.Line || next.Start > p.Column) {
            break;
        }
        ++v;
    }
    const int column = p.Column - At(v).Start + 1;
    if (column < 1) {
        return {};
    }
    return {column, v};
}

void TViewLines::Rewrap(int from) {
    if (!wordWrap_) {
        // View line n is text line n: nothing to keep.
        std::vector<TViewLineRec>().swap(records_);
        return;
    }
    from = std::max(from, 0);
    const int first = std::max(LineToViewLine(from), 0);
    if (records_.capacity() < static_cast<size_t>(lines_.Capacity())) {
        records_.reserve(static_cast<size_t>(lines_.Capacity()));
    }
    size_t next = static_cast<size_t>(first);
    for (int line = from; line < lines_.Count(); ++line) {
        WrapLine(line, next);
    }
    records_.resize(next);
}

void TViewLines::Put(size_t& next, const TViewLineRec& rec) {
    if (next < records_.size()) {
        records_[next] = rec;
    } else {
        records_.push_back(rec);
    }
    ++next;
}

void TViewLines::WrapLine(int line, size_t& next) {
    const std::string_view text = lines_.View(line);
    const int length = static_cast<int>(text.size());
    if (length == 0) {
        Put(next, TViewLineRec{line, 0, 0, 0, true});
        return;
    }
    // In window-width mode the count is measured once, on the leading bytes,
    // and serves every view line of the text line.
    const int measured = wrapByte_ > 0 ? wrapByte_ : MeasuredBytes(text);
    int pos = 1;
    int part = 0;
    while (pos <= length) {
        const int remaining = length - pos + 1;
        int n = std::min(measured, remaining);
        // A view line must not end on a lead byte: pos is always the start of
        // a character, so the class of byte pos + n can be read from pos on.
        if (ByteClass(text.substr(static_cast<size_t>(pos) - 1), n + 1) == TrailByte) {
            --n;
            if (n < 1) {
                n = 2;
            }
        }
        Put(next, TViewLineRec{line, pos, std::min(n, remaining), part, false});
        ++part;
        pos += n;
    }
    records_[next - 1].LineEnd = true;
}

// How many leading bytes of `text` fit the window: starts from the average
// width of the line's bytes and steps one byte at a time until the measured
// width lies within two character cells left of the window's edge, or the
// width stops changing, or the steps turn back.
int TViewLines::MeasuredBytes(std::string_view text) const {
    const int length = static_cast<int>(text.size());
    int width = measure_.ClientWidth();
    const int full = measure_.TextWidthOf(text);
    if (full <= width) {
        return length;
    }
    width = std::max(width, measure_.TextWidthOf("x"));
    const int margin = width - 2 * measure_.CharWidth();
    // Zero-width text (a line of tabs with no tab distance) must not divide by 0.
    const int average = std::max(full / length, 1);
    int n = width / average;
    int current = full;
    bool grew = false;
    bool shrank = false;
    for (;;) {
        if (margin < current && current < width) {
            break;
        }
        if (current <= margin) {
            ++n;
        }
        if (current > width) {
            --n;
        }
        n = std::clamp(n, 1, length);
        const int previous = current;
        current = measure_.TextWidthOf(text.substr(0, static_cast<size_t>(n)));
        grew = grew || current > previous;
        shrank = shrank || current < previous;
        if (current == previous || (grew && shrank)) {
            break;
        }
    }
    return n;
}

int TViewLines::MaxLen(int from, int n) const {
    const auto end = static_cast<int>(std::min<long long>(Count(), 1LL * from + std::max(n, 0)));
    int longest = 0;
    for (int v = std::max(from, 0); v < end; ++v) {
        longest = std::max(longest, wordWrap_ ? records_[static_cast<size_t>(v)].Len
                                              : static_cast<int>(lines_.View(v).size()));
    }
    return longest;
}

}  // namespace tovix
