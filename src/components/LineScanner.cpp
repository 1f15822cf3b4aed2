// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/LineScanner.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tovix::detail {
namespace {

// Bit masks of the LF and the CR bytes in 64 bytes of text (bit i for byte i).
struct LineEndMasks {
    std::uint64_t lf;
    std::uint64_t cr;
};

#if defined(__SSE2__)
inline std::uint64_t ByteMask16(const char* bytes, __m128i wanted) {
    const __m128i loaded = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(loaded, wanted)));
}

inline std::uint64_t ByteMask(const char* block, char c) {
    const __m128i wanted = _mm_set1_epi8(c);
    return ByteMask16(block, wanted) | (ByteMask16(block + 16, wanted) << 16) |
           (ByteMask16(block + 32, wanted) << 32) | (ByteMask16(block + 48, wanted) << 48);
}

inline LineEndMasks FindLineEnds(const char* block) {
    return {ByteMask(block, '\n'), ByteMask(block, '\r')};
}
#else
LineEndMasks FindLineEnds(const char* block) {
    LineEndMasks masks{0, 0};
    for (int i = 0; i < 64; ++i) {
        masks.lf |= std::uint64_t{block[i] == '\n'} << i;
        masks.cr |= std::uint64_t{block[i] == '\r'} << i;
    }
    return masks;
}
#endif

}  // namespace

// Splits the 64-byte blocks of text[0, available) that can be split now.
LineScanner::State LineScanner::ScanBlocks(State s, LineRecord*& out, const char* text,
                                           size_t available, bool final) {
    while (s.block + 64 < available || (final && s.block + 64 <= available)) {
        if (s.count + 65 > records_.size()) {
            out = MakeRoom(s.count, s.block);
        }
        const LineEndMasks ends = FindLineEnds(text + s.block);
        const std::uint64_t lfAfter = s.block + 64 < available && text[s.block + 64] == '\n';
        const std::uint64_t crBeforeLf = ((ends.cr << 1) | s.crAtBlockEnd) & ends.lf;
        std::uint64_t stops = ends.lf | (ends.cr & ~((ends.lf >> 1) | (lfAfter << 63)));
        s.crAtBlockEnd = ends.cr >> 63;
        while (stops != 0) {
            const int bit = std::countr_zero(stops);
            stops &= stops - 1;
            const size_t stop = s.block + bit;
            const size_t length = stop - ((crBeforeLf >> bit) & 1) - s.lineStart;
            s.unpackable |= length >> kLengthBits;
            s.longest = std::max(s.longest, length);
            out[s.count++] = Packed(s.lineStart, length);
            s.lineStart = stop + 1;
        }
        s.block += 64;
    }
    return s;
}

// Splits the last, short block one byte at a time and ends the last line.
LineScanner::State LineScanner::ScanTail(State s, LineRecord* out, const char* text,
                                         size_t available) {
    for (; s.block < available; ++s.block) {
        const char c = text[s.block];
        const bool lf = c == '\n';
        if (lf || (c == '\r' && (s.block + 1 == available || text[s.block + 1] != '\n'))) {
            const size_t end = s.block - (lf && s.block > 0 && text[s.block - 1] == '\r');
            s.unpackable |= (end - s.lineStart) >> kLengthBits;
            s.longest = std::max(s.longest, end - s.lineStart);
            out[s.count++] = Packed(s.lineStart, end - s.lineStart);
            s.lineStart = s.block + 1;
        }
    }
    if (s.lineStart < available) {
        s.unpackable |= (available - s.lineStart) >> kLengthBits;
        s.longest = std::max(s.longest, available - s.lineStart);
        out[s.count++] = Packed(s.lineStart, available - s.lineStart);
        s.lineStart = available;
    }
    return s;
}

void LineScanner::Scan(const char* text, size_t available, bool final) {
    State s = state_;
    // Offsets beyond a record's reach: every later line is unpackable.
    s.unpackable |= available >> kOffsetBits;
    LineRecord* out = records_.data();
    s = ScanBlocks(s, out, text, available, final);
    if (final) {
        if (s.count + 65 > records_.size()) {
            out = MakeRoom(s.count, s.block);
        }
        s = ScanTail(s, out, text, available);
    }
    state_ = s;
}

// Grows the records to the count that the density of lines so far projects
// for the whole text, and at least by a quarter.
LineRecord* LineScanner::MakeRoom(size_t count, size_t scanned) {
    size_t wanted = records_.size() + records_.size() / 4 + 64;
    if (scanned > 0 && expectedSize_ > scanned) {
        const double projected = static_cast<double>(count) / static_cast<double>(scanned) *
                                 static_cast<double>(expectedSize_);
        wanted = std::max(wanted, static_cast<size_t>(projected * 1.02) + 64);
    }
    records_.resize(std::max(wanted, count + 65));
    return records_.data();
}

}  // namespace tovix::detail
