// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a user sees at the top of the view after typing a word: the lookup
// runs for every keystroke as the search field would run it, and when the
// last one matched, the entry on the top line is shown with the entries after
// it whose headword begins with the same text (for Japanese-English also
// those whose written form, inside the brackets, does). A Japanese-English
// text with a kanji shows the entries whose written form begins with it, in
// the order of the set's written-form file, when the set has one.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dict/LookupView.h"
#include "dict/SearchState.h"
#include "platform/Reporter.h"

namespace tovix {

struct ShownEntry {
    std::string headword;     // CP932, trailing blanks removed
    std::string translation;  // CP932, without the leading TAB
};

// A base form of the word shown (食べた: 食べる), with the entries whose
// headword it is.
struct ShownBase {
    std::string word;                  // CP932
    std::string names;                 // CP932, the rules' Japanese names: "過去"
    std::vector<std::string> reasons;  // English: {"past"}
    std::vector<ShownEntry> entries;
};

struct ShownWord {
    std::string fieldText;  // the search field's text after the last keystroke
    bool found = false;     // the last keystroke's lookup matched
    // A text with a kanji found the set without its written-form file.
    bool writtenFormsMissing = false;
    std::vector<ShownEntry> entries;
    // With state.findBaseForms: the base forms of the text that are
    // headwords, each with its entries.
    std::vector<ShownBase> bases;
};

// Types `keys` (CP932 characters, one keystroke each) into an empty search
// field over `view` and collects at most `max` entries.
ShownWord ShowWord(SearchState& state, LookupView& view, Reporter& reporter,
                   const std::vector<std::string>& keys, std::size_t max);

// The entries whose headword (for Japanese-English the reading or the
// written form, katakana as hiragana) is `word`, at most `max`.
std::vector<ShownEntry> EntriesOf(SearchState& state, LookupView& view, Reporter& reporter,
                                  std::string_view word, std::size_t max);

// Whether the headword line begins with `text` as the lookup compares them:
// English-Japanese without regard to the case of single-byte letters,
// Japanese-English in the reading or in the written form, a katakana counting
// as its hiragana.
bool HeadwordBeginsWith(std::string_view line, std::string_view text, Direction direction);

}  // namespace tovix
