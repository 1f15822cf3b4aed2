// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The view-line model of the text view: how the text lines of a line store
// split into display rows, and the conversions between text and view places.
//
// Without word wrap view line n is text line n and no record is stored: the
// records are made from the line store when asked for, so a part file of many
// megabytes costs the view nothing per line. With word wrap a text line is
// split after WrapByte bytes, or where it reaches the window's width when that
// comes first or WrapByte is 0, never between the two bytes of a double-byte
// character. Every view line of a text line takes the same count of bytes, or
// one less where the count would end on a lead byte, so where a view line
// begins follows from where the one before it begins. Only one span per text
// line is kept (its first view line, how many it has, the count), and for a
// text line of many view lines the start of every kCheckpointEvery-th: the
// record of a view line is worked out when asked for, from the checkpoint
// before it, so a line of a hundred megabytes keeps kilobytes, not records
// for millions of view lines.
//
// Wrapping at the window's width measures only what a view line can show: a
// text line is measured up to the window's width, and the average width of
// its bytes, which starts the search for the bytes that fit, is taken from at
// most its first kAverageSampleBytes bytes. So a line of many megabytes wraps
// as fast as a short one.
//
// View-line indexes outside 0..Count-1 given to At or Text are errors
// (ListIndexError, like the line store's own).

#include <cstddef>
#include <string_view>
#include <vector>

#include "components/BigView/Model/ViewMetrics.h"
#include "components/BigView/Model/ViewTypes.h"
#include "components/BvStrings.h"

namespace tovix {

// What wrapping at the window width, and mapping points to places, need to
// know about the window.
class TWrapMeasure {
  public:
    // Widths are not measured beyond this many pixels.
    static constexpr int kMaxTextWidth = kMaxPixels;

    virtual ~TWrapMeasure() = default;
    virtual int ClientWidth() const = 0;
    virtual int CharWidth() const = 0;
    // Width in pixels of CP932 text as drawn, tabs expanded. Measuring may
    // stop as soon as the width exceeds `limit`: the result is then some
    // width above `limit` (at most kMaxTextWidth).
    virtual int WidthUpTo(std::string_view text, int limit) const = 0;

    int TextWidthOf(std::string_view text) const { return WidthUpTo(text, kMaxTextWidth); }
};

class TViewLines {
  public:
    // Longer text lines take the average width of their bytes from their
    // first this many bytes.
    static constexpr size_t kAverageSampleBytes = 4096;
    // A long text line keeps where every this many-th view line starts.
    static constexpr int kCheckpointEvery = 128;

    TViewLines(const TBvStrings& lines, const TWrapMeasure& measure);

    bool WordWrap() const { return wordWrap_; }
    int WrapByte() const { return wrapByte_; }
    // These only store the setting; Rewrap(0) applies it.
    void SetWordWrap(bool on) { wordWrap_ = on; }
    void SetWrapByte(int bytes) { wrapByte_ = bytes; }

    int Count() const;
    TViewLineRec At(ViewLineIndex v) const;
    // The Len bytes of view line v.
    std::string_view Text(ViewLineIndex v) const;

    // Text line of view line v; -1 when v is outside 0..Count-1.
    TextLineIndex ViewLineToLine(ViewLineIndex v) const;
    // First view line of text line l; Count when l is at or beyond the last
    // text line's records, -1 when l is negative.
    ViewLineIndex LineToViewLine(TextLineIndex l) const;

    // (column, view line) to (byte column, text line); (0, 0) outside the view.
    TTextPos ViewToText(TViewPos p) const;
    // (byte column, text line) to (column, view line); (1, Count) beyond the
    // text; (0, 0) when the column falls before the line's first view line.
    TViewPos TextToView(TTextPos p) const;

    // Rebuilds the view lines of text lines from..LineCount-1 after the line
    // store changed from text line `from` on.
    void Rewrap(TextLineIndex from);

    // The longest Len among view lines from..from+n-1 that exist; 0 if none.
    size_t MaxLen(ViewLineIndex from, LineCount n) const;

  private:
    // How text line `line` splits: view lines first..first+count-1, each of
    // `measured` bytes or one less.
    struct Span {
        int first = 0;
        int count = 1;
        size_t measured = 0;
        // The longest of its view lines.
        size_t maxLen = 0;
        // Where its checkpoints begin in checkpoints_: the start offsets of
        // its view lines kCheckpointEvery, 2 * kCheckpointEvery, ...
        size_t checkpoints = 0;
    };
    // A view line of a span, reached by stepping from a checkpoint.
    struct Place {
        int part = 0;
        size_t offset = 0;  // of its first byte in the text line
    };

    Span WrapLine(TextLineIndex line, int first);
    size_t MeasuredBytes(std::string_view text) const;
    // The span holding view line v (which must exist).
    const Span& SpanOf(ViewLineIndex v) const;
    TextLineIndex LineOf(const Span& span) const;
    // The nearest checkpointed view line at or before `part`.
    Place CheckpointBefore(const Span& span, int part) const;
    TViewLineRec Record(const Span& span, std::string_view text, Place place) const;

    const TBvStrings& lines_;
    const TWrapMeasure& measure_;
    bool wordWrap_ = true;
    int wrapByte_ = 0;
    // One span per text line, only with word wrap.
    std::vector<Span> spans_;
    std::vector<size_t> checkpoints_;
};

}  // namespace tovix
