// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/BigView/Model/ViewLines.h"

#include <algorithm>

#include "components/BigView/Model/ByteClass.h"

namespace tovix {

TViewLines::TViewLines(const TBvStrings& lines, const TWrapMeasure& measure)
    : lines_(lines), measure_(measure) {}

int TViewLines::Count() const {
    return wordWrap_ ? static_cast<int>(records_.size()) : lines_.Count();
}

TViewLineRec TViewLines::At(ViewLineIndex v) const {
    if (v.value < 0 || v.value >= Count()) {
        lines_.Error();
    }
    if (wordWrap_) {
        return records_[static_cast<size_t>(v.value)];
    }
    const size_t len = lines_.View(v.value).size();
    return TViewLineRec{TextLineIndex(v.value), ByteColumn(len > 0 ? 1 : 0), len, 0, true};
}

std::string_view TViewLines::Text(ViewLineIndex v) const {
    const TViewLineRec rec = At(v);
    if (rec.Len == 0) {
        return {};
    }
    return lines_.View(rec.Line.value).substr(rec.Start.Offset(), rec.Len);
}

TextLineIndex TViewLines::ViewLineToLine(ViewLineIndex v) const {
    if (v.value < 0 || v.value >= Count()) {
        return TextLineIndex(-1);
    }
    return wordWrap_ ? records_[static_cast<size_t>(v.value)].Line : TextLineIndex(v.value);
}

ViewLineIndex TViewLines::LineToViewLine(TextLineIndex l) const {
    if (l.value < 0) {
        return ViewLineIndex(-1);
    }
    if (!wordWrap_) {
        return ViewLineIndex(std::min(l.value, Count()));
    }
    const auto it = std::lower_bound(
        records_.begin(), records_.end(), l,
        [](const TViewLineRec& rec, TextLineIndex line) { return rec.Line < line; });
    return ViewLineIndex(static_cast<int>(it - records_.begin()));
}

TTextPos TViewLines::ViewToText(TViewPos p) const {
    if (p.Line.value < 0 || p.Line.value >= Count()) {
        return {};
    }
    const TViewLineRec rec = At(p.Line);
    // Column 0 of an empty text line (Start 0) stays 0.
    const size_t column = rec.Start.value + p.Column.value;
    return {ByteColumn(column > 0 ? column - 1 : 0), rec.Line};
}

// The view line is the last of the text line's view lines that starts at or
// before the column; a text line of many view lines is searched by halves.
TViewPos TViewLines::TextToView(TTextPos p) const {
    const ViewLineIndex first = LineToViewLine(p.Line);
    if (first.value < 0) {
        return {};
    }
    if (first.value == Count()) {
        return {ByteColumn(1), first};
    }
    ViewLineIndex v = first;
    if (wordWrap_) {
        const auto begin = records_.begin() + first.value;
        const auto end = std::upper_bound(
            begin, records_.end(), p.Line,
            [](TextLineIndex line, const TViewLineRec& rec) { return line < rec.Line; });
        const auto after = std::upper_bound(
            begin + 1, end, p.Column,
            [](ByteColumn column, const TViewLineRec& rec) { return column < rec.Start; });
        v = ViewLineIndex(static_cast<int>(after - records_.begin()) - 1);
    }
    const ByteColumn start = At(v).Start;
    if (p.Column.value + 1 <= start.value) {
        return {};
    }
    return {ByteColumn(p.Column.value - start.value + 1), v};
}

void TViewLines::Rewrap(TextLineIndex from) {
    if (!wordWrap_) {
        // View line n is text line n: nothing to keep.
        std::vector<TViewLineRec>().swap(records_);
        return;
    }
    from = std::max(from, TextLineIndex(0));
    const ViewLineIndex first = std::max(LineToViewLine(from), ViewLineIndex(0));
    if (records_.capacity() < static_cast<size_t>(lines_.Capacity())) {
        records_.reserve(static_cast<size_t>(lines_.Capacity()));
    }
    size_t next = static_cast<size_t>(first.value);
    for (TextLineIndex line = from; line.value < lines_.Count(); ++line) {
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

void TViewLines::WrapLine(TextLineIndex line, size_t& next) {
    const std::string_view text = lines_.View(line.value);
    const size_t length = text.size();
    if (length == 0) {
        Put(next, TViewLineRec{line, ByteColumn(0), 0, 0, true});
        return;
    }
    // The count is measured once, on the leading bytes, and serves every view
    // line of the text line. WrapByte bytes that do not fit the window wrap
    // at its width, as without WrapByte: no part of a line is cut off.
    const size_t fitting = MeasuredBytes(text);
    const size_t measured =
        wrapByte_ > 0 ? std::min(static_cast<size_t>(wrapByte_), fitting) : fitting;
    // A view line takes `measured` bytes or one less: room for all of them.
    const size_t most = next + length / std::max<size_t>(measured - 1, 1) + 1;
    if (records_.capacity() < most) {
        records_.reserve(std::max(most, 2 * records_.capacity()));
    }
    size_t pos = 1;
    int part = 0;
    while (pos <= length) {
        const size_t remaining = length - pos + 1;
        size_t n = std::min(measured, remaining);
        // A view line must not end on a lead byte: pos is always the start of
        // a character, so the class of byte pos + n can be read from pos on.
        if (ByteClass(text.substr(pos - 1), ByteColumn(n + 1)) == TrailByte) {
            --n;
            if (n < 1) {
                n = 2;
            }
        }
        Put(next, TViewLineRec{line, ByteColumn(pos), std::min(n, remaining), part, false});
        ++part;
        pos += n;
    }
    records_[next - 1].LineEnd = true;
}

// How many leading bytes of `text` fit the window: starts from the average
// width of the line's bytes and steps one byte at a time until the measured
// width lies within two character cells left of the window's edge, or the
// width stops changing, or the steps turn back. A line longer than the
// sample is measured only as far as it can show and takes its average from
// the sample.
size_t TViewLines::MeasuredBytes(std::string_view text) const {
    const size_t length = text.size();
    int width = measure_.ClientWidth();
    size_t sampleBytes = length;
    int sampleWidth = 0;
    // The width of the whole line as far as the steps below need it: any
    // width above the window's serves a line that does not fit.
    int full = 0;
    if (length <= kAverageSampleBytes) {
        full = sampleWidth = measure_.TextWidthOf(text);
        if (full <= width) {
            return length;
        }
    } else {
        if (measure_.WidthUpTo(text, width) <= width) {
            return length;
        }
        sampleBytes = kAverageSampleBytes;
        if (ByteClass(text, ByteColumn(sampleBytes)) == LeadByte) {
            --sampleBytes;
        }
        sampleWidth = measure_.TextWidthOf(text.substr(0, sampleBytes));
        full = TWrapMeasure::kMaxTextWidth;
    }
    width = std::max(width, measure_.TextWidthOf("x"));
    const int margin = width - 2 * measure_.CharWidth();
    // Zero-width text (a line of tabs with no tab distance) must not divide by 0.
    const auto average = std::max<size_t>(static_cast<size_t>(sampleWidth) / sampleBytes, 1);
    size_t n = static_cast<size_t>(std::max(width, 0)) / average;
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
        if (current > width && n > 0) {
            --n;
        }
        n = std::clamp<size_t>(n, 1, length);
        const int previous = current;
        current = measure_.TextWidthOf(text.substr(0, n));
        grew = grew || current > previous;
        shrank = shrank || current < previous;
        if (current == previous || (grew && shrank)) {
            break;
        }
    }
    return n;
}

size_t TViewLines::MaxLen(ViewLineIndex from, LineCount n) const {
    const auto end =
        static_cast<int>(std::min<long long>(Count(), 1LL * from.value + std::max(n.value, 0)));
    size_t longest = 0;
    for (int v = std::max(from.value, 0); v < end; ++v) {
        longest = std::max(
            longest, wordWrap_ ? records_[static_cast<size_t>(v)].Len : lines_.View(v).size());
    }
    return longest;
}

}  // namespace tovix
