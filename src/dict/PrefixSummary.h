// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A coarse index over a view's lines that lets the lookup skip, without
// reading them, runs of lines that cannot begin with the search text.
//
// The lookup compares every second line of a key's range; a key of a large
// dictionary spans tens of thousands of entries. The lines are split by
// parity (headwords and translations alternate) into chunks of kChunkLines,
// and each chunk keeps the smallest and largest of two prefixes of its
// lines, with ASCII letters lower-cased and katakana as hiragana: the first
// eight bytes, and the first eight that are not a hyphen or an apostrophe. A
// line that begins with the text (ASCII case aside, katakana as hiragana as
// the Japanese lookup compares) has prefixes that begin with the text's own, so a
// chunk whose bounds miss either holds no match, whatever the order of its
// lines. The dictionary sorts without hyphens and apostrophes, as the second
// prefix is made, so on a sorted part only the chunks near the match are read
// line by line; the first prefix passes over the runs around a text that
// ends in a hyphen, whose matches lie scattered among the words without one.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tovix {

class PrefixSummary {
  public:
    static constexpr int kChunkLines = 32;

    PrefixSummary() = default;
    // A summary of `count` lines of which no chunk is summarised yet: each
    // chunk is summarised when a search first reaches it, so that a search
    // costs about what a plain scan of the lines it passes costs, once.
    explicit PrefixSummary(int count);

    // The first of the lines from, from + 2, ... up to last for which `test`
    // is true, testing only lines that may begin with `text` with ASCII
    // letters compared without case; -1 when there is none. Line n is
    // lineAt(n), the same lines as the summary was made for.
    template <class LineAt, class Test>
    int FindFirst(int from, int last, std::string_view text, LineAt lineAt, Test test);

  private:
    // The smallest and largest of some prefixes; low > high when empty.
    struct Bounds {
        std::uint64_t low = ~std::uint64_t{0};
        std::uint64_t high = 0;

        void Add(std::uint64_t value) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
        bool Meets(const Bounds& other) const { return low <= other.high && high >= other.low; }
    };

    struct Prefix {
        std::uint64_t value = 0;  // the bytes as a big-endian number, 0 where missing
        size_t size = 0;          // how many bytes it has, 0 .. 8

        // The prefixes that begin with this one.
        Bounds Extensions() const;
    };

    // The prefixes of a text: of its bytes, and of its bytes that are not a
    // hyphen or an apostrophe.
    struct Prefixes {
        Prefix bytes;
        Prefix sorted;
    };

    // A chunk's bounds of each prefix; empty until it is summarised.
    struct Chunk {
        Bounds bytes;
        Bounds sorted;
    };

    static Prefixes PrefixesOf(std::string_view text);
    // Whether the chunk of `line` may hold a line whose prefixes lie within
    // `target`, summarising the chunk first if need be; lines outside the
    // summary always may.
    template <class LineAt>
    bool MayHold(int line, const Chunk& target, LineAt lineAt);
    // The first line from `line` on, of the parity of `line`, outside the
    // summary.
    int FirstUnsummarised(int line) const { return std::max(line, count_ + ((count_ ^ line) & 1)); }

    std::array<std::vector<Chunk>, 2> chunks_;
    int count_ = 0;
};

template <class LineAt, class Test>
int PrefixSummary::FindFirst(int from, int last, std::string_view text, LineAt lineAt, Test test) {
    const Prefixes prefixes = PrefixesOf(text);
    const Chunk target{prefixes.bytes.Extensions(), prefixes.sorted.Extensions()};
    for (int n = from; n <= last;) {
        // The first line of the same parity after the chunk of n.
        const int next = 2 * ((n >> 1) / kChunkLines + 1) * kChunkLines + (n & 1);
        if (MayHold(n, target, lineAt)) {
            for (; n < next && n <= last; n += 2) {
                if (test(n)) {
                    return n;
                }
            }
        } else {
            n = std::min(next, FirstUnsummarised(n));
        }
    }
    return -1;
}

template <class LineAt>
bool PrefixSummary::MayHold(int line, const Chunk& target, LineAt lineAt) {
    if (line < 0 || line >= count_) {
        return true;
    }
    const int parity = line & 1;
    const int chunk = (line >> 1) / kChunkLines;
    Chunk& bounds = chunks_[static_cast<size_t>(parity)][static_cast<size_t>(chunk)];
    if (bounds.bytes.low > bounds.bytes.high) {
        const int first = 2 * chunk * kChunkLines + parity;
        const int end = std::min(count_, first + 2 * kChunkLines);
        for (int n = first; n < end; n += 2) {
            const Prefixes prefixes = PrefixesOf(lineAt(n));
            bounds.bytes.Add(prefixes.bytes.value);
            bounds.sorted.Add(prefixes.sorted.value);
        }
    }
    return bounds.bytes.Meets(target.bytes) && bounds.sorted.Meets(target.sorted);
}

}  // namespace tovix
