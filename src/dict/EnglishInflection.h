// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// English deinflection: the base forms an inflected English word may come
// from, by the regular rules (walked -> walk, studies -> study, stopped ->
// stop, bigger -> big) and by WordNet's lists of irregular forms (went -> go,
// mice -> mouse, better -> good). Every candidate is only a guess; the caller
// keeps those that are headwords.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tovix {

struct EnglishBase {
    std::string word;         // the base form guessed, lower case
    std::string name;         // CP932, Japanese: "過去"
    std::string_view reason;  // English: "past"
};

// A regular rule: the ending taken off, the ending put on, and whether a
// doubled last consonant is made single (stopped -> stop).
struct EnglishRule {
    std::string_view inflected;
    std::string_view base;
    bool undouble;
    const char* name;  // UTF-8
    std::string_view reason;
};

std::span<const EnglishRule> EnglishRules();

// WordNet's exception lists ("noun.exc", "verb.exc", "adj.exc", "adv.exc"):
// one irregular form a line, then its base forms, words joined by "_".
class EnglishExceptions {
  public:
    // Reads the lists of `folder`; nothing when none of them can be read. A
    // list that cannot be read to its end is left out whole.
    static std::optional<EnglishExceptions> Load(const std::filesystem::path& folder);

    // The bases of an irregular form (lower case), with what the list says
    // of it; empty when it is none.
    std::vector<EnglishBase> Find(std::string_view word) const;
    size_t Count() const { return forms_.size(); }

  private:
    struct Base {
        std::string word;
        size_t list;  // which of the lists
    };
    void AddLine(std::string_view line, size_t list);

    std::unordered_multimap<std::string, Base> forms_;
};

// The lists as the system installs them (the Debian package wordnet-base),
// read at the first call; nothing when they are missing.
const EnglishExceptions* InstalledEnglishExceptions();

// Every base form of `word` (any case), those of the rules first; none
// shorter than two letters. `exceptions` may be null: only the regular rules
// apply then.
std::vector<EnglishBase> EnglishBases(std::string_view word, const EnglishExceptions* exceptions);

}  // namespace tovix
