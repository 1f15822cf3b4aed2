// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/Lookup.h"

#include <sys/stat.h>

#include <algorithm>

#include "components/MbString.h"
#include "dict/BaseForms.h"
#include "dict/DicFileSet.h"
#include "dict/DicTableError.h"
#include "dict/DictMessages.h"
#include "dict/KanaText.h"
#include "dict/KeyAlphabet.h"
#include "dict/KeyRange.h"
#include "dict/SearchKey.h"
#include "dict/WrittenForms.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "platform/Warning.h"

namespace tovix {
namespace {

void Warn(Reporter& reporter, std::string_view text) {
    ShowWarning(reporter, PaddedMessage(text));
}

// Makes `part` the part loaded in the view (0 keeps whatever is loaded).
// Returns false when its file could not be read.
bool LoadPart(SearchState& state, LookupView& view, Reporter& reporter, int part) {
    if (part == 0 || part == state.currentPart) {
        return true;
    }
    RereadTableIfReplaced(state);
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
// Japanese-English compares the line with the lower-cased text, a katakana
// counting as its hiragana (a reading filed in katakana, カミ, is keyed and
// sorted with かみ). The English lines of a key's range share the text's
// first bytes and mostly differ near its end, so the test looks at the last
// byte first and at the characters only when every byte agrees with both
// sides case-folded.
class HeadwordMatcher {
  public:
    HeadwordMatcher(std::string_view text, bool foldLine)
        : lowerText_(MbLowerCase(text)),
          size_(lowerText_.size()),
          lastFolded_(size_ > 0 ? AsciiLower(lowerText_.back()) : '\0'),
          foldLine_(foldLine) {
        for (size_t place = 0; place < size_; NextChar(lowerText_, place)) {
            lastStart_ = place;
        }
        lastKana_ = std::string(KataToHiraChar(std::string_view(lowerText_).substr(lastStart_)));
    }

    bool Matches(std::string_view line) const {
        if (!foldLine_) {
            return line.size() >= size_ && LastCharAgrees(line) && BeginsWithKana(line, lowerText_);
        }
        if (line.size() < size_ || (size_ > 0 && AsciiLower(line[size_ - 1]) != lastFolded_)) {
            return false;
        }
        for (size_t i = 0; i < size_; ++i) {
            if (AsciiLower(line[i]) != AsciiLower(lowerText_[i])) {
                return false;
            }
        }
        return MatchesByCharacter(line);
    }

  private:
    // The line's character where the text's last one stands is that one, a
    // katakana counting as its hiragana: most lines of a range differ there.
    bool LastCharAgrees(std::string_view line) const {
        if (size_ == 0) {
            return true;
        }
        const std::string_view ch = line.substr(lastStart_, size_ - lastStart_);
        const auto same = [&](std::string_view c) {
            return c[0] == lastKana_[0] && (c.size() == 1 || c[1] == lastKana_[1]);
        };
        if (same(ch)) {
            return true;
        }
        // Only a katakana, or ヽ ヾ, is another character than it stands for.
        return ch.size() == 2 && (ch[0] == '\x83' || ch[0] == '\x81') && same(KataToHiraChar(ch));
    }

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
    size_t lastStart_ = 0;  // where the text's last character begins
    std::string lastKana_;  // that character, katakana as hiragana
};

// The first headword line of the key's range for which `test` is true, or
// of the whole part when the key stands for too little of the text; the
// scan never passes the view's last line, whatever the table says. Makes it
// the top line.
template <class Test>
bool MoveToFirst(const SearchState& state, LookupView& view, std::string_view key,
                 std::string_view text, Test test) {
    const LineCount count = view.ViewLineCount();
    if (count.Empty()) {
        return false;
    }
    const KeyRange range = KeyNeedsWholePart(state.direction, text)
                               ? KeyRange{TextLineIndex(0), count.Last<TextLineIndex>()}
                               : FindKeyRange(state.table, key).Within(count);
    const std::optional<ViewLineIndex> found =
        view.FindFirst(LookupView::LineOf(range.start), LookupView::LineOf(range.end), text, test);
    if (!found) {
        return false;
    }
    view.SetTopLine(*found);
    return true;
}

// Compares the headword lines with the text.
bool MoveToMatch(const SearchState& state, LookupView& view, std::string_view key,
                 std::string_view text, bool foldLine) {
    const HeadwordMatcher matcher(text, foldLine);
    return MoveToFirst(state, view, key, text,
                       [&](ViewLineIndex n) { return matcher.Matches(view.ViewLine(n)); });
}

// A text that holds a kanji, looked up by written form: the first entry of
// the set's written-form file whose written form begins with it, in its part
// under the key of its reading. Nothing when the set has no such entry or
// no file (the search by reading follows); the first time the file is found
// missing the outcome says so.
bool MoveToWrittenForm(SearchState& state, LookupView& view, Reporter& reporter,
                       std::string_view text, LookupOutcome& outcome) {
    WrittenFormFile& file = *state.writtenForms;
    WrittenFormIndex* index = file.Get(WrittenFormFileName(state.dicFile));
    if (index == nullptr) {
        outcome.writtenFormsMissing = file.TellMissing();
        return false;
    }
    const std::optional<WrittenFormEntry> entry = index->Find(text);
    return entry && MoveToWrittenFormEntry(state, view, reporter, *entry);
}

// The field's text after the keystroke, and what is searched (SearchKey.h).
LookupOutcome ConvertField(const SearchState& state, std::string_view text,
                           std::string& searchText) {
    if (state.direction != Direction::Japanese) {
        searchText = text;
        LookupOutcome outcome;
        outcome.fieldText = text;
        return outcome;
    }
    JpnField field = ConvertJpnField(text, state.imeStyleN);
    searchText = std::move(field.searchText);
    LookupOutcome outcome;
    outcome.fieldText = std::move(field.text);
    outcome.fieldChanged = outcome.fieldText != text;
    outcome.romajiPending = field.pending;
    return outcome;
}

std::string SearchKey(Direction direction, std::string_view text) {
    return direction == Direction::English ? EngSearchKey(text) : JpnSearchKey(text);
}

// Where a text that no headword begins with is found after all: the base
// forms of the text, or, for a phrase, those of its longest leading part
// (that part itself when it is a headword). A leading part of an English
// phrase ends before a blank.
void FindBases(SearchState& state, LookupView& view, Reporter& reporter, std::string_view text,
               bool phrase, LookupOutcome& outcome);

}  // namespace

void RereadTableIfReplaced(SearchState& state) {
    const std::filesystem::path file = TableFileName(state.dicFile);
    const FileStamp stamp = StampOf(file);
    if (stamp == state.tableStamp) {
        return;
    }
    try {
        state.table = TDicTable::LoadFromFile(file, state.direction);
        state.tableStamp = stamp;
    } catch (const DicTableError&) {
        // The set is being replaced or is damaged: the table held stays.
    }
}

bool MoveToWrittenFormEntry(SearchState& state, LookupView& view, Reporter& reporter,
                            const WrittenFormEntry& entry) {
    if (!LoadPart(state, view, reporter, entry.part)) {
        return false;
    }
    const std::string_view reading = entry.forms.reading;
    return MoveToFirst(state, view, JpnSearchKey(reading), reading, [&](ViewLineIndex n) {
        return IsHeadwordOf(view.ViewLine(n), entry.forms);
    });
}

bool MoveToText(SearchState& state, LookupView& view, Reporter& reporter, std::string_view text,
                LookupOutcome& outcome) {
    if (state.direction == Direction::Japanese && HoldsKanji(text) &&
        MoveToWrittenForm(state, view, reporter, text, outcome)) {
        return true;
    }
    const std::string key = SearchKey(state.direction, text);
    return LoadPart(state, view, reporter, PartNumber(state.direction, key)) &&
           MoveToMatch(state, view, key, text, state.direction == Direction::English);
}

LookupOutcome Lookup(SearchState& state, LookupView& view, Reporter& reporter,
                     std::string_view fieldText, bool phrase, BasesOf basesOf) {
    if (state.direction == Direction::None) {
        Warn(reporter, dict_text::kNoDirection);
        LookupOutcome outcome;
        outcome.fieldText = fieldText;
        return outcome;
    }
    std::string text;
    LookupOutcome outcome = ConvertField(state, fieldText, text);
    if (state.dicFile.empty()) {
        return outcome;
    }
    outcome.matched = MoveToText(state, view, reporter, text, outcome);
    if (state.findBaseForms && !outcome.romajiPending &&
        (basesOf == BasesOf::EveryText || !outcome.matched)) {
        state.headwords->TakePending();
        FindBases(state, view, reporter, text, phrase, outcome);
        outcome.basesPending = state.headwords->TakePending();
    }
    return outcome;
}

}  // namespace tovix

namespace tovix {
namespace {

// The byte lengths of the leading parts of a phrase, longest first.
std::vector<size_t> LeadingParts(Direction direction, std::string_view text) {
    std::vector<size_t> ends;
    for (size_t place = 0; place < text.size();) {
        NextChar(text, place);
        if (place < text.size() && (direction == Direction::Japanese || text[place] == ' ')) {
            ends.push_back(place);
        }
    }
    std::reverse(ends.begin(), ends.end());
    return ends;
}

// The word a leading part stands for: itself when it is a headword, else its
// first base form; empty when neither.
std::string WordOfPart(SearchState& state, std::string_view part, LookupOutcome& outcome) {
    const WrittenFormIndex* writtenForms =
        state.direction == Direction::Japanese && HoldsKanji(part)
            ? state.writtenForms->Get(WrittenFormFileName(state.dicFile))
            : nullptr;
    if (state.headwords->Find(state.dicFile, state.direction, writtenForms, part)) {
        return std::string(part);
    }
    outcome.bases = FindBaseForms(state, part);
    return outcome.bases.empty() ? std::string() : outcome.bases.front().word;
}

void FindBases(SearchState& state, LookupView& view, Reporter& reporter, std::string_view text,
               bool phrase, LookupOutcome& outcome) {
    outcome.bases = FindBaseForms(state, text);
    if (outcome.matched) {
        return;
    }
    if (!outcome.bases.empty()) {
        outcome.movedToBase =
            MoveToText(state, view, reporter, outcome.bases.front().word, outcome);
        return;
    }
    if (!phrase) {
        return;
    }
    for (size_t end : LeadingParts(state.direction, text)) {
        const std::string word = WordOfPart(state, text.substr(0, end), outcome);
        if (!word.empty()) {
            outcome.movedToBase = MoveToText(state, view, reporter, word, outcome);
            outcome.leadingPart = outcome.movedToBase ? end : 0;
            return;
        }
    }
}

}  // namespace
}  // namespace tovix
