#pragma once
// The dictionary collation: the order in which the tools sort whole entry lines
// and entry editing finds an entry's place.
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
// Lines that compare equal under these rules are ordered by their bytes, so
// the order is total and every sort is deterministic.
// Lines are CP932 byte strings. An instance keeps scratch buffers: use one per
// thread.

#include <memory>
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

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tovix
