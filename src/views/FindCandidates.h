// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The places where a text may stand in a longer one, found by the text's
// first and last bytes, sixteen places at a time.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tovix {

inline constexpr size_t kNoPlace = std::string_view::npos;

// Finds the places where a text may stand in a longer one by its first and
// last bytes, many places at a time. Without regard to case a letter of the
// text also takes the other case, even where the longer text has a trail
// byte that only looks like a letter, so every place found is a candidate
// that the line test decides.
class Candidates {
  public:
    Candidates(std::string_view text, bool foldCase)
        : size_(text.size()),
          firstMask_(foldCase && IsAsciiLetter(text.front()) ? 0x20 : 0),
          lastMask_(foldCase && IsAsciiLetter(text.back()) ? 0x20 : 0),
          first_(static_cast<char>(text.front() | firstMask_)),
          last_(static_cast<char>(text.back() | lastMask_)) {}

    // The first candidate place in [from, limit); kNoPlace when there is none.
    size_t Next(std::string_view hay, size_t from, size_t limit) const {
        if (hay.size() < size_) {
            return kNoPlace;
        }
        // Places that leave room for the text.
        const size_t end = std::min(limit, hay.size() - size_ + 1);
        size_t i = from;
        const char* data = hay.data();
#if defined(__SSE2__)
        const __m128i first = _mm_set1_epi8(first_);
        const __m128i last = _mm_set1_epi8(last_);
        const __m128i firstMask = _mm_set1_epi8(firstMask_);
        const __m128i lastMask = _mm_set1_epi8(lastMask_);
        for (; i + 16 <= end; i += 16) {
            const __m128i a = _mm_or_si128(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), firstMask);
            const __m128i b = _mm_or_si128(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + size_ - 1)), lastMask);
            const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
            if (bits != 0) {
                return i + static_cast<size_t>(std::countr_zero(bits));
            }
        }
#endif
        for (; i < end; ++i) {
            if ((data[i] | firstMask_) == first_ && (data[i + size_ - 1] | lastMask_) == last_) {
                return i;
            }
        }
        return kNoPlace;
    }

  private:
    static constexpr bool IsAsciiLetter(char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    }

    size_t size_;
    char firstMask_;
    char lastMask_;
    char first_;
    char last_;
};

}  // namespace tovix
