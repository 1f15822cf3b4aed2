// SPDX-License-Identifier: GPL-3.0-or-later
// Base forms of inflected words on the EDICT dictionary file sets.
//
//   DeinflectBench JE.DIC keystroke N   every beginning of N conjugated
//       forms typed as the search field looks them up, with the base forms
//       looked for and without, each text timed three times (fastest
//       counts) after one untimed lookup that reads what it needs.
//   DeinflectBench JE.DIC coverage      the share of the conjugated forms of
//       every EDICT verb and adjective (written and kana) whose base forms
//       hold the word, by class; the forms that are not found are printed.
//   DeinflectBench EJ.DIC english N     the same for N English headwords that
//       WordNet lists as verbs, nouns or adjectives, inflected regularly, and
//       the irregular forms of a list below.
//
// The forms come from bench/Conjugator.cpp, which shares no code with the
// lookup's rules. Prints "name value" lines for bench/run.sh.

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchReporter.h"
#include "Conjugator.h"
#include "components/LightStrings.h"
#include "components/MbString.h"
#include "dict/BaseForms.h"
#include "dict/DicFileSet.h"
#include "dict/KanaText.h"
#include "dict/KeyAlphabet.h"
#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/OpenDictionary.h"
#include "platform/Cp932.h"

namespace {

using tovix::bench::Clock;
using tovix::bench::VerbClass;

struct Word {
    std::u16string reading;
    std::u16string written;
    VerbClass verbClass;
};

// The class of an entry from the marks of its first sense, if it inflects.
std::optional<VerbClass> ClassOf(const std::u16string& translation, const std::u16string& reading) {
    const size_t open = translation.find(u'《');
    const size_t close = translation.find(u'》');
    if (open == std::u16string::npos || close == std::u16string::npos || close < open) {
        return std::nullopt;
    }
    const std::u16string marks = translation.substr(open + 1, close - open - 1);
    const auto has = [&](std::u16string_view label) {
        for (size_t at = 0; at <= marks.size();) {
            const size_t end = std::min(marks.find(u'・', at), marks.size());
            if (std::u16string_view(marks).substr(at, end - at) == label) {
                return true;
            }
            at = end + 1;
        }
        return false;
    };
    if (has(u"一段")) {
        return VerbClass::Ichidan;
    }
    if (has(u"五段")) {
        return VerbClass::Godan;
    }
    if (has(u"カ変")) {
        return VerbClass::Kuru;
    }
    if (has(u"形")) {
        return VerbClass::Adjective;
    }
    if (has(u"する")) {
        return reading.ends_with(u"する") ? VerbClass::Suru : VerbClass::SuruNoun;
    }
    return std::nullopt;
}

std::vector<Word> InflectingWords(const std::filesystem::path& dicFile) {
    std::vector<Word> words;
    for (int part = 1; part <= tovix::AlphabetSize(tovix::Direction::Japanese); ++part) {
        tovix::TLightStrings lines;
        lines.LoadFromFile(tovix::PartFileName(dicFile, part));
        for (int n = 0; n + 1 < lines.Count(); n += 2) {
            const std::u16string head = tovix::Cp932ToUtf16(lines.View(n));
            const size_t open = head.find(u'[');
            const size_t close = head.find(u']');
            if (open == std::u16string::npos || close == std::u16string::npos) {
                continue;
            }
            std::u16string reading = head.substr(0, open);
            while (!reading.empty() && reading.back() == u' ') {
                reading.pop_back();
            }
            const std::u16string written = head.substr(open + 1, close - open - 1);
            if (const auto c = ClassOf(tovix::Cp932ToUtf16(lines.View(n + 1)), reading)) {
                words.push_back({reading, written, *c});
            }
        }
    }
    return words;
}

tovix::SearchState OpenState(const std::filesystem::path& dicFile, tovix::Direction direction) {
    tovix::OpenedDictionary opened = tovix::OpenDictionary(dicFile, direction);
    if (!opened.Opened()) {
        std::cerr << opened.message << "\n";
        std::exit(1);
    }
    tovix::SearchState state;
    state.direction = direction;
    state.dicFile = dicFile;
    state.table = std::move(opened.table);
    state.findBaseForms = true;
    return state;
}

bool FindsBase(tovix::SearchState& state, const std::string& form, const std::string& base) {
    const std::string key = tovix::HeadwordKey(state.direction, base);
    for (const tovix::BaseForm& found : tovix::FindBaseForms(state, form)) {
        if (found.word == key) {
            return true;
        }
    }
    return false;
}

// Share found, by class and by written or kana form.
int Coverage(const std::filesystem::path& dicFile) {
    tovix::SearchState state = OpenState(dicFile, tovix::Direction::Japanese);
    std::map<std::string, std::pair<long, long>> counts;  // found, forms
    std::vector<std::string> misses;
    for (const Word& word : InflectingWords(dicFile)) {
        const bool hasWritten =
            word.written != word.reading && tovix::HoldsKanji(tovix::Utf16ToCp932(word.written));
        for (const bool written : {false, true}) {
            if (written && !hasWritten) {
                continue;
            }
            const std::u16string& base = written ? word.written : word.reading;
            const std::string name = std::string(tovix::bench::ClassName(word.verbClass)) +
                                     (written ? " written" : " kana");
            for (const std::u16string& form : tovix::bench::Conjugate(base, word.verbClass)) {
                const std::string cp932 = tovix::Utf16ToCp932(form);
                const bool found = FindsBase(state, cp932, tovix::Utf16ToCp932(base));
                counts[name].first += found;
                ++counts[name].second;
                if (!found) {
                    misses.push_back(name + " " + tovix::Cp932ToUtf8(cp932) + " -> " +
                                     tovix::Cp932ToUtf8(tovix::Utf16ToCp932(base)));
                }
            }
        }
    }
    std::cout << std::fixed << std::setprecision(2);
    for (const auto& [name, count] : counts) {
        std::cout << "class " << name << " " << count.first << " " << count.second << " "
                  << 100.0 * static_cast<double>(count.first) / static_cast<double>(count.second)
                  << "\n";
    }
    for (const std::string& miss : misses) {
        std::cout << "miss " << miss << "\n";
    }
    return 0;
}

// WordNet's index files list the words of a part of speech, one a line,
// words joined by "_".
std::set<std::string> WordNetIndex(const char* file) {
    std::set<std::string> words;
    std::ifstream in(std::string("/usr/share/wordnet/") + file);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] != ' ') {
            const std::string word = line.substr(0, line.find(' '));
            if (word.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos) {
                words.insert(word);
            }
        }
    }
    return words;
}

