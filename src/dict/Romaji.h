// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The romaji table of the search field: typed romaji syllables and the
// hiragana they become. Keys are lower-case ASCII letters or "-"; the kana are
// CP932 bytes. The table holds the base syllables and, for every base
// syllable that begins with a consonant (but not lsu or nn), the syllable with
// its consonant doubled, which gives a small っ in front (kka -> っか).

#include <optional>
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

// True when some key is longer than `text` and begins with it: the letters
// typed so far may still become a syllable (k, ky, ss).
bool BeginsRomajiKey(std::string_view text);

// The input-method n of the search field (an option): a romaji tail that
// begins with n followed by a consonant other than n or y, or by an
// apostrophe, becomes ん and the rest of the tail (nb -> ん b, n' -> ん);
// nn waits for the next letter, as input methods do: a vowel or y makes
// ん and the n syllable (nni -> んに, so konnichiha gives こんにちは), anything
// else ん and that letter. Nothing when the tail is none of these (na, ny,
// nn, or no n first); then the table alone decides.
std::optional<std::string> ImeStyleN(std::string_view tail);

}  // namespace tovix
