// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/ShowEntries.h"

#include "components/MbString.h"
#include "dict/BaseForms.h"
#include "dict/DicFileSet.h"
#include "dict/HeadwordIndex.h"
#include "dict/KanaText.h"
#include "dict/Lookup.h"
#include "dict/WrittenForms.h"

namespace tovix {
namespace {

// The text is whole characters, so a line with the same first bytes has the
// same first characters.
bool BeginsFolded(std::string_view line, std::string_view text) {
    return line.size() >= text.size() &&
           MbLowerCase(line.substr(0, text.size())) == MbLowerCase(text);
}

ShownEntry EntryAt(const LookupView& view, ViewLineIndex headLine) {
    const ViewLineIndex translation = headLine + 1;
    return {EndSpaceDelete(view.ViewLine(headLine)),
            translation < view.ViewLineCount() ? FirstTabDelete(view.ViewLine(translation))
                                               : std::string()};
}

// A text with a kanji, which the lookup finds by written form: the entries
// whose written form begins with it, in the written-form file's order, each
// from its part. False when the set has none (or no file): the entries
// after the top line are shown as for a reading.
bool ShowWrittenForms(SearchState& state, LookupView& view, Reporter& reporter, ShownWord& shown,
                      std::size_t max) {
    if (state.direction != Direction::Japanese || !HoldsKanji(shown.fieldText)) {
        return false;
    }
    const WrittenFormIndex* index = state.writtenForms->Get(WrittenFormFileName(state.dicFile));
    if (index == nullptr) {
        return false;
    }
    for (const WrittenFormEntry& entry : index->FindAll(shown.fieldText, max)) {
        if (MoveToWrittenFormEntry(state, view, reporter, entry)) {
            shown.entries.push_back(EntryAt(view, view.TopLine()));
        }
    }
    return !shown.entries.empty();
}

// Whether the headword line is the entry of `word`, filed as HeadwordKey
// files it.
bool IsHeadwordFor(std::string_view line, std::string_view key, Direction direction) {
    if (direction == Direction::English) {
        return HeadwordKey(direction, EndSpaceDelete(line)) == key;
    }
    const ByteColumn open = MbPosEnd("[", line);
    if (!open) {
        return HeadwordKey(direction, EndSpaceDelete(line)) == key;
    }
    std::string_view written = line.substr(open.Offset() + 1);
    written = written.substr(0, MbFind("]", written));
    return HeadwordKey(direction, EndSpaceDelete(line.substr(0, open.Offset()))) == key ||
           HeadwordKey(direction, written) == key;
}

// The bases of the last lookup, each with its entries.
void AddBases(SearchState& state, LookupView& view, Reporter& reporter,
              const LookupOutcome& outcome, ShownWord& shown, std::size_t max) {
    std::vector<BaseForm> bases = outcome.bases;
    if (outcome.leadingPart > 0 && bases.empty()) {
        bases.push_back({shown.fieldText.substr(0, outcome.leadingPart), "", {}});
    }
    for (const BaseForm& base : bases) {
        shown.bases.push_back({base.word, base.names, base.reasons,
                               EntriesOf(state, view, reporter, base.word, max)});
    }
}

}  // namespace

std::vector<ShownEntry> EntriesOf(SearchState& state, LookupView& view, Reporter& reporter,
                                  std::string_view word, std::size_t max) {
    const std::string key = HeadwordKey(state.direction, word);
    std::vector<ShownEntry> entries;
    if (state.direction == Direction::Japanese && HoldsKanji(word)) {
        const WrittenFormIndex* index = state.writtenForms->Get(WrittenFormFileName(state.dicFile));
        for (const WrittenFormEntry& entry :
             index == nullptr ? std::vector<WrittenFormEntry>() : index->FindAll(word, max)) {
            if (KataToHira(entry.forms.written) == key &&
                MoveToWrittenFormEntry(state, view, reporter, entry)) {
                entries.push_back(EntryAt(view, view.TopLine()));
            }
        }
        return entries;
    }
    LookupOutcome outcome;
    if (!MoveToText(state, view, reporter, word, outcome)) {
        return entries;
    }
    for (ViewLineIndex line = view.TopLine(); line < view.ViewLineCount() && entries.size() < max;
         line += 2) {
        if (!HeadwordBeginsWith(view.ViewLine(line), word, state.direction)) {
            break;
        }
        if (IsHeadwordFor(view.ViewLine(line), key, state.direction)) {
            entries.push_back(EntryAt(view, line));
        }
    }
    return entries;
}

bool HeadwordBeginsWith(std::string_view line, std::string_view text, Direction direction) {
    if (text.empty()) {
        return false;
    }
    if (direction == Direction::English) {
        return BeginsFolded(line, text);
    }
    const std::string lower = MbLowerCase(text);
    if (BeginsWithKana(line, lower)) {
        return true;
    }
    const ByteColumn open = MbPosEnd("[", line);
    return open && BeginsWithKana(line.substr(open.Offset() + 1), lower);
}

namespace {

// The entries at the top of the view after the lookup matched: those whose
// headword begins with the text.
void AddTopEntries(SearchState& state, LookupView& view, Reporter& reporter, ShownWord& shown,
                   std::size_t max) {
    if (ShowWrittenForms(state, view, reporter, shown, max)) {
        return;
    }
    ViewLineIndex line = view.TopLine();
    line -= line.value % 2;  // the headword of an entry whose translation is on top
    for (; line < view.ViewLineCount() && shown.entries.size() < max; line += 2) {
        if (!shown.entries.empty() &&
            !HeadwordBeginsWith(view.ViewLine(line), shown.fieldText, state.direction)) {
            break;
        }
        shown.entries.push_back(EntryAt(view, line));
    }
}

}  // namespace

ShownWord ShowWord(SearchState& state, LookupView& view, Reporter& reporter,
                   const std::vector<std::string>& keys, std::size_t max) {
    ShownWord shown;
    LookupOutcome outcome;
    // Only the last keystroke's bases are shown; one before it that matched
    // leaves them out (one that did not still goes to its base).
    std::size_t lastKey = keys.size();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        lastKey = keys[i].empty() ? lastKey : i;
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].empty()) {
            continue;
        }
        outcome = Lookup(state, view, reporter, shown.fieldText + keys[i], false,
                         i == lastKey ? BasesOf::EveryText : BasesOf::UnmatchedText);
        shown.fieldText = outcome.fieldText;
        shown.found = outcome.matched;
        shown.writtenFormsMissing = shown.writtenFormsMissing || outcome.writtenFormsMissing;
    }
    if (shown.found) {
        AddTopEntries(state, view, reporter, shown, max);
    }
    AddBases(state, view, reporter, outcome, shown, max);
    return shown;
}

}  // namespace tovix
