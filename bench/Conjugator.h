// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Japanese and an English conjugator for the deinflection benchmark: they
// make the inflected forms that the lookup's deinflection must trace back.
// Written apart from the lookup's rules (on UTF-16 text, by vowel rows), so
// that a fault in those rules is not repeated here.

#include <string>
#include <vector>

namespace tovix::bench {

enum class VerbClass { Ichidan, Godan, Suru, SuruNoun, Kuru, Adjective };

const char* ClassName(VerbClass c);

// The inflected forms of a dictionary form of the class: past, polite,
// negative, て, ている, potential, passive, causative, volitional ... Empty
// when the word does not end as its class must.
std::vector<std::u16string> Conjugate(const std::u16string& word, VerbClass c);

// Regular English inflections of a word (plural or third person, past,
// -ing; with `adjective` also -er and -est).
std::vector<std::string> InflectEnglish(const std::string& word, bool adjective);

}  // namespace tovix::bench
