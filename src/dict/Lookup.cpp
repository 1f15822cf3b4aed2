#include "dict/Lookup.h"

#include "components/MbString.h"
#include "dict/DicFileSet.h"
#include "dict/KeyAlphabet.h"
#include "dict/KeyRange.h"
#include "dict/SearchKey.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"

namespace tovix {
namespace {

void Warn(Reporter& reporter, std::string_view text) {
    reporter.Message(MessageKind::Warning, PaddedMessage(text), kButtonYes | kButtonNo);
}

// Makes `part` the part loaded in the view (0 keeps whatever is loaded).
// Returns false when its file could not be read.
bool LoadPart(SearchState& state, LookupView& view, Reporter& reporter, int part) {
    if (part == 0 || part == state.currentPart) {
        return true;
    }
    try {
        view.LoadFromFile(PartFileName(state.dicFile, part));
    } catch (const IoError&) {
        state.currentPart = 0;
        state.currentPartCopy = 0;
        Warn(reporter, "辞書ファイルがオープンできません。");
        return false;
    }
    state.currentPart = part;
    state.currentPartCopy = part;
    return true;
}

// Headword line `line` begins with `text`: English-Japanese compares without
// regard to the case of single-byte letters, Japanese-English compares the
// line as it is with the lower-cased text.
bool StartsWith(std::string_view line, std::string_view lowerText, bool foldLine) {
    if (line.size() < lowerText.size()) {
        return false;
    }
    for (size_t i = 0; i < lowerText.size(); ++i) {
        if (foldLine && IsDoubleByteChar(line, i)) {
            if (line[i] != lowerText[i] ||
                (i + 1 < lowerText.size() && line[i + 1] != lowerText[i + 1])) {
                return false;
            }
            ++i;
            continue;
        }
        char c = foldLine ? AsciiLower(line[i]) : line[i];
        if (c != lowerText[i]) {
            return false;
        }
    }
    return true;
}

// Compares the headword lines of the key's range with the text; the scan
// never passes the view's last line, whatever the table says.
bool MoveToMatch(const SearchState& state, LookupView& view, std::string_view key,
                 std::string_view text, bool foldLine) {
    int count = view.ViewLineCount();
    if (count == 0) {
        return false;
    }
    KeyRange range = FindKeyRange(state.table, key);
    const std::string lowerText = MbLowerCase(text);
    for (int n = range.start; n <= range.end && n < count; n += 2) {
        if (StartsWith(view.ViewLine(n), lowerText, foldLine)) {
            view.SetTopLine(n);
            return true;
        }
    }
    return false;
}

// The romaji tail of a Japanese-English search text turned into kana.
LookupOutcome ConvertField(const SearchState& state, std::string_view text) {
    if (state.direction == Direction::Japanese) {
        if (std::optional<std::string> converted = ConvertRomajiTail(text)) {
            return {*converted, true, false};
        }
    }
    return {std::string(text), false, false};
}

std::string SearchKey(Direction direction, std::string_view text) {
    return direction == Direction::English ? EngSearchKey(text) : JpnSearchKey(text);
}

}  // namespace

LookupOutcome Lookup(SearchState& state, LookupView& view, Reporter& reporter,
                     std::string_view fieldText) {
    if (state.direction == Direction::None) {
        Warn(reporter, "辞書判別が正しくありません。");
        return {std::string(fieldText), false, false};
    }
    LookupOutcome outcome = ConvertField(state, fieldText);
    if (state.dicFile.empty()) {
        return outcome;
    }
    const std::string key = SearchKey(state.direction, outcome.fieldText);
    if (LoadPart(state, view, reporter, PartNumber(state.direction, key))) {
        outcome.matched =
            MoveToMatch(state, view, key, outcome.fieldText, state.direction == Direction::English);
    }
    return outcome;
}

}  // namespace tovix