int EnglishCoverage(const std::filesystem::path& dicFile, size_t count) {
    tovix::SearchState state = OpenState(dicFile, tovix::Direction::English);
    const std::set<std::string> verbs = WordNetIndex("index.verb");
    const std::set<std::string> adjectives = WordNetIndex("index.adj");
    const std::set<std::string> nouns = WordNetIndex("index.noun");
    std::vector<std::pair<std::string, bool>> words;  // headword, adjective
    for (const std::set<std::string>* kind : {&verbs, &adjectives, &nouns}) {
        std::vector<std::string> picked;
        for (const std::string& w : *kind) {
            if (w.size() >= 3 &&
                state.headwords->Find(dicFile, tovix::Direction::English, nullptr, w)) {
                picked.push_back(w);
            }
        }
        std::shuffle(picked.begin(), picked.end(), std::mt19937(7));
        picked.resize(std::min(picked.size(), count / 3));
        for (const std::string& w : picked) {
            words.emplace_back(w, kind == &adjectives);
        }
    }
    // Irregular forms met every day, with their bases.
    const std::pair<const char*, const char*> irregular[] = {
        {"went", "go"},       {"gone", "go"},
        {"ate", "eat"},       {"eaten", "eat"},
        {"mice", "mouse"},    {"children", "child"},
        {"better", "good"},   {"best", "good"},
        {"worse", "bad"},     {"worst", "bad"},
        {"ran", "run"},       {"bought", "buy"},
        {"thought", "think"}, {"taught", "teach"},
        {"caught", "catch"},  {"saw", "see"},
        {"seen", "see"},      {"took", "take"},
        {"taken", "take"},    {"wrote", "write"},
        {"written", "write"}, {"spoke", "speak"},
        {"men", "man"},       {"women", "woman"},
        {"feet", "foot"},     {"teeth", "tooth"},
        {"geese", "goose"},   {"knives", "knife"},
        {"lives", "life"},    {"analyses", "analysis"},
        {"crises", "crisis"}, {"phenomena", "phenomenon"},
        {"began", "begin"},   {"begun", "begin"},
        {"brought", "bring"}, {"felt", "feel"},
        {"found", "find"},    {"gave", "give"},
        {"knew", "know"},     {"left", "leave"},
        {"made", "make"},     {"met", "meet"},
        {"paid", "pay"},      {"said", "say"},
        {"sold", "sell"},     {"sent", "send"},
        {"stood", "stand"},   {"swam", "swim"},
    };
    long found = 0;
    long total = 0;
    std::vector<std::string> misses;
    const auto check = [&](const std::string& form, const std::string& base) {
        if (!state.headwords->Find(dicFile, tovix::Direction::English, nullptr, base)) {
            return;  // not a headword of this dictionary: nothing to find
        }
        ++total;
        if (FindsBase(state, form, base)) {
            ++found;
        } else {
            misses.push_back(form + " -> " + base);
        }
    };
    for (const auto& [word, adjective] : words) {
        for (const std::string& form : tovix::bench::InflectEnglish(word, adjective)) {
            check(form, word);
        }
    }
    for (const auto& [form, base] : irregular) {
        check(form, base);
    }
    std::cout << std::fixed << std::setprecision(2) << "english " << found << " " << total << " "
              << 100.0 * static_cast<double>(found) / static_cast<double>(total) << "\n";
    for (const std::string& miss : misses) {
        std::cout << "miss " << miss << "\n";
    }
    return 0;
}

