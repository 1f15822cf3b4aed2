// The romaji conversion and the incremental lookup. The input's first line
// chooses the form: "E" or "J" build an English-Japanese or Japanese-English
// dictionary file set with the program's own tools from the [EXM] text that
// follows; "ER" or "JR" take the rest as a raw table and part ("%%" lines
// between them and before the search words).
//
// Promises checked: a lookup that matches puts a headword that begins with the
// search text on the top line; in a set the tools built, every headword of
// plain letters (English) or hiragana (Japanese) is found by typing it, one
// character at a time, at every keystroke.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
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
#include "dict/Romaji.h"
#include "dict/SearchKey.h"
#include "tools/Chains.h"

namespace tovix::fuzz {
namespace {

// A view whose every part is the same text: the raw form needs no files.
class TextView : public LookupView {
  public:
    explicit TextView(std::string_view part) : part_(part) {}
    int ViewLineCount() const override { return lines_.Count(); }
    std::string_view ViewLine(int n) const override { return lines_.View(n); }
    std::uint64_t Revision() const override { return lines_.Revision(); }
    void LoadFromFile(const std::filesystem::path& /*path*/) override { lines_.SetText(part_); }
    int TopLine() const override { return top_; }
    void SetTopLine(int n) override { top_ = std::max(0, std::min(n, lines_.Count() - 1)); }

  private:
    std::string part_;
    TBvStrings lines_;
    int top_ = 0;
};

// Whether `line` begins with `text` as the lookup compares them: English
// ignores the case of single-byte letters.
bool BeginsWith(std::string_view line, std::string_view text, Direction direction) {
    if (line.size() < text.size()) {
        return false;
    }
    if (direction == Direction::Japanese) {
        return line.substr(0, text.size()) == MbLowerCase(text);
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsDoubleByteChar(line, i)) {
            if (line.substr(i, 2) != text.substr(i, 2)) {
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
            Check(BeginsWith(view.ViewLine(view.TopLine()), field, state.direction),
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
    int typed = 0;
    for (int part = 1; part <= AlphabetSize(direction) && typed < 24; ++part) {
        TBvStrings lines;
        lines.LoadFromFile(PartFileName(state.dicFile, part));
        for (int n = 0; n < lines.Count() && typed < 24; n += 2) {
            if (const std::optional<std::string> word = Typeable(lines.View(n), direction)) {
                ++typed;
                if (!Type(state, view, *word)) {
                    std::fprintf(stderr, "not found: \"%s\" (part %d)\n", word->c_str(), part);
                    Check(false, "every headword is found by typing it");
                }
            }
        }
    }
    if (sections.size() > 1) {
        for (const std::string& word : SplitLines(sections[1])) {
            Type(state, view, word);
        }
    }
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
