// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The incremental lookup that runs on every change of the search field: it
// turns a completed romaji tail into kana (Japanese-English), derives the
// entry key, loads the part file of the key's initial into the view when
// another part is loaded, narrows the candidate headword lines with the
// table, and makes the first headword that begins with the search text the
// view's top line. When nothing matches the view stays where it was.
// A Japanese-English text that holds a kanji is looked up by written form
// first (WrittenForms.h), then by reading.
//
// Failures are reported through the reporter as the main window's warnings:
// no direction chosen, or a part file that cannot be read (the view is then
// empty and the current part 0, so that the next keystroke of that initial
// tries to load it again). Anything else that fails is thrown, with the view
// and the current part as they were (the window's guard reports it).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "dict/BaseForms.h"
#include "dict/LookupView.h"
#include "dict/SearchState.h"
#include "platform/Reporter.h"

namespace tovix {

struct LookupOutcome {
    // The field's text after the lookup: the romaji tail converted to kana, or
    // the text as typed.
    std::string fieldText;
    // The lookup replaced the field's text.
    bool fieldChanged = false;
    // A headword matched and became the top line.
    bool matched = false;
    // The text held a kanji and the set has no written-form file (it was
    // built before there were any): the front end says once that a remake
    // adds it. The search by reading ran as before.
    bool writtenFormsMissing = false;
    // The text ends in romaji that the next letters may still make a syllable
    // of: finding nothing now is not yet a miss.
    bool romajiPending = false;
    // With state.findBaseForms: the base forms of the text that are
    // headwords (食べた: 食べる), also when a headword begins with the text.
    std::vector<BaseForm> bases;
    // A part that the base forms needed was still being indexed (the
    // headword index's background): `bases` may lack some, and asking again
    // once the part is indexed gives them.
    bool basesPending = false;
    // Nothing began with the text, and the view went to the first base form
    // (or, for a phrase, to the leading part below) instead.
    bool movedToBase = false;
    // A phrase that matched nothing: the byte length of its longest leading
    // part that is a headword or an inflected form of one; 0 when none.
    size_t leadingPart = 0;
};

// Whether a lookup with state.findBaseForms looks for the base forms of a
// text that a headword begins with, or only of one that none does (where the
// view goes to the base): a keystroke that more keystrokes follow at once
// shows no bases of its own.
enum class BasesOf { EveryText, UnmatchedText };

// `phrase`: the text came in at once (pasted, or committed by an input
// method), so when nothing matches it, its longest leading part that is a
// headword or a form of one is shown (with state.findBaseForms).
LookupOutcome Lookup(SearchState& state, LookupView& view, Reporter& reporter,
                     std::string_view fieldText, bool phrase = false,
                     BasesOf basesOf = BasesOf::EveryText);

// Makes the first entry whose headword begins with `text` (no romaji; a
// written form with a kanji through the written-form file) the top line, as
// the lookup does.
bool MoveToText(SearchState& state, LookupView& view, Reporter& reporter, std::string_view text,
                LookupOutcome& outcome);

// Reads the set's table again when its file is no longer the one read
// (`state.tableStamp`); a table that cannot be read leaves the one held.
void RereadTableIfReplaced(SearchState& state);

// Loads the part of an entry of the set's written-form file and makes its
// headword line the top line; false when the part cannot be read (reported)
// or no longer holds the entry.
bool MoveToWrittenFormEntry(SearchState& state, LookupView& view, Reporter& reporter,
                            const WrittenFormEntry& entry);

}  // namespace tovix
