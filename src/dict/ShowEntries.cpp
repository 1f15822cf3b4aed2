#include "dict/ShowEntries.h"

#include "components/MbString.h"
#include "dict/KanaText.h"
#include "dict/Lookup.h"

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

}  // namespace

bool HeadwordBeginsWith(std::string_view line, std::string_view text, Direction direction) {
    if (text.empty()) {
        return false;
    }
    if (direction == Direction::English) {
        return BeginsFolded(line, text);
    }
    const std::string lower = MbLowerCase(text);
    if (line.starts_with(lower)) {
        return true;
    }
    const ByteColumn open = MbPosEnd("[", line);
    return open && line.substr(open.Offset() + 1).starts_with(lower);
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
    }
    if (!shown.found) {
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
