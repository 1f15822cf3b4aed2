// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The kinds of places in the program's text, each a type of its own so that
// one is never passed where another is meant:
//
//   ByteColumn     1-based byte position in a line (column c stands before
//                  byte c); 0 means none. A byte's 0-based offset, as
//                  std::string_view counts, is its column less one.
//   CharIndex      1-based character position in a text; 0 means none.
//   TextLineIndex  0-based line of a line store (a text line).
//   ViewLineIndex  0-based display row of a text view (a view line); a text
//                  line may take several.
//   LineCount      how many lines there are: a count, not a place. Index i
//                  is one of n lines when i < n; the last is n.Last().
//
// Each holds its number in `value` and is made from a number only explicitly.
// Columns and character positions are size_t, as large as a line can be.

#include <compare>
#include <cstddef>
#include <ostream>

namespace tovix {

template <class Tag, class Rep>
struct StrongIndex {
    Rep value{};

    constexpr StrongIndex() = default;
    constexpr explicit StrongIndex(Rep v) : value(v) {}

    friend constexpr auto operator<=>(const StrongIndex&, const StrongIndex&) = default;
    friend constexpr StrongIndex operator+(StrongIndex a, Rep n) {
        return StrongIndex(a.value + n);
    }
    friend constexpr StrongIndex operator-(StrongIndex a, Rep n) {
        return StrongIndex(a.value - n);
    }
    // How many places a lies after b.
    friend constexpr Rep operator-(StrongIndex a, StrongIndex b) { return a.value - b.value; }
    constexpr StrongIndex& operator++() {
        ++value;
        return *this;
    }
    constexpr StrongIndex& operator--() {
        --value;
        return *this;
    }
    constexpr StrongIndex& operator+=(Rep n) {
        value += n;
        return *this;
    }
    constexpr StrongIndex& operator-=(Rep n) {
        value -= n;
        return *this;
    }
    friend std::ostream& operator<<(std::ostream& out, StrongIndex i) { return out << i.value; }
};

struct ByteColumnTag;
struct CharIndexTag;
struct TextLineTag;
struct ViewLineTag;

class ByteColumn : public StrongIndex<ByteColumnTag, size_t> {
  public:
    using StrongIndex::StrongIndex;
    constexpr ByteColumn(StrongIndex s) : StrongIndex(s) {}

    // The column of the byte at 0-based `offset`.
    static constexpr ByteColumn OfOffset(size_t offset) { return ByteColumn(offset + 1); }
    // The 0-based offset of the byte at this column (not for column 0).
    constexpr size_t Offset() const { return value - 1; }
    // False for column 0: no place, not found.
    constexpr explicit operator bool() const { return value != 0; }
};

class CharIndex : public StrongIndex<CharIndexTag, size_t> {
  public:
    using StrongIndex::StrongIndex;
    constexpr CharIndex(StrongIndex s) : StrongIndex(s) {}

    constexpr explicit operator bool() const { return value != 0; }
};

using TextLineIndex = StrongIndex<TextLineTag, int>;
using ViewLineIndex = StrongIndex<ViewLineTag, int>;

struct LineCount {
    int value = 0;

    constexpr LineCount() = default;
    constexpr explicit LineCount(int n) : value(n) {}

    friend constexpr auto operator<=>(const LineCount&, const LineCount&) = default;
    constexpr bool Empty() const { return value <= 0; }
    // The last of the lines (not for an empty count), as an index of `Index`.
    template <class Index>
    constexpr Index Last() const {
        return Index(value - 1);
    }
    friend std::ostream& operator<<(std::ostream& out, LineCount n) { return out << n.value; }
};

// Whether line i is one of n lines.
template <class Tag>
constexpr bool operator<(StrongIndex<Tag, int> i, LineCount n) {
    return i.value < n.value;
}

}  // namespace tovix
