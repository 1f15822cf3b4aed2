// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Japanese deinflection: the dictionary forms a text may be an inflected form
// of, found by applying the inflection rules (InflectionRules.h) one after the
// other: 食べさせられなかった -> 食べさせられない -> 食べさせられる -> 食べさせる
// -> 食べる. Every candidate is only a guess; the caller keeps those that are
// headwords of the dictionary with marks that agree with the class.

#include <string>
#include <string_view>
#include <vector>

#include "dict/InflectionRules.h"

namespace tovix {

struct Deinflection {
    std::string word;  // CP932, the dictionary form guessed
    // The classes it would have (one or more of word_class::kDictionary).
    WordClasses classes = 0;
    // The rules applied, the one that took off the last ending first.
    std::vector<const InflectionRule*> rules;
};

// Every dictionary form the text (CP932, hiragana, katakana or kanji with
// kana endings) can be reached from, nearest first; the text itself is not
// among them. Katakana endings count as hiragana (タベタ -> たべる).
std::vector<Deinflection> Deinflect(std::string_view text);

// The Japanese names of the rules, base form first, joined by "・"
// ("使役・受身・過去"), CP932; the English reasons likewise in a list.
std::string RuleNames(const std::vector<const InflectionRule*>& rules);
std::vector<std::string> RuleReasons(const std::vector<const InflectionRule*>& rules);

}  // namespace tovix
