// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The first line-end byte (CR or LF) of a stretch of text, for the readers
// that split a file into lines one line at a time. Both bytes are looked for
// in one pass, 16 bytes at a time: dictionary lines are short, and two
// memchr calls a line (one for each byte) cost more than the line itself.

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tovix {

// The first CR or LF in [from, to), or nullptr.
inline const char* FindLineEnd(const char* from, const char* to) {
    const char* p = from;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (; to - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)));
        if (mask != 0) {
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        }
    }
#endif
    for (; p < to; ++p) {
        if (*p == '\n' || *p == '\r') {
            return p;
        }
    }
    return nullptr;
}

}  // namespace tovix
