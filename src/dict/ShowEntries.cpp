// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/ShowEntries.h"

#include "components/MbString.h"
#include "dict/DicFileSet.h"
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

ShownEntry EntryAt(const LookupView& view, int headLine) {
    const int translation = headLine + 1;
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

}  // namespace

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

ShownWord ShowWord(SearchState& state, LookupView& view, Reporter& reporter,
                   const std::vector<std::string>& keys, std::size_t max) {
    ShownWord shown;
    for (const std::string& key : keys) {
        if (key.empty()) {
            continue;
        }
        const LookupOutcome outcome = Lookup(state, view, reporter, shown.fieldText + key);
        shown.fieldText = outcome.fieldText;
        shown.found = outcome.matched;
        shown.writtenFormsMissing = shown.writtenFormsMissing || outcome.writtenFormsMissing;
    }
    if (!shown.found || ShowWrittenForms(state, view, reporter, shown, max)) {
        return shown;
    }
    int line = view.TopLine();
    line -= line % 2;  // the headword of an entry whose translation is on top
    for (; line < view.ViewLineCount() && shown.entries.size() < max; line += 2) {
        if (!shown.entries.empty() &&
            !HeadwordBeginsWith(view.ViewLine(line), shown.fieldText, state.direction)) {
            break;
        }
        shown.entries.push_back(EntryAt(view, line));
    }
    return shown;
}

}  // namespace tovix
