// SPDX-License-Identifier: GPL-3.0-or-later
// The lookup of the search field on a dictionary file set, on a line store
// view as the command line uses it.
//
//   LookupBench DICT.DIC eng|jpn [WORDS] [RUNS]
//
// Within the loaded part: about WORDS headwords (default 1000), sampled from
// every part in proportion to its size, are typed a character at a time; each
// keystroke whose key stays in the loaded part is timed (the typed text is
// the headword's prefix, so nearly every one should match), as the fastest of
// three runs. The slowest first run is printed as well: the first keystroke
// that passes a run of lines also summarises it for the later ones.
// Changing the part: RUNS times (default 9) the shortest beginning of a
// headword of the largest part that that part holds is typed while another
// part is loaded, so the keystroke loads that part and looks it up.
//
// Prints "name value" lines for bench/run.sh:
//   keystrokes, keystroke_median_us, keystroke_p99_us, keystroke_max_us,
//   keystroke_first_max_us,
//   matched (keystrokes that found a headword), slowest_text (UTF-8),
//   change_file (the largest part file), change_lines, change_median_ms,
//   change_max_ms

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "dict/DicFileSet.h"
#include "dict/KeyAlphabet.h"
#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/SearchKey.h"
#include "platform/Cp932.h"
#include "platform/Reporter.h"

