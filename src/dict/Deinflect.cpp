// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/Deinflect.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "components/MbString.h"
#include "dict/KanaText.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

// More rules than this are never chained; real chains take five or six
// (見させられなかった takes four).
constexpr size_t kMaxChain = 8;

// Whether `text` ends with `ending` on a character boundary, so that an
// ending is never matched from a trail byte.
bool EndsWithChars(std::string_view text, std::string_view ending) {
    if (ending.size() > text.size() || !text.ends_with(ending)) {
        return false;
    }
    const size_t start = text.size() - ending.size();
    size_t place = 0;
    while (place < start) {
        NextChar(text, place);
    }
    return place == start;
}

// The last character of a non-empty text.
std::string_view LastChar(std::string_view text) {
    size_t last = 0;
    for (size_t place = 0; place < text.size(); NextChar(text, place)) {
        last = place;
    }
    return text.substr(last);
}

// The rules by the last character of their inflected ending, each list in the
// table's order: a form is tried only against the rules that can end it.
const std::vector<const InflectionRule*>& RulesEnding(std::string_view text) {
    static const auto byLast = [] {
        std::unordered_map<std::string, std::vector<const InflectionRule*>> rules;
        for (const InflectionRule& rule : InflectionRules()) {
            rules[std::string(LastChar(rule.inflected))].push_back(&rule);
        }
        return rules;
    }();
    static const std::vector<const InflectionRule*> none;
    const auto found = text.empty() ? byLast.end() : byLast.find(std::string(LastChar(text)));
    return found == byLast.end() ? none : found->second;
}

bool Seen(const std::vector<Deinflection>& found, const std::string& word, WordClasses classes) {
    return std::any_of(found.begin(), found.end(), [&](const Deinflection& d) {
        return d.classes == classes && d.word == word;
    });
}

}  // namespace

std::vector<Deinflection> Deinflect(std::string_view text) {
    std::vector<Deinflection> all{{KataToHira(text), 0, {}}};
    for (size_t next = 0; next < all.size(); ++next) {
        if (all[next].rules.size() >= kMaxChain) {
            continue;
        }
        for (const InflectionRule* candidate : RulesEnding(all[next].word)) {
            const InflectionRule& rule = *candidate;
            const Deinflection& form = all[next];
            if ((form.classes != 0 && (form.classes & rule.required) == 0) ||
                !EndsWithChars(form.word, rule.inflected)) {
                continue;
            }
            std::string word = form.word.substr(0, form.word.size() - rule.inflected.size());
            word += rule.base;
            if (word.empty() || Seen(all, word, rule.result)) {
                continue;
            }
            std::vector<const InflectionRule*> rules = form.rules;
            rules.push_back(&rule);
            all.push_back({std::move(word), rule.result, std::move(rules)});
        }
    }
    std::vector<Deinflection> bases;
    for (Deinflection& d : all) {
        if ((d.classes & word_class::kDictionary) != 0) {
            bases.push_back(std::move(d));
        }
    }
    return bases;
}

std::string RuleNames(const std::vector<const InflectionRule*>& rules) {
    std::string names;
    for (auto rule = rules.rbegin(); rule != rules.rend(); ++rule) {
        if (!(*rule)->name.empty()) {
            names += (names.empty() ? "" : TOVIX_CP932("・")) + (*rule)->name;
        }
    }
    return names;
}

std::vector<std::string> RuleReasons(const std::vector<const InflectionRule*>& rules) {
    std::vector<std::string> reasons;
    for (auto rule = rules.rbegin(); rule != rules.rend(); ++rule) {
        if (!(*rule)->reason.empty()) {
            reasons.emplace_back((*rule)->reason);
        }
    }
    return reasons;
}

}  // namespace tovix
