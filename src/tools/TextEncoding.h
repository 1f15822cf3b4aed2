// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The character encoding of the text files the tools read ([EXM], [PDIC],
// EDICT) and of the [EXM] files they write for a user's editor.
//
// Every dictionary text is CP932 inside the program. A file in UTF-8 (what
// Linux editors write) is recognised, with or without its byte-order mark,
// and converted to CP932 while it is read; a character that CP932 lacks, and
// a byte that is no UTF-8, becomes "?" and is counted with its line. Written
// files stay CP932 unless UTF-8 is asked for; line ends stay CR LF.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovix {

// Auto: UTF-8 when the file looks like it (below), else the reader's own
// encoding (CP932; EUC-JP for EDICT).
enum class TextEncoding { Auto, Cp932, Utf8, EucJp };

// "auto", "cp932" (also "sjis", "shift_jis"), "utf-8" (also "utf8"),
// "euc-jp", in any case; nothing for another name.
std::optional<TextEncoding> ParseTextEncoding(std::string_view name);

// What a look through a whole file tells about UTF-8.
struct Utf8Evidence {
    bool bom = false;                  // begins with EF BB BF
    unsigned long long multiByte = 0;  // well-formed sequences of 2 to 4 bytes
    unsigned long long malformed = 0;  // bytes that start no well-formed sequence
};
Utf8Evidence ScanForUtf8(std::string_view bytes, Utf8Evidence evidence = {});
Utf8Evidence ScanFileForUtf8(const std::filesystem::path& file);

// UTF-8 when the file has a byte-order mark, or holds multi-byte sequences
// and at most one malformed byte for every ten of them: a UTF-8 file with a
// damaged byte stays UTF-8, while Japanese text in CP932 or EUC-JP has more
// malformed bytes than sequences that happen to be well-formed. Plain ASCII reads the same either
// way and is not converted.
bool LooksLikeUtf8(const Utf8Evidence& evidence);

// LooksLikeUtf8 of the whole file, looking only as far as it takes to know:
// the Japanese text of a CP932 file gives it away in its first part.
bool FileLooksLikeUtf8(const std::filesystem::path& file);

// The encoding a file is read in: `requested` unless it is Auto, else UTF-8
// when the file looks like it, else `native`.
TextEncoding ResolveEncoding(TextEncoding requested, const std::filesystem::path& file,
                             TextEncoding native);

// Characters that had no CP932 form, and the first lines (1-based) where they
// stood.
struct Unconvertible {
    static constexpr std::size_t kLinesKept = 5;
    unsigned long long count = 0;
    std::vector<unsigned long long> lines;
    bool moreLines = false;  // further lines had such characters

    void Add(unsigned long long line, std::size_t characters);
};

// One line of UTF-8 in CP932; each character without a CP932 form (look-alikes
// such as the wave dash do have one) and each malformed byte becomes "?" and
// is counted.
std::string Utf8LineToCp932(std::string_view utf8, std::size_t& replaced);

// Reads the UTF-8 file `in` (its byte-order mark dropped) and writes it as
// CP932 with CR LF to `out`. Throws IoError.
Unconvertible Utf8FileToCp932(const std::filesystem::path& in, const std::filesystem::path& out);

// Reads the CP932 file `in` and writes it as UTF-8 (without byte-order mark)
// with CR LF to `out`. Throws IoError.
void Cp932FileToUtf8(const std::filesystem::path& in, const std::filesystem::path& out);

}  // namespace tovix
