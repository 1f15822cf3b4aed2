// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small value types of the text view: view-line records, positions, the
// window styles, the scroll-bar choice and the scroll commands.

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "components/Positions.h"

namespace tovix {

// One display row: the Len bytes of text line Line from column Start. An
// empty text line has one view line with Start 0 and Len 0.
struct TViewLineRec {
    TextLineIndex Line;
    ByteColumn Start;
    size_t Len = 0;
    int Part = 0;         // 0 for the first view line of its text line, then 1, 2, ...
    bool LineEnd = true;  // the last view line of its text line

    bool operator==(const TViewLineRec&) const = default;
};

// A place in the view: Column stands before byte Column of view line Line
// (Len + 1 is its end); (0, 0) means no place (an empty view).
struct TViewPos {
    ByteColumn Column;
    ViewLineIndex Line;

    bool operator==(const TViewPos&) const = default;
};

// A place in the text: Column stands before byte Column of text line Line.
struct TTextPos {
    ByteColumn Column;
    TextLineIndex Line;

    bool operator==(const TTextPos&) const = default;
};

// True when a comes before b (by line, then column).
constexpr bool Before(TViewPos a, TViewPos b) {
    return a.Line < b.Line || (a.Line == b.Line && a.Column < b.Column);
}

enum class TBvStyles : std::uint8_t {
    bvCaption,
    bvVResize,
    bvHResize,
    bvMove,
    bvClientLow,
    bvDblFrame
};

// A set of window styles; bit 0 is bvCaption ... bit 5 bvDblFrame.
class TBvStyle {
  public:
    constexpr TBvStyle() = default;
    constexpr TBvStyle(std::initializer_list<TBvStyles> styles) {
        for (TBvStyles s : styles) {
            bits_ |= Bit(s);
        }
    }

    constexpr bool Has(TBvStyles s) const { return (bits_ & Bit(s)) != 0; }
    constexpr TBvStyle With(TBvStyles s) const { return FromBits(bits_ | Bit(s)); }
    constexpr TBvStyle Without(TBvStyles s) const {
        return FromBits(static_cast<std::uint8_t>(bits_ & ~Bit(s)));
    }
    static constexpr TBvStyle FromBits(std::uint8_t bits) {
        TBvStyle style;
        style.bits_ = static_cast<std::uint8_t>(bits & 0x3F);
        return style;
    }

    constexpr bool operator==(const TBvStyle&) const = default;

  private:
    static constexpr std::uint8_t Bit(TBvStyles s) {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(s));
    }

    std::uint8_t bits_ = 0;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

constexpr bool HasVertical(TScrollStyle s) {
    return s == TScrollStyle::ssVertical || s == TScrollStyle::ssBoth;
}
constexpr bool HasHorizontal(TScrollStyle s) {
    return s == TScrollStyle::ssHorizontal || s == TScrollStyle::ssBoth;
}

// Scroll commands, numbered as the scroll-bar codes they stand for.
enum ScrollCode : int {
    LineUp = 0,  // also column left
    LineDown = 1,
    PageUp = 2,
    PageDown = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    ToTop = 6,  // also leftmost
    ToBottom = 7,
    EndScroll = 8,
};

}  // namespace tovix
