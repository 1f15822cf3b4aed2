// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace tovix {
namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Writes U+FFFD for every byte sequence that has no mapping, so that broken
// text stays visible instead of turning into invisible control characters.
void ToUnicodeReplacement(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                          UConverterCallbackReason reason, UErrorCode* err) {
    if (reason > UCNV_IRREGULAR) {
        return;
    }
    static const UChar replacement = 0xFFFD;
    *err = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, err);
}

// ICU's windows-31j table (IBM's) turns the control bytes 0x1A, 0x1C and
// 0x7F into U+001C, U+007F and U+001A and back, where code page 932 keeps
// every ASCII byte as it is. None of them is ever part of a double-byte
// character, so their units are put right after decoding and turned ICU's
// way before encoding.
char16_t FromIcuUnit(char16_t c) {
    return c == 0x1C ? 0x1A : c == 0x7F ? 0x1C : c == 0x1A ? 0x7F : c;
}

char16_t ToIcuUnit(char16_t c) {
    return c == 0x1A ? 0x1C : c == 0x1C ? 0x7F : c == 0x7F ? 0x1A : c;
}

std::u16string ToIcuUnits(std::u16string_view utf16) {
    std::u16string units(utf16);
    std::transform(units.begin(), units.end(), units.begin(), ToIcuUnit);
    return units;
}

ConverterPtr OpenConverter() {
    UErrorCode err = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open("windows-31j", &err));
    if (U_FAILURE(err)) {
        throw std::runtime_error("code page 932 converter unavailable");
    }
    ucnv_setFallback(conv.get(), true);
    ucnv_setSubstChars(conv.get(), "?", 1, &err);
    ucnv_setToUCallBack(conv.get(), ToUnicodeReplacement, nullptr, nullptr, nullptr, &err);
    if (U_FAILURE(err)) {
        throw std::runtime_error("code page 932 converter set-up failed");
    }
    return conv;
}

// Converters keep state, so each thread has its own.
UConverter* Converter() {
    thread_local ConverterPtr conv = OpenConverter();
    ucnv_reset(conv.get());
    return conv.get();
}

// As Converter, but encoding stops at the first character without a CP932
// form instead of writing "?".
UConverter* ExactConverter() {
    thread_local ConverterPtr conv = [] {
        ConverterPtr c = OpenConverter();
        UErrorCode err = U_ZERO_ERROR;
        ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
        if (U_FAILURE(err)) {
            throw std::runtime_error("code page 932 converter set-up failed");
        }
        return c;
    }();
    ucnv_reset(conv.get());
    return conv.get();
}

// UTF-8 as UTF-16; malformed sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string utf16(utf8.size(), u'\0');
    int32_t n = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(utf16.data()), static_cast<int32_t>(utf16.size()),
                         &n, utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &err);
    utf16.resize(static_cast<size_t>(n));
    return utf16;
}

// Where a text may be cut near unit `at` (0 < at < its size) without parting
// a character: at or before it, or just after it when the character there
// begins the text.
size_t Cp932Cut(std::string_view text, size_t at) {
    // Bytes pair up from the start of a run of lead-byte codes.
    size_t run = 0;
    while (run < at && IsLeadByte(text[at - 1 - run])) {
        ++run;
    }
    return run % 2 == 0 ? at : at > 1 ? at - 1 : at + 1;
}

size_t Utf16Cut(std::u16string_view text, size_t at) {
    const bool high = text[at - 1] >= 0xD800 && text[at - 1] <= 0xDBFF;
    return !high ? at : at > 1 ? at - 1 : at + 1;
}

size_t Utf8Cut(std::string_view text, size_t at) {
    const auto continues = [&](size_t i) {
        return i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    };
    size_t back = at;
    while (back > 0 && continues(back)) {
        --back;
    }
    if (back > 0) {
        return back;
    }
    while (continues(at)) {
        ++at;
    }
    return at;
}

