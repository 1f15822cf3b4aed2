// SPDX-License-Identifier: GPL-3.0-or-later
// The romaji conversion and the incremental lookup. The input's first line
// chooses the form: "E" or "J" build an English-Japanese or Japanese-English
// dictionary file set with the program's own tools from the [EXM] text that
// follows; "ER" or "JR" take the rest as a raw table and part ("%%" lines
// between them and before the search words).
//
// Promises checked: a lookup that matches puts a headword that begins with the
// search text (its written form, for a text with a kanji) on the top line; in a set the tools
// built, every headword of plain letters (English) or hiragana (Japanese) is found by typing it,
// one character at a time, at every keystroke; and the set opened as tovix-tool show opens it, with
// its parts in a cache view, shows for those headwords and the search words what typing in the
// viewer's view finds, the same entry first and the headword typed among the entries shown.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "components/BvStrings.h"
#include "components/MbString.h"
#include "dict/DicFileSet.h"
#include "dict/DicTableError.h"
#include "dict/KanaText.h"
#include "dict/KeyAlphabet.h"
#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/OpenDictionary.h"
#include "dict/PartCacheView.h"
#include "dict/Romaji.h"
#include "dict/SearchKey.h"
#include "dict/ShowEntries.h"
#include "tools/Chains.h"

namespace tovix::fuzz {
namespace {

// A view whose every part is the same text: the raw form needs no files.
class TextView : public LookupView {
  public:
    explicit TextView(std::string_view part) : part_(part) {}
    LineCount ViewLineCount() const override { return LineCount(lines_.Count()); }
    std::string_view ViewLine(ViewLineIndex n) const override { return lines_.View(n.value); }
    std::uint64_t Revision() const override { return lines_.Revision(); }
    void LoadFromFile(const std::filesystem::path& /*path*/) override { lines_.SetText(part_); }
    ViewLineIndex TopLine() const override { return top_; }
    void SetTopLine(ViewLineIndex n) override {
        top_ = std::max(ViewLineIndex(0), std::min(n, ViewLineCount().Last<ViewLineIndex>()));
    }

  private:
    std::string part_;
    TBvStrings lines_;
    ViewLineIndex top_{0};
};

// Whether `line` begins with `text` as the lookup compares them: English
// ignores the case of single-byte letters, Japanese takes katakana as
// hiragana. The lookup compares bytes, so a
// text that ends in the first byte of a double-byte character (only a raw
// search word can) matches the lines whose character there begins with it.
bool BeginsWith(std::string_view line, std::string_view text, Direction direction) {
    if (line.size() < text.size()) {
        return false;
    }
    if (direction == Direction::Japanese) {
        return BeginsWithKana(line, MbLowerCase(text));
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsDoubleByteChar(line, i)) {
            if (line.substr(i, std::min<size_t>(2, text.size() - i)) != text.substr(i, 2)) {
                return false;
            }
            ++i;
        } else if (AsciiLower(line[i]) != AsciiLower(text[i])) {
            return false;
        }
    }
    return true;
}

// Runs the lookup on every beginning of `word`, one character longer each
// time, as typing it does; returns whether the whole word matched.
bool Type(SearchState& state, LookupView& view, std::string_view word) {
    QuietReporter reporter;
    std::string field;
    bool matched = false;
    for (size_t place = 0; place < word.size();) {
        const size_t start = place;
        NextChar(word, place);
        field += word.substr(start, place - start);
        const LookupOutcome outcome = Lookup(state, view, reporter, field);
        field = outcome.fieldText;
        matched = outcome.matched;
        if (matched) {
            // A text with a kanji is looked up by written form.
            const std::string_view top = view.ViewLine(view.TopLine());
            Check(BeginsWith(top, field, state.direction) ||
                      (HoldsKanji(field) && HeadwordBeginsWith(top, field, state.direction)),
                  "the top line begins with the search text");
        }
    }
    return matched;
}

void RawLookups(Direction direction, std::string_view text) {
    const std::vector<std::string_view> sections = Parts(text);
    SearchState state;
    state.direction = direction;
    state.dicFile = "RAW.DIC";
    try {
        state.table = TDicTable(SplitLines(sections[0]), direction, ScratchDir() / "RAW.DAT");
    } catch (const DicTableError&) {
        return;
    }
    TextView view(sections.size() > 1 ? sections[1] : std::string_view());
    for (const std::string& word : SplitLines(sections.size() > 2 ? sections[2] : text)) {
        Type(state, view, word);
        RomajiToKana(word);
        EngSearchKey(word);
        JpnSearchKey(word);
    }
}

// The headword as a user types it, when the promise covers it: English
// headwords of letters, digits, blanks and common signs beginning with a
// letter; Japanese readings of hiragana.
std::optional<std::string> Typeable(std::string_view line, Direction direction) {
    std::string word;
    if (direction == Direction::English) {
        word = EndSpaceDelete(line);
        for (char c : word) {
            if (c < ' ' || c > '~') {
                return std::nullopt;
            }
        }
    } else {
        word = line.substr(0, line.find(' '));
        for (size_t i = 0; i < word.size(); i += 2) {
            const auto lead = static_cast<unsigned char>(word[i]);
            const auto trail = i + 1 < word.size() ? static_cast<unsigned char>(word[i + 1]) : 0;
            if (lead != 0x82 || trail < 0x9F || trail > 0xF1) {
                return std::nullopt;
            }
        }
    }
    const std::string key =
        direction == Direction::English ? EngSearchKey(word) : JpnSearchKey(word);
    const bool letterFirst =
        direction == Direction::Japanese ||
        (!word.empty() && AsciiLower(word[0]) >= 'a' && AsciiLower(word[0]) <= 'z');
    if (word.empty() || !letterFirst || PartNumber(direction, key) == 0) {
        return std::nullopt;
    }
    return word;
}

// The entry at the top of the view after typing `word`, if it matched.
std::optional<std::string> TopAfterTyping(SearchState& state, LookupView& view,
                                          std::string_view word) {
    if (!Type(state, view, word)) {
        return std::nullopt;
    }
    return EndSpaceDelete(view.ViewLine(view.TopLine() - view.TopLine().value % 2));
}

// Whether `text` holds a control character other than TAB and the line ends.
// The collation ignores such characters, so a headword holding one sorts in
// among the headwords it equals without them, and may end the run of entries
// that begin with a text before a headword that does.
bool HoldsControlChar(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n';
    });
}

