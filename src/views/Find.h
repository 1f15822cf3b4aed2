// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Free-text find: looks for a text anywhere in the lines of the open
// dictionary, headwords and translations alike, first in the part shown in
// the view and then in the following (or preceding) part files, and brings
// the entry of the first hit to the top of the view. Part files other than
// the view's are read a block at a time, never held whole.

#include <string>
#include <string_view>

#include "dict/LookupView.h"
#include "dict/SearchState.h"
#include "platform/Reporter.h"
#include "views/FindDirection.h"

namespace tovix {

// The main window's find state.
struct FindState {
    std::string findText;  // emptied when a find starts or is cancelled
    // The text typed had a character without a CP932 form: findText holds "?"
    // in its place, and every find of it finds nothing.
    bool findTextUnencodable = false;
    std::string previousFindText;  // offered by the find window
    bool matchCase = false;
    FindDirection direction = FindDirection::Down;
    bool findRun = false;        // a find has been started; re-find keys work from now on
    ViewLineIndex foundLine{0};  // the line of the last hit, in the view
};

enum class FindOutcome {
    Found,
    NotFound,    // shown as "検索文字はありませんでした。"
    NoFindText,  // a re-find without a find text: "検索文字が設定されていません。"
    Cancelled,   // the find window was cancelled: nothing happens
    ReadFailed,  // a part file could not be read; the warning has been shown
};

// The text of the notice window for an outcome, empty when there is none.
std::string FindNotice(FindOutcome outcome);

// Sets the find text from the text the user typed (UTF-8).
void SetFindText(FindState& find, std::string_view typed);

// The find after the find window closed with state.findText (empty when it
// was cancelled) and state.direction.
FindOutcome RunFind(SearchState& search, FindState& find, LookupView& view, Reporter& reporter);

// Repeat the last find downwards, skipping the entry at the top, or upwards.
FindOutcome ReFindNext(SearchState& search, FindState& find, LookupView& view, Reporter& reporter);
FindOutcome ReFindPrior(SearchState& search, FindState& find, LookupView& view, Reporter& reporter);

// The line test: the text stands in the line at a character boundary; without
// `matchCase` single-byte letters compare without regard to case.
bool LineHolds(std::string_view line, std::string_view text, bool matchCase);

// The byte offset where the line test finds the text in the line (the first
// such place); npos when the line does not hold it. The window marks the
// found text there.
size_t HitPlace(std::string_view line, std::string_view text, bool matchCase);

}  // namespace tovix
