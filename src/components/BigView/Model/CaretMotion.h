// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Caret places, caret movement, word selection, the selection's rows and the
// mapping of a pointer to a place, on the view-line model. No column that
// these give falls between the two bytes of a double-byte character.

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "components/BigView/Model/KeyTables.h"
#include "components/BigView/Model/ViewLines.h"

namespace tovix {

// A view line beyond the last becomes the last (a negative one the first), a
// column beyond the end of its view line becomes the end; with no view lines
// the place is (0, 0).
TViewPos ClampPos(const TViewLines& lines, TViewPos p);

// Column c of a view line moved off a trail byte: to the left or the right.
ByteColumn SnapLeft(std::string_view viewLine, ByteColumn c);
ByteColumn SnapRight(std::string_view viewLine, ByteColumn c);

// The caret's place after a movement from `from`. Page movements go
// `pageLines` view lines. The result is not clamped to its view line's end.
TViewPos MoveCaret(const TViewLines& lines, TViewPos from, CaretMove move, int pageLines);

// The selection that a double click at `p` makes: the double-byte character
// at p, or the run of ASCII letters, digits and underscores around p, or the
// one other byte at p. Returns (start, end) on p's view line.
std::pair<TViewPos, TViewPos> WordAt(const TViewLines& lines, TViewPos p);

// One row of the selection highlight: view line `line`, from the place
// before byte `fromColumn` to the place before byte `toColumn`.
struct SelectionRow {
    ViewLineIndex line;
    ByteColumn fromColumn;
    ByteColumn toColumn;

    bool operator==(const SelectionRow&) const = default;
};

// The rows to highlight for the selection between p and q (either order),
// clipped to the visible view lines top..bottom. Only text is covered, not the
// room after the end of a view line.
std::vector<SelectionRow> SelectionRows(const TViewLines& lines, TViewPos p, TViewPos q,
                                        ViewLineIndex top, ViewLineIndex bottom);

// What mapping a pointer to a place needs to know about the window.
struct PointGeometry {
    int lineHeight;
    int charWidth;
    int horzPos;
    int topLine;
    int bufferWidth;   // pixels of text the view can show: (MaxChar + 1) cells
    int bufferHeight;  // PageLines view lines
};

// The place under client point (x, y): its view line, and the first column
// whose text up to and including its character reaches x. A point above the
// view lines gives column 1, one below the last view line the last line's end.
// Only the text up to x is measured, however long the view line.
TViewPos PointToPosition(const TViewLines& lines, const TWrapMeasure& measure,
                         const PointGeometry& geometry, int x, int y);

}  // namespace tovix
