// SPDX-License-Identifier: GPL-3.0-or-later
// How many headwords of a dictionary file set can be reached by typing them:
// every distinct headword of every part file (an English headword without its
// trailing blanks, a Japanese reading up to its blank or "[") is typed a
// character at a time into a freshly opened dictionary, as the search field
// runs the lookup on every keystroke. A headword is found when the last
// keystroke brings a headword line that begins with it to the top; the count
// of headwords every one of whose keystrokes matched is printed beside.
//
//   TypingReachBench DICT.DIC eng|jpn [MISSES]
//
// Prints "name value" lines for bench/run.sh: typed, found, every_prefix,
// found_percent, seconds; then up to MISSES (default 20) headwords not found,
// one "miss TEXT" line each (UTF-8).

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchReporter.h"
#include "components/MbString.h"
#include "dict/DicFileSet.h"
#include "dict/KeyAlphabet.h"
#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/OpenDictionary.h"
#include "platform/Cp932.h"
#include "platform/Reporter.h"

namespace {

namespace fs = std::filesystem;
using tovix::Direction;

// What a user types for a headword line.
std::string TypedText(std::string_view line, Direction direction) {
    size_t end = line.size();
    if (direction == Direction::Japanese) {
        for (size_t place = 0; place < line.size(); tovix::NextChar(line, place)) {
            if (line[place] == ' ' || line[place] == '[') {
                end = place;
                break;
            }
        }
    }
    while (end > 0 && line[end - 1] == ' ') {
        --end;
    }
    return std::string(line.substr(0, end));
}

// Every distinct headword of the set, in part order.
std::vector<std::string> Headwords(const fs::path& dicFile, Direction direction) {
    std::vector<std::string> words;
    std::set<std::string> seen;
    tovix::LineStoreView view;
    for (int part = 1; part <= tovix::AlphabetSize(direction); ++part) {
        view.LoadFromFile(tovix::PartFileName(dicFile, part));
        for (tovix::ViewLineIndex n(0); n < view.ViewLineCount(); n += 2) {
            std::string word = TypedText(view.ViewLine(n), direction);
            if (!word.empty() && seen.insert(word).second) {
                words.push_back(std::move(word));
            }
        }
    }
    return words;
}

struct Typing {
    bool found = false;
    bool everyPrefix = true;
};

// Types `word` a character at a time into the field, as a keyboard does.
Typing TypeWord(tovix::SearchState& state, tovix::LineStoreView& view, const std::string& word) {
    tovix::bench::SilentReporter reporter;
    Typing typing;
    std::string field;
    tovix::LookupOutcome outcome;
    for (size_t place = 0; place < word.size();) {
        const size_t start = place;
        tovix::NextChar(word, place);
        field += word.substr(start, place - start);
        outcome = tovix::Lookup(state, view, reporter, field);
        field = outcome.fieldText;
        typing.everyPrefix = typing.everyPrefix && outcome.matched;
    }
    typing.found = outcome.matched && field == word;
    return typing;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: TypingReachBench DICT.DIC eng|jpn [MISSES]\n";
        return 2;
    }
    const fs::path dicFile = argv[1];
    const Direction direction =
        std::string(argv[2]) == "jpn" ? Direction::Japanese : Direction::English;
    const int maxMisses = argc > 3 ? std::atoi(argv[3]) : 20;

    tovix::OpenedDictionary opened = tovix::OpenDictionary(dicFile, direction);
    if (!opened.Opened()) {
        std::cerr << opened.message << "\n";
        return 1;
    }
    tovix::SearchState state;
    state.direction = direction;
    state.dicFile = dicFile;
    state.table = std::move(opened.table);

    const auto start = tovix::bench::Clock::now();
    const std::vector<std::string> words = Headwords(dicFile, direction);
    tovix::LineStoreView view;
    long found = 0;
    long everyPrefix = 0;
    std::vector<std::string> misses;
    std::vector<std::string> prefixMisses;
    for (const std::string& word : words) {
        const Typing typing = TypeWord(state, view, word);
        found += typing.found;
        everyPrefix += typing.found && typing.everyPrefix;
        if (!typing.found && static_cast<int>(misses.size()) < maxMisses) {
            misses.push_back(tovix::Cp932ToUtf8(word));
        }
        if (typing.found && !typing.everyPrefix &&
            static_cast<int>(prefixMisses.size()) < maxMisses) {
            prefixMisses.push_back(tovix::Cp932ToUtf8(word));
        }
    }
    const double seconds =
        std::chrono::duration<double>(tovix::bench::Clock::now() - start).count();

    std::cout << std::fixed << std::setprecision(3) << "typed " << words.size() << "\n"
              << "found " << found << "\n"
              << "every_prefix " << everyPrefix << "\n"
              << "found_percent "
              << (words.empty()
                      ? 100.0
                      : 100.0 * static_cast<double>(found) / static_cast<double>(words.size()))
              << "\n"
              << "seconds " << seconds << "\n";
    for (const std::string& miss : misses) {
        std::cout << "miss " << miss << "\n";
    }
    for (const std::string& miss : prefixMisses) {
        std::cout << "prefix_miss " << miss << "\n";
    }
    return 0;
}
