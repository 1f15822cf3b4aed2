#pragma once
// The romaji table of the search field: typed romaji syllables and the
// hiragana they become. Keys are lower-case ASCII letters or "-"; the kana are
// CP932 bytes. The table holds the base syllables and, for every base
// syllable that begins with a consonant (but not lsu or nn), the syllable with
// its consonant doubled, which gives a small っ in front (kka -> っか).

#include <string>
#include <string_view>
#include <vector>

namespace tovix {

struct RomajiPair {
    std::string key;
    std::string kana;
};

// The whole table, sorted by key; built on first use and kept for the run.
const std::vector<RomajiPair>& RomajiTable();

// The kana of the key that equals `text` exactly (byte for byte, so upper-case
// letters match nothing); empty when no key equals it. The result lives as
// long as the program.
std::string_view RomajiToKana(std::string_view text);

}  // namespace tovix