// ICU counts in int32_t: a longer text is converted in pieces of at most
// `pieceUnits` units, cut between characters, and the results joined.
template <class Out, class In, class Cut, class Convert>
Out InPieces(In text, size_t pieceUnits, Cut cut, Convert convert) {
    if (text.size() <= pieceUnits) {
        return convert(text);
    }
    Out out;
    while (!text.empty()) {
        const size_t n = text.size() <= pieceUnits ? text.size() : cut(text, pieceUnits);
        out += convert(text.substr(0, n));
        text.remove_prefix(n);
    }
    return out;
}

std::u16string Cp932PieceToUtf16(std::string_view cp932) {
    // A CP932 byte never yields more than one UTF-16 unit.
    std::u16string out(cp932.size(), u'\0');
    UErrorCode err = U_ZERO_ERROR;
    int32_t n = ucnv_toUChars(Converter(), reinterpret_cast<UChar*>(out.data()),
                              static_cast<int32_t>(out.size() + 1), cp932.data(),
                              static_cast<int32_t>(cp932.size()), &err);
    if (U_FAILURE(err) && err != U_STRING_NOT_TERMINATED_WARNING) {
        throw std::runtime_error("code page 932 decoding failed");
    }
    out.resize(static_cast<size_t>(n));
    std::transform(out.begin(), out.end(), out.begin(), FromIcuUnit);
    return out;
}

std::string Utf16PieceToUtf8(std::u16string_view utf16) {
    std::string out(utf16.size() * 3, '\0');
    int32_t n = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &n,
                       reinterpret_cast<const UChar*>(utf16.data()),
                       static_cast<int32_t>(utf16.size()), 0xFFFD, nullptr, &err);
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string Utf16PieceToCp932(std::u16string_view text) {
    const std::u16string utf16 = ToIcuUnits(text);
    std::string out(utf16.size() * 2, '\0');
    UErrorCode err = U_ZERO_ERROR;
    int32_t n = ucnv_fromUChars(Converter(), out.data(), static_cast<int32_t>(out.size() + 1),
                                reinterpret_cast<const UChar*>(utf16.data()),
                                static_cast<int32_t>(utf16.size()), &err);
    if (U_FAILURE(err) && err != U_STRING_NOT_TERMINATED_WARNING) {
        throw std::runtime_error("code page 932 encoding failed");
    }
    out.resize(static_cast<size_t>(n));
    return out;
}

}  // namespace

std::u16string Cp932ToUtf16(std::string_view cp932, size_t pieceUnits) {
    return InPieces<std::u16string>(cp932, pieceUnits, Cp932Cut, Cp932PieceToUtf16);
}

std::string Cp932ToUtf8(std::string_view cp932, size_t pieceUnits) {
    return InPieces<std::string>(cp932, pieceUnits, Cp932Cut, [](std::string_view piece) {
        return Utf16PieceToUtf8(Cp932PieceToUtf16(piece));
    });
}

std::string Utf16ToCp932(std::u16string_view utf16, size_t pieceUnits) {
    return InPieces<std::string>(utf16, pieceUnits, Utf16Cut, Utf16PieceToCp932);
}

std::string Utf8ToCp932(std::string_view utf8, size_t pieceUnits) {
    return InPieces<std::string>(utf8, pieceUnits, Utf8Cut, [](std::string_view piece) {
        return Utf16PieceToCp932(Utf8ToUtf16(piece));
    });
}

std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8) {
    const std::u16string utf16 = ToIcuUnits(Utf8ToUtf16(utf8));
    std::string out(utf16.size() * 2, '\0');
    UErrorCode err = U_ZERO_ERROR;
    const int32_t n = ucnv_fromUChars(
        ExactConverter(), out.data(), static_cast<int32_t>(out.size() + 1),
        reinterpret_cast<const UChar*>(utf16.data()), static_cast<int32_t>(utf16.size()), &err);
    if ((U_FAILURE(err) && err != U_STRING_NOT_TERMINATED_WARNING) ||
        utf16.find(u'\uFFFD') != std::u16string::npos) {
        return std::nullopt;
    }
    out.resize(static_cast<size_t>(n));
    return out;
}

}  // namespace tovix
