// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TextEncoding.h"

#include <algorithm>
#include <cctype>

#include "platform/Cp932.h"
#include "tools/LineReader.h"
#include "tools/LineWriter.h"

namespace tovix {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The length of the well-formed UTF-8 sequence at the start of `bytes`
// (RFC 3629: no overlong forms, no surrogates, nothing above U+10FFFF), or 0.
size_t SequenceLength(std::string_view bytes) {
    const auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char c = at(0);
    size_t n = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (bytes.size() < n || at(1) < low || at(1) > high) {
        return 0;
    }
    for (size_t i = 2; i < n; ++i) {
        if (at(i) < 0x80 || at(i) > 0xBF) {
            return 0;
        }
    }
    return n;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

}  // namespace

std::optional<TextEncoding> ParseTextEncoding(std::string_view name) {
    const std::string lower = Lower(name);
    if (lower == "auto") {
        return TextEncoding::Auto;
    }
    if (lower == "cp932" || lower == "sjis" || lower == "shift_jis") {
        return TextEncoding::Cp932;
    }
    if (lower == "utf-8" || lower == "utf8") {
        return TextEncoding::Utf8;
    }
    if (lower == "euc-jp") {
        return TextEncoding::EucJp;
    }
    return std::nullopt;
}

Utf8Evidence ScanForUtf8(std::string_view bytes, Utf8Evidence evidence) {
    size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t n = SequenceLength(bytes.substr(i));
        if (n == 0) {
            ++evidence.malformed;
            ++i;
        } else {
            ++evidence.multiByte;
            i += n;
        }
    }
    return evidence;
}

Utf8Evidence ScanFileForUtf8(const std::filesystem::path& file) {
    LineReader in(file);
    Utf8Evidence evidence;
    std::string_view line;
    for (bool first = true; in.Next(line); first = false) {
        if (first && line.starts_with(kBom)) {
            evidence.bom = true;
            line.remove_prefix(kBom.size());
        }
        evidence = ScanForUtf8(line, evidence);
    }
    return evidence;
}

bool LooksLikeUtf8(const Utf8Evidence& evidence) {
    return evidence.bom ||
           (evidence.multiByte > 0 && evidence.malformed * 10 <= evidence.multiByte);
}

TextEncoding ResolveEncoding(TextEncoding requested, const std::filesystem::path& file,
                             TextEncoding native) {
    if (requested != TextEncoding::Auto) {
        return requested;
    }
    return LooksLikeUtf8(ScanFileForUtf8(file)) ? TextEncoding::Utf8 : native;
}

void Unconvertible::Add(unsigned long long line, std::size_t characters) {
    if (characters == 0) {
        return;
    }
    count += characters;
    if (lines.size() < kLinesKept) {
        lines.push_back(line);
    } else {
        moreLines = true;
    }
}

std::string Utf8LineToCp932(std::string_view utf8, std::size_t& replaced) {
    if (std::optional<std::string> whole = Utf8ToCp932Exact(utf8)) {
        return std::move(*whole);
    }
    std::string out;
    size_t i = 0;
    while (i < utf8.size()) {
        const size_t n =
            static_cast<unsigned char>(utf8[i]) < 0x80 ? 1 : SequenceLength(utf8.substr(i));
        const std::optional<std::string> character =
            n == 0 ? std::nullopt : Utf8ToCp932Exact(utf8.substr(i, n));
        if (character) {
            out += *character;
        } else {
            out += '?';
            ++replaced;
        }
        i += std::max<size_t>(n, 1);
    }
    return out;
}

Unconvertible Utf8FileToCp932(const std::filesystem::path& in, const std::filesystem::path& out) {
    LineReader reader(in);
    LineWriter writer(out);
    Unconvertible unconvertible;
    std::string_view line;
    for (unsigned long long number = 1; reader.Next(line); ++number) {
        if (number == 1 && line.starts_with(kBom)) {
            line.remove_prefix(kBom.size());
            // A file of the mark alone is empty, as the same file without it.
            if (reader.Size() == kBom.size()) {
                break;
            }
        }
        size_t replaced = 0;
        writer.WriteLine(Utf8LineToCp932(line, replaced));
        unconvertible.Add(number, replaced);
    }
    writer.Close();
    return unconvertible;
}

void Cp932FileToUtf8(const std::filesystem::path& in, const std::filesystem::path& out) {
    LineReader reader(in);
    LineWriter writer(out);
    std::string_view line;
    while (reader.Next(line)) {
        writer.WriteLine(Cp932ToUtf8(line));
    }
    writer.Close();
}

}  // namespace tovix
