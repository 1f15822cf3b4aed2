// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base forms of a search text that are headwords of the open dictionary:
// 食べた -> 食べる (past), went -> go. A Japanese-English base counts only when
// the part-of-speech marks of its entries agree with the class the rules give
// it (an entry without marks agrees with any).

#include <string>
#include <string_view>
#include <vector>

#include "dict/SearchState.h"

namespace tovix {

struct BaseForm {
    std::string word;   // CP932, as the headword is filed (katakana as hiragana)
    std::string names;  // CP932, the rules' Japanese names: "使役・受身・過去"
    std::vector<std::string> reasons;  // English: {"causative", "passive", "past"}
};

// Every base form of `text` (CP932, the search text after the romaji
// conversion) that is a headword, nearest first, each word once; none for an
// empty text.
std::vector<BaseForm> FindBaseForms(SearchState& state, std::string_view text);

// The line that tells the user what was found: "食べた → 食べる（過去）", more
// bases after "、"; CP932.
std::string BaseFormLine(std::string_view text, const std::vector<BaseForm>& bases);

// Whether the English lists of irregular forms could be read; without them
// only the regular rules apply.
bool EnglishIrregularFormsMissing();

}  // namespace tovix
