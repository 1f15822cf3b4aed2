// SPDX-License-Identifier: GPL-3.0-or-later
// The tools' look at a text file's encoding and their UTF-8 reading and
// writing. The input is the file.
//
// Promises checked: the look through the file counts what a look through its
// bytes counts (well-formed UTF-8 sequences, malformed bytes, the byte-order
// mark); each UTF-8 character or malformed byte of a line becomes exactly one
// CP932 character, "?" for those replaced and counted (only characters that
// may be ignored, such as a zero-width space, vanish), and plain ASCII stays
// as it is; a converted line converts back to itself; a whole file converts
// line by line, with the replaced characters counted by their lines; and the
// UTF-8 the tools write reads back as UTF-8 without a malformed byte.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <unicode/uchar.h>

#include "FuzzSupport.h"
#include "components/MbString.h"
#include "platform/Cp932.h"
#include "tools/TextEncoding.h"

namespace tovix::fuzz {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The well-formed UTF-8 sequence at `at`, from the code point it encodes (no
// overlong form, no surrogate, nothing above U+10FFFF): its length, 0 for a
// byte that begins none (ASCII counts as a sequence of 1), and the code point.
struct Sequence {
    size_t length = 0;
    std::uint32_t code = 0;
};

Sequence Utf8Sequence(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return {1, lead};
    }
    size_t n = 0;
    std::uint32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        n = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        n = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        n = 4;
        code = lead & 0x07;
    } else {
        return {};
    }
    if (at + n > text.size()) {
        return {};
    }
    for (size_t i = 1; i < n; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return {};
        }
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (code < kSmallest[n] || surrogate || code > 0x10FFFF) {
        return {};
    }
    return {n, code};
}

// What a line holds, as the tools are to count it. Characters that Unicode
// lets a program ignore (zero-width ones, variation selectors, a byte-order
// mark inside the text) vanish when they have no CP932 form: they are
// counted apart.
struct Contents {
    Utf8Evidence evidence;
    size_t ascii = 0;
    size_t vanishing = 0;
};

Contents ContentsOf(std::string_view text) {
    Contents contents;
    for (size_t i = 0; i < text.size();) {
        const Sequence sequence = Utf8Sequence(text, i);
        if (sequence.length == 0) {
            ++contents.evidence.malformed;
        } else if (sequence.length == 1) {
            ++contents.ascii;
        } else {
            ++contents.evidence.multiByte;
            const auto code = static_cast<UChar32>(sequence.code);
            contents.vanishing += u_hasBinaryProperty(code, UCHAR_DEFAULT_IGNORABLE_CODE_POINT) &&
                                  Utf8ToCp932Exact(text.substr(i, sequence.length)) == "";
        }
        i += std::max<size_t>(sequence.length, 1);
    }
    return contents;
}

Utf8Evidence Evidence(std::string_view text) {
    return ContentsOf(text).evidence;
}

bool operator==(const Utf8Evidence& a, const Utf8Evidence& b) {
    return a.bom == b.bom && a.multiByte == b.multiByte && a.malformed == b.malformed;
}

size_t Cp932Characters(std::string_view text) {
    size_t count = 0;
    for (size_t place = 0; place < text.size(); ++count) {
        NextChar(text, place);
    }
    return count;
}

// One line: the characters it holds (ASCII, sequences, malformed bytes) are
// the characters it converts to.
std::string CheckLine(std::string_view line, size_t& replaced) {
    replaced = 0;
    const std::string cp932 = Utf8LineToCp932(line, replaced);
    const Contents contents = ContentsOf(line);
    const Utf8Evidence& evidence = contents.evidence;
    const size_t ascii = contents.ascii;
    Check(Cp932Characters(cp932) ==
              ascii + evidence.multiByte + evidence.malformed - contents.vanishing,
          "every UTF-8 character or malformed byte becomes one CP932 character");
    Check(std::count(cp932.begin(), cp932.end(), '?') ==
              std::count(line.begin(), line.end(), '?') + static_cast<std::ptrdiff_t>(replaced),
          "every character replaced by ? is counted, and only those");
    Check(replaced >= evidence.malformed, "a malformed byte is replaced");
    if (ascii == line.size()) {
        Check(cp932 == line && replaced == 0, "plain ASCII reads as it is");
    }
    size_t again = 0;
    Check(Utf8LineToCp932(Cp932ToUtf8(cp932), again) == cp932 && again == 0,
          "a converted line converts back to itself");
    return cp932;
}

void CheckFile(std::string_view text) {
    const std::filesystem::path utf8 = ScratchDir() / "UTF8.TXT";
    const std::filesystem::path cp932 = ScratchDir() / "CP932.TXT";
    const std::filesystem::path back = ScratchDir() / "BACK.TXT";
    WriteFile(utf8, text);

    const bool bom = text.starts_with(kBom);
    Utf8Evidence expected = Evidence(bom ? text.substr(kBom.size()) : text);
    expected.bom = bom;
    Check(ScanFileForUtf8(utf8) == expected, "the look through a file counts what its bytes hold");
    Check(ScanForUtf8(text) == Evidence(text), "the look through bytes counts what they hold");

    // The mark is taken from the first line; a file of the mark alone is empty.
    std::vector<std::string> lines = SplitLines(text);
    if (bom) {
        lines[0].erase(0, kBom.size());
    }
    if (text == kBom) {
        lines.clear();
    }
    std::string converted;
    std::string written;
    unsigned long long count = 0;
    std::vector<unsigned long long> replacedLines;
    for (size_t i = 0; i < lines.size(); ++i) {
        size_t replaced = 0;
        const std::string line = CheckLine(lines[i], replaced);
        converted += line + "\r\n";
        written += Cp932ToUtf8(line) + "\r\n";
        count += replaced;
        if (replaced > 0) {
            replacedLines.push_back(i + 1);
        }
    }
    const Unconvertible lost = Utf8FileToCp932(utf8, cp932);
    Check(ReadFile(cp932) == converted, "a file converts line by line, each ended by CR LF");
    const size_t kept = std::min(replacedLines.size(), Unconvertible::kLinesKept);
    Check(lost.count == count &&
              lost.lines == std::vector<unsigned long long>(replacedLines.begin(),
                                                            replacedLines.begin() + kept) &&
              lost.moreLines == (replacedLines.size() > kept),
          "the replaced characters are counted with their first lines");

    Cp932FileToUtf8(cp932, back);
    Check(ReadFile(back) == written, "a CP932 file is written as UTF-8 line by line");
    const Utf8Evidence look = ScanFileForUtf8(back);
    Check(look.malformed == 0 && LooksLikeUtf8(look) == (look.multiByte > 0),
          "written UTF-8 reads back as UTF-8");
}

}  // namespace
}  // namespace tovix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    tovix::fuzz::CheckFile(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
