#include "platform/Cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

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

}  // namespace

std::u16string Cp932ToUtf16(std::string_view cp932) {
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
    return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
    std::u16string utf16 = Cp932ToUtf16(cp932);
    std::string out(utf16.size() * 3, '\0');
    int32_t n = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &n,
                       reinterpret_cast<const UChar*>(utf16.data()),
                       static_cast<int32_t>(utf16.size()), 0xFFFD, nullptr, &err);
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string Utf16ToCp932(std::u16string_view utf16) {
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

std::string Utf8ToCp932(std::string_view utf8) {
    return Utf16ToCp932(Utf8ToUtf16(utf8));
}

std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8) {
    const std::u16string utf16 = Utf8ToUtf16(utf8);
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
