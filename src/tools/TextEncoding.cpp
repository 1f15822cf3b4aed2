// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TextEncoding.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "platform/PosixIo.h"
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

constexpr size_t kScanChunk = 1 << 16;
constexpr size_t kMaxSequence = 4;

// Whether any of the eight bytes at `p` is not ASCII.
bool AnyHighByte(const char* p) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080ULL) != 0;
}

// Counts the sequences and malformed bytes of `bytes` into `evidence` and
// returns how many bytes it looked at: all of them when `last`, else it stops
// before a byte whose sequence might go on past the end, for the next part to
// begin with. Runs of ASCII are skipped eight bytes at a time.
size_t ScanUtf8Part(std::string_view bytes, bool last, Utf8Evidence& evidence) {
    const size_t size = bytes.size();
    size_t i = 0;
    while (i < size) {
        if (i + 8 <= size && !AnyHighByte(bytes.data() + i)) {
            i += 8;
            continue;
        }
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        if (!last && size - i < kMaxSequence) {
            break;
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
    return i;
}

// Looks through the file part by part, its byte-order mark taken from its
// start, until its end or until stop(evidence, bytes not yet looked at)
// says the rest cannot matter.
template <class Stop>
Utf8Evidence ScanFile(const std::filesystem::path& file, Stop&& stop) {
    const FileDescriptor in = OpenRegularFile(file);
    struct stat status {};
    if (::fstat(in.Get(), &status) != 0) {
        throw IoError(file, errno);
    }
    const auto size = static_cast<unsigned long long>(status.st_size);
    // One small buffer, read into over and over: the file read whole into
    // fresh memory would have the kernel clear every page of it first.
    std::vector<char> buffer(kScanChunk + kMaxSequence);
    Utf8Evidence evidence;
    unsigned long long scannedTotal = 0;
    size_t kept = 0;  // bytes carried over from the part before
    bool bomChecked = false;
    while (true) {
        const size_t got = ReadSome(in.Get(), buffer.data() + kept, kScanChunk, file);
        const bool end = got == 0;
        std::string_view bytes(buffer.data(), kept + got);
        if (!bomChecked) {
            if (!end && bytes.size() < kBom.size()) {
                kept = bytes.size();
                continue;
            }
            bomChecked = true;
            if (bytes.starts_with(kBom)) {
                evidence.bom = true;
                bytes.remove_prefix(kBom.size());
                scannedTotal += kBom.size();
            }
        }
        const size_t scanned = ScanUtf8Part(bytes, end, evidence);
        scannedTotal += scanned;
        if (end || stop(evidence, size > scannedTotal ? size - scannedTotal : 0)) {
            return evidence;
        }
        kept = bytes.size() - scanned;
        std::memmove(buffer.data(), bytes.data() + scanned, kept);
    }
}

// Whether LooksLikeUtf8 of the whole file is already known from the
// evidence so far, with `rest` bytes still to come: a byte-order mark
// decides; each sequence to come takes at least two bytes and each
// malformed byte one, so the verdict cannot change once the malformed
// bytes outweigh every sequence the rest could add, or once the sequences
// outweigh every malformed byte it could add.
bool VerdictKnown(const Utf8Evidence& evidence, unsigned long long rest) {
    return evidence.bom || evidence.malformed * 10 > evidence.multiByte + rest / 2 ||
           (evidence.multiByte > 0 && (evidence.malformed + rest) * 10 <= evidence.multiByte);
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
    ScanUtf8Part(bytes, true, evidence);
    return evidence;
}

Utf8Evidence ScanFileForUtf8(const std::filesystem::path& file) {
    return ScanFile(file, [](const Utf8Evidence&, unsigned long long) { return false; });
}

bool LooksLikeUtf8(const Utf8Evidence& evidence) {
    return evidence.bom ||
           (evidence.multiByte > 0 && evidence.malformed * 10 <= evidence.multiByte);
}

bool FileLooksLikeUtf8(const std::filesystem::path& file) {
    return LooksLikeUtf8(ScanFile(file, VerdictKnown));
}

TextEncoding ResolveEncoding(TextEncoding requested, const std::filesystem::path& file,
                             TextEncoding native) {
    if (requested != TextEncoding::Auto) {
        return requested;
    }
    return FileLooksLikeUtf8(file) ? TextEncoding::Utf8 : native;
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
