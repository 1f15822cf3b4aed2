// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/MbString.h"

#include <unicode/uchar.h>

#include <cstdint>
#include <cstring>
#include <optional>

#include "components/CharBoundary.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

size_t CharWidth(std::string_view text, size_t place) {
    return IsDoubleByteChar(text, place) ? 2 : 1;
}

// The double-byte character at `place` with its case changed through Unicode
// (full-width, Greek and Cyrillic letters); written back only when the result
// is again one double-byte character.
void ChangeDoubleByteCase(std::string& text, size_t place, bool upper) {
    std::u16string u = Cp932ToUtf16(std::string_view(text).substr(place, 2));
    if (u.size() != 1) {
        return;
    }
    UChar32 c = upper ? u_toupper(u[0]) : u_tolower(u[0]);
    if (c == u[0] || c > 0xFFFF) {
        return;
    }
    std::string changed = Utf16ToCp932(std::u16string(1, static_cast<char16_t>(c)));
    if (changed.size() == 2 && IsLeadByte(changed[0])) {
        text.replace(place, 2, changed);
    }
}

// True when none of the eight bytes at `place` has its high bit set: eight
// one-byte characters.
bool EightAsciiBytes(std::string_view text, size_t place) {
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, text.data() + place, sizeof bytes);
    return (bytes & 0x8080808080808080u) == 0;
}

// Walks from the character boundary `boundary` over whole characters until
// `target` is reached or stepped over, counting them; plain ASCII goes eight
// bytes at a time, so long lines cost little.
void WalkTo(std::string_view text, size_t target, size_t& boundary, size_t& chars) {
    while (boundary < target) {
        if (target - boundary >= 8 && EightAsciiBytes(text, boundary)) {
            boundary += 8;
            chars += 8;
        } else {
            boundary += CharWidth(text, boundary);
            ++chars;
        }
    }
}

// Finds the first occurrence of `pattern` that starts on a character boundary:
// its 0-based byte offset and the number of characters before it.
struct BoundaryMatch {
    size_t offset;
    size_t charsBefore;
};

std::optional<BoundaryMatch> FindAtBoundary(std::string_view pattern, std::string_view text) {
    if (pattern.empty() || text.empty()) {
        return std::nullopt;
    }
    size_t boundary = 0;
    size_t chars = 0;
    size_t from = 0;
    while (true) {
        const size_t candidate = text.find(pattern, from);
        if (candidate == std::string_view::npos) {
            return std::nullopt;
        }
        WalkTo(text, candidate, boundary, chars);
        if (boundary == candidate) {
            return BoundaryMatch{candidate, chars};
        }
        from = boundary;
    }
}

// The byte offset of the first occurrence of `pattern` that starts on a
// character boundary, or npos.
size_t FindOffsetAtBoundary(std::string_view pattern, std::string_view text) {
    if (pattern.empty()) {
        return std::string_view::npos;
    }
    // A one-byte pattern (the separators TAB, "[" and "]") is looked for as a
    // byte, which skips the comparison of a one-byte string at every hit.
    const auto find = [&](size_t from) {
        return pattern.size() == 1 ? text.find(pattern[0], from) : text.find(pattern, from);
    };
    size_t known = 0;
    for (size_t candidate = find(0); candidate != std::string_view::npos; candidate = find(known)) {
        if (IsCharBoundary(text, known, candidate)) {
            return candidate;
        }
        // The candidate is the trail byte of a character.
        known = candidate + 1;
    }
    return std::string_view::npos;
}

std::string_view UpToNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace

size_t BoundaryAtOrAfter(std::string_view text, size_t boundary, size_t target) {
    size_t chars = 0;
    WalkTo(text, target, boundary, chars);
    return boundary;
}

bool IsDoubleByteChar(std::string_view text, size_t place) {
    return place + 1 < text.size() && IsLeadByte(text[place]) && text[place + 1] != '\0';
}

