#pragma once
// A coarse index over a view's lines that lets the lookup skip, without
// reading them, runs of lines that cannot begin with the search text.
//
// The lookup compares every second line of a key's range; a key of a large
// dictionary spans tens of thousands of entries. The lines are split by
// parity (headwords and translations alternate) into chunks of kChunkLines,
// and each chunk keeps the smallest and largest of its lines' first eight
// bytes with ASCII letters lower-cased. A line that begins with the text
// (ASCII case aside) has its first bytes within the text's bounds, so a chunk
// whose bounds miss them holds no match, whatever the order of its lines.
// On a sorted part only the chunks near the match are read line by line.

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

    // Summarises `count` lines, line n being lineAt(n).
    template <class LineAt>
    PrefixSummary(int count, LineAt lineAt);

    // The first of the lines from, from + 2, ... up to last for which `test`
    // is true, testing only lines that may begin with `text` with ASCII
    // letters compared without case; -1 when there is none.
    template <class Test>
    int FindFirst(int from, int last, std::string_view text, Test test) const;

  private:
    struct Bounds {
        std::uint64_t low = ~std::uint64_t{0};
        std::uint64_t high = 0;
    };

    // The first eight bytes of `text`, ASCII letters lower-cased, as a
    // big-endian number; missing bytes count as 0.
    static std::uint64_t Prefix(std::string_view text);
    void Add(int line, std::string_view text);
    // Whether the chunk of `line` may hold a line whose prefix lies within
    // low .. high; lines that were not summarised always may.
    bool MayHold(int line, std::uint64_t low, std::uint64_t high) const;
    // The first line from `line` on, of the parity of `line`, that was not
    // summarised.
    int FirstUnsummarised(int line) const { return std::max(line, count_ + ((count_ ^ line) & 1)); }

    std::array<std::vector<Bounds>, 2> chunks_;
    int count_ = 0;
};

template <class LineAt>
PrefixSummary::PrefixSummary(int count, LineAt lineAt) : count_(count) {
    for (int n = 0; n < count; ++n) {
        Add(n, lineAt(n));
    }
}

template <class Test>
int PrefixSummary::FindFirst(int from, int last, std::string_view text, Test test) const {
    const size_t known = std::min<size_t>(text.size(), 8);
    const std::uint64_t low = Prefix(text.substr(0, known));
    const std::uint64_t high =
        known == 0 ? ~std::uint64_t{0} : low | (~std::uint64_t{0} >> (8 * known));
    for (int n = from; n <= last;) {
        // The first line of the same parity after the chunk of n.
        const int next = 2 * ((n >> 1) / kChunkLines + 1) * kChunkLines + (n & 1);
        if (MayHold(n, low, high)) {
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

}  // namespace tovix
