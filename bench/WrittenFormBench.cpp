// SPDX-License-Identifier: GPL-3.0-or-later
// The lookup of texts that hold a kanji, by written form, on a
// Japanese-English dictionary file set with its written-form file.
//
//   WrittenFormBench DICT.DIC
//
// Every beginning of every written form that holds a kanji (each distinct
// text once) is looked up as the search field looks up its text, with the
// part file it finds already loaded, as for the keystrokes of LookupBench;
// each is timed three times and the fastest counts. Reading the written-form
// file, which the first kanji typed after opening a dictionary does, is
// timed on its own.
//
// Prints "name value" lines for bench/run.sh: texts, matched,
// keystroke_median_us, keystroke_p99_us, keystroke_max_us, slowest_text
// (UTF-8), file_lines, file_read_ms.

#include <chrono>
#include <iomanip>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchReporter.h"
#include "components/MbString.h"
#include "dict/DicFileSet.h"
#include "dict/KanaText.h"
#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/OpenDictionary.h"
#include "dict/WrittenForms.h"
#include "platform/Cp932.h"

namespace {

using tovix::bench::Clock;

// The distinct beginnings that hold a kanji of every written form, by the
// part in which the search finds them.
std::map<int, std::vector<std::string>> TextsByPart(tovix::WrittenFormIndex& index) {
    std::set<std::string> texts;
    for (int i = 0; i < index.Count(); ++i) {
        const std::string_view written = index.Entry(i).forms.written;
        for (size_t end = 0; end < written.size();) {
            tovix::NextChar(written, end);
            const std::string_view text = written.substr(0, end);
            if (tovix::HoldsKanji(text)) {
                texts.emplace(text);
            }
        }
    }
    std::map<int, std::vector<std::string>> byPart;
    for (const std::string& text : texts) {
        if (const auto entry = index.Find(text)) {
            byPart[entry->part].push_back(text);
        }
    }
    return byPart;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: WrittenFormBench DICT.DIC\n";
        return 2;
    }
    const std::filesystem::path dicFile = argv[1];
    tovix::OpenedDictionary opened = tovix::OpenDictionary(dicFile, tovix::Direction::Japanese);
    if (!opened.Opened()) {
        std::cerr << opened.message << "\n";
        return 1;
    }
    tovix::SearchState state;
    state.direction = tovix::Direction::Japanese;
    state.dicFile = dicFile;
    state.table = std::move(opened.table);
    tovix::WrittenFormIndex* index = nullptr;
    const double readMs = tovix::bench::Milliseconds(
        [&] { index = state.writtenForms->Get(tovix::WrittenFormFileName(dicFile)); });
    if (index == nullptr) {
        std::cerr << "no written-form file\n";
        return 1;
    }

    tovix::bench::SilentReporter reporter;
    tovix::LineStoreView view;
    std::vector<double> micros;
    long matched = 0;
    double slowest = -1;
    std::string slowestText;
    for (const auto& [part, texts] : TextsByPart(*index)) {
        view.LoadFromFile(tovix::PartFileName(dicFile, part));
        state.currentPart = state.currentPartCopy = part;
        for (const std::string& text : texts) {
            double us = 0;
            tovix::LookupOutcome outcome;
            for (int repeat = 0; repeat < 3; ++repeat) {
                const auto start = Clock::now();
                outcome = tovix::Lookup(state, view, reporter, text);
                const double elapsed =
                    std::chrono::duration<double, std::micro>(Clock::now() - start).count();
                us = repeat == 0 ? elapsed : std::min(us, elapsed);
            }
            micros.push_back(us);
            matched += outcome.matched;
            if (us > slowest) {
                slowest = us;
                slowestText = tovix::Cp932ToUtf8(text);
            }
        }
    }

    std::cout << std::fixed << std::setprecision(2) << "texts " << micros.size() << "\n"
              << "matched " << matched << "\n"
              << "keystroke_median_us " << tovix::bench::Median(micros) << "\n"
              << "keystroke_p99_us " << tovix::bench::Percentile(micros, 0.99) << "\n"
              << "keystroke_max_us " << slowest << "\n"
              << "slowest_text " << slowestText << "\n"
              << "file_lines " << index->Count() << "\n"
              << "file_read_ms " << readMs << "\n";
    return 0;
}