size_t NextChar(std::string_view text, size_t& place) {
    if (place >= text.size()) {
        return 0;
    }
    const size_t width = CharWidth(text, place);
    place += width;
    return width;
}

int CompareChar(std::string_view a, size_t& placeA, std::string_view b, size_t& placeB) {
    bool bothDouble = IsDoubleByteChar(a, placeA) && IsDoubleByteChar(b, placeB);
    size_t width = bothDouble ? 2 : 1;
    int result = a.substr(placeA, width).compare(b.substr(placeB, width));
    if (result == 0) {
        placeA += width;
        placeB += width;
    }
    return result;
}

bool StartsWithText(std::string_view text, size_t place, std::string_view pattern) {
    if (place >= text.size() || pattern.empty() || text[place] != pattern[0]) {
        return false;
    }
    size_t p = 0;
    while (place < text.size() && p < pattern.size()) {
        if (CompareChar(text, place, pattern, p) != 0) {
            return false;
        }
    }
    return p == pattern.size();
}

size_t ChangeCharCase(std::string& text, size_t& place, bool upper, bool doubleByte) {
    if (place >= text.size()) {
        return 0;
    }
    if (IsDoubleByteChar(text, place)) {
        if (doubleByte) {
            ChangeDoubleByteCase(text, place, upper);
        }
        place += 2;
        return 2;
    }
    text[place] = upper ? AsciiUpper(text[place]) : AsciiLower(text[place]);
    place += 1;
    return 1;
}

size_t CountCharBytes(size_t& bytes, std::string_view text, size_t n) {
    size_t count = 0;
    size_t place = 0;
    if (n == 0) {
        WalkTo(text, text.size(), place, count);
    }
    while (count < n && place < text.size()) {
        NextChar(text, place);
        ++count;
    }
    bytes = place;
    return count;
}

std::string MbCopy(std::string_view text, CharIndex i, size_t n) {
    if (text.empty() || n == 0) {
        return {};
    }
    size_t place = 0;
    for (size_t c = 1; c < i.value; ++c) {
        if (NextChar(text, place) == 0) {
            return {};
        }
    }
    const size_t start = place;
    for (size_t c = 0; c < n && NextChar(text, place) != 0; ++c) {
    }
    return std::string(text.substr(start, place - start));
}

size_t MbLength(std::string_view text) {
    size_t bytes = 0;
    return CountCharBytes(bytes, text, 0);
}

size_t MbCharCount(const char* text) {
    return text == nullptr ? 0 : MbLength(text);
}

std::string MbLowerCase(std::string_view text) {
    std::string out(text);
    for (size_t place = 0; place < out.size();) {
        if (IsDoubleByteChar(out, place)) {
            place += 2;
        } else {
            out[place] = AsciiLower(out[place]);
            place += 1;
        }
    }
    return out;
}

std::string& MbChangeCase(std::string& text, bool doubleByte) {
    size_t end = UpToNul(text).size();
    for (size_t place = 0; place < end;) {
        ChangeCharCase(text, place, false, doubleByte);
    }
    return text;
}

CharIndex MbPos(std::string_view pattern, std::string_view text) {
    const std::optional<BoundaryMatch> match = FindAtBoundary(pattern, text);
    return match ? CharIndex(match->charsBefore + 1) : CharIndex();
}

ByteColumn MbPosEnd(std::string_view pattern, std::string_view text) {
    const size_t offset = FindOffsetAtBoundary(pattern, text);
    if (offset == std::string_view::npos) {
        return ByteColumn();
    }
    // The column of the matched first character's last byte.
    return ByteColumn::OfOffset(offset + CharWidth(text, offset) - 1);
}

size_t MbFind(std::string_view pattern, std::string_view text) {
    return FindOffsetAtBoundary(pattern, text);
}

bool HasDoubleByte(std::string_view text) {
    std::string_view t = UpToNul(text);
    for (size_t place = 0; place < t.size();) {
        if (IsDoubleByteChar(t, place)) {
            return true;
        }
        place += 1;
    }
    return false;
}

}  // namespace tovix
