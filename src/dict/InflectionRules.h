// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Japanese inflection rules: each turns an inflected ending back into a
// dictionary ending (食べた: た -> る). A rule applies to a form of the class
// it requires (or to the text as typed, whatever it is) and gives a form of
// the class it names, so that rules chain: 食べなかった -> 食べない (形) ->
// 食べる (一段).

#include <span>
#include <string>
#include <string_view>

#include "dict/WordClass.h"

namespace tovix {

struct InflectionRule {
    std::string inflected;  // CP932, the ending as met: "かった"
    std::string base;       // CP932, the ending it replaces it with: "い"
    // The class the inflected form belongs to (0: a final form, which only the
    // text as typed can be); the rule applies to a form of one of these.
    WordClasses required = 0;
    WordClasses result = 0;   // the class of the form it gives
    std::string name;         // CP932, Japanese: "過去"; empty for a passing step
    std::string_view reason;  // English: "past"
};

// Every rule, the rows of the table with the godan rows spelled out; made at
// the first call.
std::span<const InflectionRule> InflectionRules();

}  // namespace tovix