namespace {

namespace fs = std::filesystem;
using tovix::Direction;
using tovix::bench::Clock;
using tovix::bench::Median;
using tovix::bench::Percentile;

class SilentReporter : public tovix::Reporter {
  public:
    tovix::MessageResult Message(tovix::MessageKind, const std::string& text,
                                 tovix::MessageButtons) override {
        std::cerr << "message: " << text << "\n";
        return tovix::MessageResult::Yes;
    }
    std::string Caption() const override { return {}; }
    void SetCaption(const std::string&) override {}
};

// What a user types for a headword line: an English headword without its
// trailing blank, a Japanese reading up to its first blank.
std::string TypedText(std::string_view line, Direction direction) {
    const size_t blank =
        direction == Direction::English ? line.find_last_not_of(' ') + 1 : line.find(' ');
    return std::string(line.substr(0, blank == std::string_view::npos ? line.size() : blank));
}

std::string Key(Direction direction, std::string_view text) {
    return direction == Direction::English ? tovix::EngSearchKey(text) : tovix::JpnSearchKey(text);
}

struct Timing {
    std::vector<double> micros;
    int matched = 0;
    double slowest = -1;
    std::string slowestText;
    double slowestFirst = -1;
};

// Types the sampled headwords of the part loaded in the view.
void TypeWithinPart(tovix::SearchState& state, tovix::LineStoreView& view, int part, int words,
                    std::mt19937& random, Timing& timing) {
    SilentReporter reporter;
    const int entries = view.ViewLineCount().value / 2;
    for (int w = 0; w < words && entries > 0; ++w) {
        const tovix::ViewLineIndex line(
            2 * static_cast<int>(random() % static_cast<unsigned>(entries)));
        const std::string word = TypedText(view.ViewLine(line), state.direction);
        for (size_t end = 0; end < word.size();) {
            end += tovix::IsLeadByte(word[end]) && end + 1 < word.size() ? 2 : 1;
            const std::string typed = word.substr(0, end);
            const int keyPart = tovix::PartNumber(state.direction, Key(state.direction, typed));
            if (keyPart != 0 && keyPart != part) {
                continue;
            }
            // The same keystroke three times, the fastest counting: on a
            // shared machine a single run may include time spent in other
            // processes.
            double us = 0;
            tovix::LookupOutcome outcome;
            for (int repeat = 0; repeat < 3; ++repeat) {
                const auto start = Clock::now();
                outcome = tovix::Lookup(state, view, reporter, typed);
                const double elapsed =
                    std::chrono::duration<double, std::micro>(Clock::now() - start).count();
                us = repeat == 0 ? elapsed : std::min(us, elapsed);
                if (repeat == 0) {
                    timing.slowestFirst = std::max(timing.slowestFirst, elapsed);
                }
            }
            timing.micros.push_back(us);
            timing.matched += outcome.matched;
            if (us > timing.slowest) {
                timing.slowest = us;
                timing.slowestText = tovix::Cp932ToUtf8(typed);
            }
        }
    }
}

// The shortest beginning of a headword of the loaded part whose search key
// falls in that part: the first character alone may fold into another part
// (katakana is looked up as hiragana), so longer beginnings are tried too.
std::string TextOfPart(const tovix::LineStoreView& view, Direction direction, int part) {
    for (tovix::ViewLineIndex line(0); line < view.ViewLineCount(); line += 2) {
        const std::string word = TypedText(view.ViewLine(line), direction);
        for (size_t end = 0; end < word.size();) {
            end += tovix::IsLeadByte(word[end]) && end + 1 < word.size() ? 2 : 1;
            const std::string typed = word.substr(0, end);
            if (tovix::PartNumber(direction, Key(direction, typed)) == part) {
                return typed;
            }
        }
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: LookupBench DICT.DIC eng|jpn [WORDS] [RUNS]\n";
        return 2;
    }
    const fs::path dicFile = argv[1];
    const Direction direction =
        std::string(argv[2]) == "jpn" ? Direction::Japanese : Direction::English;
    const int words = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1000;
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 9;

    tovix::SearchState state;
    state.direction = direction;
    state.dicFile = dicFile;
    state.table = tovix::TDicTable::LoadFromFile(tovix::TableFileName(dicFile), direction);

    const int parts = tovix::AlphabetSize(direction);
    std::uintmax_t totalBytes = 0;
    int largest = 1;
    for (int part = 1; part <= parts; ++part) {
        const std::uintmax_t bytes = fs::file_size(tovix::PartFileName(dicFile, part));
        totalBytes += bytes;
        if (bytes > fs::file_size(tovix::PartFileName(dicFile, largest))) {
            largest = part;
        }
    }

    std::mt19937 random(4242);
    Timing timing;
    tovix::LineStoreView view;
    for (int part = 1; part <= parts; ++part) {
        const fs::path file = tovix::PartFileName(dicFile, part);
        const double share =
            static_cast<double>(fs::file_size(file)) / static_cast<double>(totalBytes);
        const int partWords = static_cast<int>(share * words + 0.5);
        if (partWords == 0) {
            continue;
        }
        view.LoadFromFile(file);
        state.currentPart = state.currentPartCopy = part;
        TypeWithinPart(state, view, part, partWords, random, timing);
    }

    const fs::path largestFile = tovix::PartFileName(dicFile, largest);
    view.LoadFromFile(largestFile);
    const std::string firstChar = TextOfPart(view, direction, largest);
    if (firstChar.empty()) {
        std::cerr << "no headword of part " << largest << " begins with a text of that part\n";
        return 1;
    }
    const int other = largest == 1 ? 2 : 1;
    SilentReporter reporter;
    std::vector<double> changes;
    for (int i = 0; i < runs; ++i) {
        view.LoadFromFile(tovix::PartFileName(dicFile, other));
        state.currentPart = state.currentPartCopy = other;
        const auto start = Clock::now();
        tovix::Lookup(state, view, reporter, firstChar);
        changes.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (state.currentPart != largest) {
            std::cerr << "the keystroke did not load part " << largest << "\n";
            return 1;
        }
    }

    std::cout << std::fixed << std::setprecision(2) << "keystrokes " << timing.micros.size() << "\n"
              << "keystroke_median_us " << Median(timing.micros) << "\n"
              << "keystroke_p99_us " << Percentile(timing.micros, 0.99) << "\n"
              << "keystroke_max_us " << timing.slowest << "\n"
              << "keystroke_first_max_us " << timing.slowestFirst << "\n"
              << "matched " << timing.matched << "\n"
              << "slowest_text " << timing.slowestText << "\n"
              << "change_file " << largestFile.string() << "\n"
              << "change_lines " << view.ViewLineCount() << "\n"
              << "change_median_ms " << Median(changes) << "\n"
              << "change_max_ms " << *std::max_element(changes.begin(), changes.end()) << "\n";
    return 0;
}