// The fastest of three lookups of `text`, in microseconds, after one untimed.
double TimeLookup(tovix::SearchState& state, tovix::LookupView& view, tovix::Reporter& reporter,
                  const std::string& text) {
    tovix::Lookup(state, view, reporter, text);
    double best = 0;
    for (int repeat = 0; repeat < 3; ++repeat) {
        const auto start = Clock::now();
        tovix::Lookup(state, view, reporter, text);
        const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        best = repeat == 0 ? us : std::min(best, us);
    }
    return best;
}

int Keystrokes(const std::filesystem::path& dicFile, size_t count) {
    tovix::SearchState state = OpenState(dicFile, tovix::Direction::Japanese);
    std::vector<std::string> forms;
    for (const Word& word : InflectingWords(dicFile)) {
        for (const std::u16string* base : {&word.reading, &word.written}) {
            for (const std::u16string& form : tovix::bench::Conjugate(*base, word.verbClass)) {
                forms.push_back(tovix::Utf16ToCp932(form));
            }
        }
    }
    std::shuffle(forms.begin(), forms.end(), std::mt19937(11));
    forms.resize(std::min(forms.size(), count));
    tovix::bench::SilentReporter reporter;
    tovix::LineStoreView view;
    std::vector<double> with;
    std::vector<double> without;
    double slowest = -1;
    std::string slowestText;
    for (const std::string& form : forms) {
        for (size_t end = 0; end < form.size();) {
            tovix::NextChar(form, end);
            const std::string text = form.substr(0, end);
            state.findBaseForms = false;
            without.push_back(TimeLookup(state, view, reporter, text));
            state.findBaseForms = true;
            with.push_back(TimeLookup(state, view, reporter, text));
            if (with.back() > slowest) {
                slowest = with.back();
                slowestText = tovix::Cp932ToUtf8(text);
            }
        }
    }
    std::cout << std::fixed << std::setprecision(2) << "forms " << forms.size() << "\n"
              << "keystrokes " << with.size() << "\n"
              << "with_median_us " << tovix::bench::Median(with) << "\n"
              << "with_p99_us " << tovix::bench::Percentile(with, 0.99) << "\n"
              << "with_max_us " << slowest << "\n"
              << "slowest_text " << slowestText << "\n"
              << "plain_median_us " << tovix::bench::Median(without) << "\n"
              << "plain_max_us " << *std::max_element(without.begin(), without.end()) << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc >= 3 ? argv[2] : "";
    const size_t count = argc >= 4 ? static_cast<size_t>(std::stoul(argv[3])) : 2000;
    if (mode == "keystroke") {
        return Keystrokes(argv[1], count);
    }
    if (mode == "coverage") {
        return Coverage(argv[1]);
    }
    if (mode == "english") {
        return EnglishCoverage(argv[1], count);
    }
    std::cerr << "usage: DeinflectBench JE.DIC keystroke N | JE.DIC coverage | EJ.DIC english N\n";
    return 2;
}
