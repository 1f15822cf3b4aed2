#include "dict/Lookup.h"

#include <algorithm>

#include "components/MbString.h"
#include "dict/DicFileSet.h"
#include "dict/DictMessages.h"
#include "dict/KanaText.h"
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
        Warn(reporter, dict_text::kPartFileUnreadable);
        return false;
    }
    state.currentPart = part;
    state.currentPartCopy = part;
    return true;
}

// Tells whether a headword line begins with the search text: English-Japanese
// compares without regard to the case of the line's single-byte letters,
// Japanese-English compares the line as it is with the lower-cased text.
// The lines of a key's range share the text's first bytes and mostly differ
// near its end, so the test looks at the last byte first and at the
// characters only when every byte agrees with both sides case-folded.
class HeadwordMatcher {
  public:
    HeadwordMatcher(std::string_view text, bool foldLine)
        : lowerText_(MbLowerCase(text)),
          size_(lowerText_.size()),
          lastFolded_(size_ > 0 ? AsciiLower(lowerText_.back()) : '\0'),
          foldLine_(foldLine) {}

    bool Matches(std::string_view line) const {
        if (line.size() < size_ || (size_ > 0 && AsciiLower(line[size_ - 1]) != lastFolded_)) {
            return false;
        }
        if (!foldLine_) {
            return line.substr(0, size_) == lowerText_;
        }
        for (size_t i = 0; i < size_; ++i) {
            if (AsciiLower(line[i]) != AsciiLower(lowerText_[i])) {
                return false;
            }
        }
        return MatchesByCharacter(line);
    }

  private:
    // Single-byte characters of the line compare lower-cased, the bytes of a
    // double-byte character exactly (a trail byte may look like a letter).
    bool MatchesByCharacter(std::string_view line) const {
        for (size_t i = 0; i < size_; ++i) {
            if (IsDoubleByteChar(line, i)) {
                if (line[i] != lowerText_[i] ||
                    (i + 1 < size_ && line[i + 1] != lowerText_[i + 1])) {
                    return false;
                }
                ++i;
            } else if (AsciiLower(line[i]) != lowerText_[i]) {
                return false;
            }
        }
        return true;
    }

    std::string lowerText_;
    size_t size_;
    char lastFolded_;  // the text's last byte lower-cased, even a trail byte
    bool foldLine_;
};

// Compares the headword lines of the key's range with the text, or of the
// whole part when the key stands for too little of the text; the scan never
// passes the view's last line, whatever the table says.
bool MoveToMatch(const SearchState& state, LookupView& view, std::string_view key,
                 std::string_view text, bool foldLine) {
    int count = view.ViewLineCount();
    if (count == 0) {
        return false;
    }
    const KeyRange range = KeyNeedsWholePart(state.direction, text)
                               ? KeyRange{0, count - 1}
                               : FindKeyRange(state.table, key);
    const HeadwordMatcher matcher(text, foldLine);
    const int last = std::min(range.end, count - 1);
    const int found = view.FindFirst(range.start, last, text,
                                     [&](int n) { return matcher.Matches(view.ViewLine(n)); });
    if (found < 0) {
        return false;
    }
    view.SetTopLine(found);
    return true;
}

// A Japanese-English search text with its romaji tail turned into kana, and
// its katakana (what an input method commits, or a pasted word) into
// hiragana, the form of the readings, unless it holds a kanji: such a text
// is looked up by its written form, which keeps its katakana.
LookupOutcome ConvertField(const SearchState& state, std::string_view text) {
    if (state.direction != Direction::Japanese) {
        return {std::string(text), false, false};
    }
    std::string converted = ConvertRomajiTail(text).value_or(std::string(text));
    if (!HoldsKanji(converted)) {
        converted = KataToHira(converted);
    }
    const bool changed = converted != text;
    return {std::move(converted), changed, false};
}

std::string SearchKey(Direction direction, std::string_view text) {
    return direction == Direction::English ? EngSearchKey(text) : JpnSearchKey(text);
}

}  // namespace

LookupOutcome Lookup(SearchState& state, LookupView& view, Reporter& reporter,
                     std::string_view fieldText) {
    if (state.direction == Direction::None) {
        Warn(reporter, dict_text::kNoDirection);
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
