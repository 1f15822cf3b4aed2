#include "components/MbString.h"

#include <unicode/uchar.h>

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

// Finds the first occurrence of `pattern` that starts on a character boundary.
// Returns false when there is none; otherwise the 0-based byte offset of the
// match and the number of characters before it.
bool FindAtBoundary(std::string_view pattern, std::string_view text, size_t& offset,
                    int& charsBefore) {
    if (pattern.empty() || text.empty()) {
        return false;
    }
    size_t boundary = 0;
    int chars = 0;
    size_t from = 0;
    while (true) {
        size_t candidate = text.find(pattern, from);
        if (candidate == std::string_view::npos) {
            return false;
        }
        while (boundary < candidate) {
            boundary += CharWidth(text, boundary);
            ++chars;
        }
        if (boundary == candidate) {
            offset = candidate;
            charsBefore = chars;
            return true;
        }
        from = boundary;
    }
}

std::string_view UpToNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace

bool IsDoubleByteChar(std::string_view text, size_t place) {
    return place + 1 < text.size() && IsLeadByte(text[place]) && text[place + 1] != '\0';
}

int NextChar(std::string_view text, size_t& place) {
    if (place >= text.size()) {
        return 0;
    }
    size_t width = CharWidth(text, place);
    place += width;
    return static_cast<int>(width);
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

int ChangeCharCase(std::string& text, size_t& place, bool upper, bool doubleByte) {
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

int CountCharBytes(int& bytes, std::string_view text, int n) {
    bytes = 0;
    if (n < 0) {
        return 0;
    }
    int count = 0;
    size_t place = 0;
    while ((n == 0 || count < n) && place < text.size()) {
        bytes += NextChar(text, place);
        ++count;
    }
    return count;
}

std::string MbCopy(std::string_view text, int i, int n) {
    if (i == 0) {
        i = 1;
    }
    if (text.empty() || i < 0 || n <= 0) {
        return {};
    }
    size_t place = 0;
    for (int c = 1; c < i; ++c) {
        if (NextChar(text, place) == 0) {
            return {};
        }
    }
    size_t start = place;
    for (int c = 0; c < n && NextChar(text, place) != 0; ++c) {
    }
    return std::string(text.substr(start, place - start));
}

int MbLength(std::string_view text) {
    int bytes = 0;
    return CountCharBytes(bytes, text, 0);
}

int MbCharCount(const char* text) {
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

int MbPos(std::string_view pattern, std::string_view text) {
    size_t offset = 0;
    int charsBefore = 0;
    return FindAtBoundary(pattern, text, offset, charsBefore) ? charsBefore + 1 : 0;
}

int MbPosEnd(std::string_view pattern, std::string_view text) {
    size_t offset = 0;
    int charsBefore = 0;
    if (!FindAtBoundary(pattern, text, offset, charsBefore)) {
        return 0;
    }
    return static_cast<int>(offset + CharWidth(text, offset));
}

size_t MbFind(std::string_view pattern, std::string_view text) {
    size_t offset = 0;
    int charsBefore = 0;
    return FindAtBoundary(pattern, text, offset, charsBefore) ? offset : std::string_view::npos;
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
