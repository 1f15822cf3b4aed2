// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts that the copy and paste commands of the main window move through
// the clipboard. Every text is CP932; copied lines end with CR LF.

#include <optional>
#include <string>

namespace tovix {

class TBigView;

// The entry at the view's top: its headword line (the top line, or the line
// above when the top line is a translation line) and its translation line,
// as far as the view shows lines.
std::string TopEntryText(const TBigView& view);

// Every entry the view shows, from the headword of the entry at the top to
// the bottom line.
std::string VisibleEntriesText(const TBigView& view);

// A clipboard text made fit to be typed into the search field: trailing
// blanks and control characters removed. A refused text carries the message
// (unpadded) instead.
struct PasteText {
    std::string text;
    std::string refusal;  // empty when the text is accepted
};

// `clipboard` is nothing when the clipboard holds no text. Refused: no text,
// nothing left after trimming, or more than one line.
PasteText CheckPasteText(const std::optional<std::string>& clipboard);

}  // namespace tovix
