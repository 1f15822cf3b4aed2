// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dictionary collation: the order in which the tools sort entry lines and
// entry editing finds an entry's place. A line is its headword (the text
// before its first TAB, or the whole line without one) and the rest; lines
// are ordered by their headwords first, with every level of the collation and
// then their bytes, so that the entries of one headword stand together, and
// only then by the rest.
//
// Built on ICU's Japanese collation with these properties:
// - letters compare without regard to case (and width, and hiragana/katakana);
// - hyphens and apostrophes are ignored, so "e-mail" sorts among the words
//   beginning with "em" and "co-op" beside "coop";
// - blanks and TABs are not ignored and sort before letters, so a headword
//   sorts before its longer continuations ("a bit" before "aardvark");
// - digits and signs sort before "a", kana and kanji after "z";
// - kana follow the order あいうえお..., a voiced or semi-voiced kana counting
//   as its plain kana at the first level.
// Headwords (and rests) that compare equal under these rules are ordered by
// their bytes, so the order is total and every sort is deterministic.
// Lines are CP932 byte strings. An instance keeps scratch buffers: use one per
// thread. The first instance builds shared tables (a few milliseconds); the
// others are cheap to make.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace tovix {

class Collation {
  public:
    Collation();
    ~Collation();
    Collation(const Collation&) = delete;
    Collation& operator=(const Collation&) = delete;

    // <0, 0 or >0. Zero only for byte-identical lines.
    int Compare(std::string_view a, std::string_view b);

    // Appends to `key` a byte string whose plain byte order (memcmp) is the
    // order of Compare. Sorting precomputed keys is far faster than calling
    // Compare inside the sort.
    void AppendSortKey(std::string_view line, std::string& key);
    std::string SortKey(std::string_view line);

    // Sorts `order`, indexes into `lines`, into the order of Compare of the
    // lines they name (identical lines by their indexes). For a few lines at
    // a time, such as those whose headword keys tie, this is far cheaper
    // than their sort keys: each line is decoded once, and a comparison stops
    // where the lines first differ instead of reading both to their ends.
    void SortIndexes(std::span<const std::string_view> lines, std::span<std::uint32_t> order);

    // Appends to `key` the first-level key of the line's headword: the text
    // before its first TAB, or the whole line when it has none. It orders
    // lines in part, at a fraction of the cost of the sort key, as only the
    // headword's letters are read: when the headword keys of two lines
    // differ, the line with the smaller key (plain byte order) comes first
    // under Compare; when they are equal, nothing is decided. A headword key
    // ends with its only zero byte.
    void AppendHeadwordKey(std::string_view line, std::string& key);
    // As AppendHeadwordKey, but may stop once it has appended `size` bytes of
    // the key, which is cheaper for long headwords: what it appends is the
    // whole key or a beginning of it at least `size` bytes long. The first
    // `size` bytes of such keys order lines as the whole keys do, as far as
    // they go.
    void AppendHeadwordKeyPrefix(std::string_view line, size_t size, std::string& key);

    // As AppendHeadwordKeyPrefix, for the whole text, TABs and all: when
    // the first `size` bytes of the keys of two texts differ, the text with
    // the smaller key comes first in the collation of whole texts (as the
    // rests of two lines are collated after their headwords).
    void AppendTextKeyPrefix(std::string_view text, size_t size, std::string& key);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tovix
