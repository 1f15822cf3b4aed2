// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pixel arithmetic of the text view, apart from any font or window.

namespace tovix {

// Pixel widths and offsets of the view stay below this, so that no pixel
// arithmetic overflows an int, however long a line is.
inline constexpr int kMaxPixels = 1 << 30;

// The most character cells the text area may have: MaxChar + 1 cells of
// `charWidth` pixels stay within kMaxPixels.
int MaxCharLimit(int charWidth);

// The nearest whole number, halves going to the even one.
int RoundHalfEven(double value);

// Width of a character cell: the average character width plus 0.3 of the
// distance to the widest character, rounded; at least 1 pixel.
int CharWidthOf(int averageWidth, int maxWidth);

// Height of a view line: character height plus leading; at least 1 pixel.
int LineHeightOf(int height, int leading);

// View lines that fit the control's outer height, less a horizontal scroll
// bar and a caption bar; not below 0.
int PageLinesOf(int outerHeight, int scrollBarHeight, int captionHeight, int lineHeight);

// Whole character cells in a width; at least 1.
int CellsIn(int width, int charWidth);

}  // namespace tovix