// tovix-tool show's path: the set opened as the command opens it, its parts
// kept in a cache view as the words' initials alternate, each word typed one
// character at a time. It finds what the viewer's path finds, the same entry
// on top, and (with `contiguous`: no headword holds a character the collation
// ignores) a headword typed whole among the entries it shows.
void CheckShown(SearchState& state, LookupView& view, const std::vector<std::string>& heads,
                const std::vector<std::string>& words, bool contiguous) {
    OpenedDictionary opened = OpenDictionary(state.dicFile, state.direction);
    Check(opened.Opened(), "a set the tools built opens");
    SearchState shownState;
    shownState.direction = state.direction;
    shownState.dicFile = state.dicFile;
    shownState.table = std::move(opened.table);
    PartCacheView cache;
    QuietReporter reporter;
    // Headwords and other words by turns, so that the parts alternate.
    std::vector<std::pair<std::string, bool>> order;
    for (size_t i = 0; i < std::max(heads.size(), words.size()); ++i) {
        if (i < heads.size()) {
            order.emplace_back(heads[i], true);
        }
        if (i < words.size()) {
            order.emplace_back(words[i], false);
        }
    }
    for (const auto& [word, head] : order) {
        const std::string typed = word;  // a lambda cannot take a structured binding
        std::vector<std::string> keys;
        for (size_t place = 0; place < word.size();) {
            const size_t start = place;
            NextChar(word, place);
            keys.push_back(word.substr(start, place - start));
        }
        const ShownWord shown = ShowWord(shownState, cache, reporter, keys, 64);
        const std::optional<std::string> top = TopAfterTyping(state, view, word);
        Check(shown.found == top.has_value(), "show finds what typing finds");
        if (!top) {
            continue;
        }
        Check(!shown.entries.empty() && shown.entries.size() <= 64 &&
                  shown.entries[0].headword == *top,
              "show puts first the entry typing puts on top");
        // A word with a kanji shows the entries of its written form.
        const bool byWrittenForm = state.direction == Direction::Japanese &&
                                   HoldsKanji(shown.fieldText) &&
                                   std::filesystem::exists(WrittenFormFileName(state.dicFile));
        Check(byWrittenForm || !head || !contiguous ||
                  std::any_of(shown.entries.begin(), shown.entries.end(),
                              [&](const ShownEntry& e) {
                                  return e.headword == typed || e.headword.starts_with(typed + " ");
                              }),
              "show lists the headword typed");
        Check(std::all_of(shown.entries.begin() + 1, shown.entries.end(),
                          [&](const ShownEntry& e) {
                              return HeadwordBeginsWith(e.headword, shown.fieldText,
                                                        state.direction);
                          }),
              "show lists entries that begin with the text");
    }
}

void BuiltLookups(Direction direction, std::string_view text) {
    const std::vector<std::string_view> sections = Parts(text);
    const std::filesystem::path dir = ScratchDir();
    WriteFile(dir / "IN.TXT", sections[0]);
    QuietReporter reporter(MessageResult::Yes);
    ToolJob job(reporter, dir);
    job.InName1 = (dir / "IN.TXT").string();
    job.OutName1 = (dir / "SET.DIC").string();
    if (!ExmToTovix(job, direction)) {
        return;
    }
    SearchState state;
    state.direction = direction;
    state.dicFile = dir / "SET.DIC";
    state.table = TDicTable::LoadFromFile(TableFileName(state.dicFile), direction);
    LineStoreView view;
    std::vector<std::string> heads;
    for (int part = 1; part <= AlphabetSize(direction) && heads.size() < 24; ++part) {
        TBvStrings lines;
        lines.LoadFromFile(PartFileName(state.dicFile, part));
        for (int n = 0; n < lines.Count() && heads.size() < 24; n += 2) {
            if (std::optional<std::string> word = Typeable(lines.View(n), direction)) {
                if (!Type(state, view, *word)) {
                    std::fprintf(stderr, "not found: \"%s\" (part %d)\n", word->c_str(), part);
                    Check(false, "every headword is found by typing it");
                }
                heads.push_back(std::move(*word));
            }
        }
    }
    const std::vector<std::string> words =
        sections.size() > 1 ? SplitLines(sections[1]) : std::vector<std::string>();
    CheckShown(state, view, heads, words, !HoldsControlChar(sections[0]));
}

}  // namespace
}  // namespace tovix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix;
    using namespace tovix::fuzz;
    const auto [form, text] = SplitChoice(data, size);
    const Direction direction =
        !form.empty() && form[0] == 'J' ? Direction::Japanese : Direction::English;
    if (form.size() > 1 && form[1] == 'R') {
        RawLookups(direction, text);
    } else {
        BuiltLookups(direction, text);
    }
    return 0;
}
