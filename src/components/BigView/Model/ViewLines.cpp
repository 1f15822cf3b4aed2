// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/BigView/Model/ViewLines.h"

#include <algorithm>
#include <limits>

#include "components/BigView/Model/ByteClass.h"
#include "platform/Cp932.h"

namespace tovix {

namespace {

// Bytes from `offset`, a character start of non-empty `text`, to the start of
// the next view line, when a view line takes `measured` bytes: one less where
// the last of them would be a lead byte, and 2 where that leaves none (the
// character gets a view line of its own). The view line shows the smaller of
// this and what is left of the text.
size_t Advance(std::string_view text, size_t offset, size_t measured) {
    size_t n = std::min(measured, text.size() - offset);
    // Only a lead-byte code can end a view line on a lead byte.
    if (IsLeadByte(text[offset + n - 1]) &&
        ByteClass(text.substr(offset), ByteColumn(n + 1)) == TrailByte) {
        n = n > 1 ? n - 1 : 2;
    }
    return n;
}

}  // namespace

TViewLines::TViewLines(const TBvStrings& lines, const TWrapMeasure& measure)
    : lines_(lines), measure_(measure) {}

int TViewLines::Count() const {
    if (!wordWrap_) {
        return lines_.Count();
    }
    return spans_.empty() ? 0 : spans_.back().first + spans_.back().count;
}

const TViewLines::Span& TViewLines::SpanOf(ViewLineIndex v) const {
    const auto after =
        std::upper_bound(spans_.begin(), spans_.end(), v.value,
                         [](int view, const Span& span) { return view < span.first; });
    return *(after - 1);
}

TextLineIndex TViewLines::LineOf(const Span& span) const {
    return TextLineIndex(static_cast<int>(&span - spans_.data()));
}

TViewLines::Place TViewLines::CheckpointBefore(const Span& span, int part) const {
    const int passed = part / kCheckpointEvery;
    if (passed == 0) {
        return {};
    }
    return {passed * kCheckpointEvery, checkpoints_[span.checkpoints + passed - 1]};
}

TViewLineRec TViewLines::Record(const Span& span, std::string_view text, Place place) const {
    const TextLineIndex line = LineOf(span);
    if (text.empty()) {
        return TViewLineRec{line, ByteColumn(0), 0, 0, true};
    }
    const size_t len =
        std::min(Advance(text, place.offset, span.measured), text.size() - place.offset);
    return TViewLineRec{line, ByteColumn::OfOffset(place.offset), len, place.part,
                        place.part == span.count - 1};
}

TViewLineRec TViewLines::At(ViewLineIndex v) const {
    if (v.value < 0 || v.value >= Count()) {
        lines_.Error();
    }
    if (!wordWrap_) {
        const size_t len = lines_.View(v.value).size();
        return TViewLineRec{TextLineIndex(v.value), ByteColumn(len > 0 ? 1 : 0), len, 0, true};
    }
    const Span& span = SpanOf(v);
    const std::string_view text = lines_.View(LineOf(span).value);
    const int part = v.value - span.first;
    Place place = CheckpointBefore(span, part);
    for (; place.part < part; ++place.part) {
        place.offset += Advance(text, place.offset, span.measured);
    }
    return Record(span, text, place);
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
    return wordWrap_ ? LineOf(SpanOf(v)) : TextLineIndex(v.value);
}

ViewLineIndex TViewLines::LineToViewLine(TextLineIndex l) const {
    if (l.value < 0) {
        return ViewLineIndex(-1);
    }
    if (!wordWrap_) {
        return ViewLineIndex(std::min(l.value, Count()));
    }
    const auto at = static_cast<size_t>(l.value);
    return ViewLineIndex(at < spans_.size() ? spans_[at].first : Count());
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
// before the column: the checkpoints are searched by halves, then the view
// lines after the last one that qualifies are stepped through.
TViewPos TViewLines::TextToView(TTextPos p) const {
    const ViewLineIndex first = LineToViewLine(p.Line);
    if (first.value < 0) {
        return {};
    }
    if (first.value == Count()) {
        return {ByteColumn(1), first};
    }
    TViewLineRec rec = At(first);
    if (wordWrap_ && p.Column.value > 1) {
        const Span& span = spans_[static_cast<size_t>(p.Line.value)];
        const std::string_view text = lines_.View(p.Line.value);
        // A view line starting at this offset or before holds the column.
        const size_t last = p.Column.Offset();
        const auto begin = checkpoints_.begin() + static_cast<std::ptrdiff_t>(span.checkpoints);
        const auto passed =
            std::upper_bound(begin, begin + (span.count - 1) / kCheckpointEvery, last);
        Place place = passed == begin ? Place{}
                                      : Place{static_cast<int>(passed - begin) * kCheckpointEvery,
                                              *(passed - 1)};
        for (; place.part + 1 < span.count; ++place.part) {
            const size_t next = place.offset + Advance(text, place.offset, span.measured);
            if (next > last) {
                break;
            }
            place.offset = next;
        }
        rec = Record(span, text, place);
    }
    if (p.Column.value + 1 <= rec.Start.value) {
        return {};
    }
    return {ByteColumn(p.Column.value - rec.Start.value + 1), first + rec.Part};
}

void TViewLines::Rewrap(TextLineIndex from) {
    if (!wordWrap_) {
        // View line n is text line n: nothing to keep.
        std::vector<Span>().swap(spans_);
        std::vector<size_t>().swap(checkpoints_);
        return;
    }
    const auto kept = std::min(static_cast<size_t>(std::max(from.value, 0)), spans_.size());
    if (kept < spans_.size()) {
        checkpoints_.resize(spans_[kept].checkpoints);
    }
    spans_.resize(kept);
    spans_.reserve(static_cast<size_t>(lines_.Count()));
    int first = Count();
    for (auto line = TextLineIndex(static_cast<int>(kept)); line.value < lines_.Count(); ++line) {
        spans_.push_back(WrapLine(line, first));
        first += spans_.back().count;
    }
}

// Steps through the view lines of the text line once, counting them and
// keeping the checkpoints; nothing is measured beyond the leading bytes.
TViewLines::Span TViewLines::WrapLine(TextLineIndex line, int first) {
    const std::string_view text = lines_.View(line.value);
    const size_t length = text.size();
    Span span{first, 1, 0, length, checkpoints_.size()};
    if (length == 0) {
        return span;
    }
    // The count is measured once, on the leading bytes, and serves every view
    // line of the text line. WrapByte bytes that do not fit the window wrap
    // at its width, as without WrapByte: no part of a line is cut off.
    const size_t fitting = MeasuredBytes(text);
    span.measured = wrapByte_ > 0 ? std::min(static_cast<size_t>(wrapByte_), fitting) : fitting;
    if (span.measured >= length) {
        return span;
    }
    // View line indexes are ints: a text line may not give more view lines
    // than an int counts after those before it.
    const int most = std::numeric_limits<int>::max() - first;
    span.maxLen = 0;
    size_t offset = 0;
    int part = 0;
    for (; offset < length; ++part) {
        if (part == most) {
            lines_.Error();
        }
        if (part > 0 && part % kCheckpointEvery == 0) {
            checkpoints_.push_back(offset);
        }
        const size_t n = Advance(text, offset, span.measured);
        span.maxLen = std::max(span.maxLen, std::min(n, length - offset));
        offset += n;
    }
    span.count = part;
    return span;
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

// Unwrapped, all the lines give the store's longest line, which its load
// knows. Spans that lie wholly in the range give their longest view line; the
// view lines of a span the range cuts are stepped through.
size_t TViewLines::MaxLen(ViewLineIndex from, LineCount n) const {
    const auto end =
        static_cast<int>(std::min<long long>(Count(), 1LL * from.value + std::max(n.value, 0)));
    size_t longest = 0;
    int v = std::max(from.value, 0);
    if (!wordWrap_) {
        if (v == 0 && end == Count()) {
            return lines_.LongestLine();
        }
        for (; v < end; ++v) {
            longest = std::max(longest, lines_.View(v).size());
        }
        return longest;
    }
    while (v < end) {
        const Span& span = SpanOf(ViewLineIndex(v));
        const int stop = std::min(end, span.first + span.count);
        if (v == span.first && stop == span.first + span.count) {
            longest = std::max(longest, span.maxLen);
            v = stop;
            continue;
        }
        const std::string_view text = lines_.View(LineOf(span).value);
        Place place = CheckpointBefore(span, v - span.first);
        for (; span.first + place.part < stop; ++place.part) {
            const size_t step = Advance(text, place.offset, span.measured);
            if (span.first + place.part >= v) {
                longest = std::max(longest, std::min(step, text.size() - place.offset));
            }
            place.offset += step;
        }
        v = stop;
    }
    return longest;
}

}  // namespace tovix
