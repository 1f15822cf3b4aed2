// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IoError.h"
#include "support/TempDir.h"
#include "tools/LineReader.h"
#include "tools/LineWriter.h"
#include "tools/TextEncoding.h"

namespace tovix {
namespace {

std::vector<std::string> ReadAll(const std::filesystem::path& path) {
    LineReader reader(path);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line)) {
        lines.emplace_back(line);
    }
    EXPECT_EQ(reader.Consumed(), reader.Size());
    return lines;
}

TEST(LineFileTest, ReaderSplitsEveryLineEnd) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\n", {"a"}},
        {"a\rb\r", {"a", "b"}},
        {"\r\n", {""}},
        {"x\ty\\\x83\x5C\r\n", {"x\ty\\\x83\x5C"}},
        {std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
        // Line ends found 16 bytes at a time, at every place of a block.
        {std::string(17, 'p') + "\r" + std::string(31, 'q') + "\n" + std::string(16, 'r') +
             "\r\n\r",
         {std::string(17, 'p'), std::string(31, 'q'), std::string(16, 'r'), ""}},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        test::WriteBytes(dir / "in.txt", c.bytes);
        EXPECT_EQ(ReadAll(dir / "in.txt"), c.lines);
    }
}

TEST(LineFileTest, Utf8FileReadsAsCp932LineByLine) {
    struct Case {
        std::string utf8;
        std::string cp932;
        unsigned long long replaced;
    };
    const Case cases[] = {
        // Guards: a file of the byte-order mark alone read as one empty line,
        // which the tools refuse where an empty file is fine.
        {"\xEF\xBB\xBF", "", 0},
        {"\xEF\xBB\xBF\r\n", "\r\n", 0},
        {"\xEF\xBB\xBF"
         "a\xE3\x81\x82\nb",
         "a\x82\xA0\r\nb\r\n", 0},
        // Guards: control bytes 0x1A, 0x1C and 0x7F came out as one another.
        {"\x1A\x1C\x7F\r", "\x1A\x1C\x7F\r\n", 0},
        {"x\xF0\x9F\x98\x80y", "x?y\r\n", 1},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        test::WriteBytes(dir / "in.txt", c.utf8);
        const Unconvertible lost = Utf8FileToCp932(dir / "in.txt", dir / "out.txt");
        EXPECT_EQ(test::ReadBytes(dir / "out.txt"), c.cp932) << c.utf8;
        EXPECT_EQ(lost.count, c.replaced) << c.utf8;
    }
}

// What a look through bytes counts, one byte or sequence at a time: the
// length of the well-formed UTF-8 sequence at `at` from the code point it
// encodes, 0 when there is none.
size_t WellFormedLength(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (n == 0 || at + n > text.size()) {
        return 0;
    }
    unsigned code = lead & (0x7F >> n);
    for (size_t i = 1; i < n; ++i) {
        const auto c = static_cast<unsigned char>(text[at + i]);
        if ((c & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (c & 0x3F);
    }
    const unsigned lowest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < lowest[n] || surrogate || code > 0x10FFFF ? 0 : n;
}

Utf8Evidence CountedEvidence(std::string_view text) {
    Utf8Evidence evidence;
    evidence.bom = text.starts_with("\xEF\xBB\xBF");
    for (size_t i = evidence.bom ? 3 : 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
        } else if (const size_t n = WellFormedLength(text, i)) {
            ++evidence.multiByte;
            i += n;
        } else {
            ++evidence.malformed;
            ++i;
        }
    }
    return evidence;
}

// Files of a few parts' length whose sequences fall across every place of a
// part's end, mixing ASCII, UTF-8, CP932 pairs and stray bytes in shares
// that put the malformed bytes on both sides of a tenth of the sequences,
// so that a look that stops early must stop only where the rest cannot
// change the verdict.
TEST(LineFileTest, LookThroughFileCountsWhatItsBytesHold) {
    test::TempDir dir;
    std::mt19937 random(23);
    const char* const utf8[] = {"\xC3\xA9", "\xE3\x81\x82", "\xF0\x9F\x98\x80", "\xEF\xBB\xBF"};
    const char* const other[] = {"\x82\xA0",     "\x88\x9F",         "\xE3\x81", "\xC0\x80",
                                 "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"};
    int utf8Verdicts = 0;
    for (int file = 0; file < 60; ++file) {
        const int otherPerMille = std::uniform_int_distribution(0, 200)(random);
        const size_t size = std::uniform_int_distribution<size_t>(0, 300000)(random);
        std::string text = file % 7 == 0 ? "\xEF\xBB\xBF" : "";
        while (text.size() < size) {
            const int pick = std::uniform_int_distribution(0, 999)(random);
            if (pick < 300) {
                text.append(std::uniform_int_distribution<size_t>(1, 40)(random), 'a');
                text += "\r\n";
            } else if (pick < 300 + otherPerMille) {
                text += other[std::uniform_int_distribution<size_t>(0, 6)(random)];
            } else {
                text += utf8[std::uniform_int_distribution<size_t>(0, 3)(random)];
            }
        }
        test::WriteBytes(dir / "in.txt", text);
        const Utf8Evidence expected = CountedEvidence(text);
        const Utf8Evidence look = ScanFileForUtf8(dir / "in.txt");
        EXPECT_EQ(look.bom, expected.bom) << file;
        EXPECT_EQ(look.multiByte, expected.multiByte) << file;
        EXPECT_EQ(look.malformed, expected.malformed) << file;
        EXPECT_EQ(FileLooksLikeUtf8(dir / "in.txt"), LooksLikeUtf8(expected)) << file;
        utf8Verdicts += LooksLikeUtf8(expected) ? 1 : 0;
    }
    // Both verdicts were tried.
    EXPECT_GT(utf8Verdicts, 5);
    EXPECT_LT(utf8Verdicts, 55);
}

TEST(LineFileTest, LinesAcrossBufferBoundaries) {
    // Lines longer than the reader's chunk, and a CR LF split between chunks.
    test::TempDir dir;
    const std::string longLine(3 * (1 << 20) + 5, 'x');
    std::string bytes = std::string((1 << 20) - 1, 'y') + "\r\n" + longLine + "\r\nend";
    test::WriteBytes(dir / "in.txt", bytes);
    std::vector<std::string> lines = ReadAll(dir / "in.txt");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), (1u << 20) - 1);
    EXPECT_EQ(lines[1], longLine);
    EXPECT_EQ(lines[2], "end");
}

TEST(LineFileTest, WriterEndsLinesWithCrLfAndReportsFailures) {
    test::TempDir dir;
    LineWriter writer(dir / "out.txt");
    writer.WriteLine("apple \t\x82\xE8\x82\xF1\x82\xB2");
    writer.WriteLine("");
    writer.Write(std::string(2 << 20, 'z'));
    writer.Close();
    std::string bytes = test::ReadBytes(dir / "out.txt");
    EXPECT_EQ(bytes.substr(0, 17), "apple \t\x82\xE8\x82\xF1\x82\xB2\r\n\r\n");
    EXPECT_EQ(bytes.size(), 17u + (2u << 20));

    EXPECT_THROW(LineWriter(dir / "missing" / "out.txt"), IoError);
    EXPECT_THROW(LineReader(dir / "missing.txt"), IoError);
    if (std::filesystem::exists("/dev/full")) {
        LineWriter full("/dev/full");
        full.WriteLine("x");
        EXPECT_THROW(full.Close(), IoError);
    }
}

// A work file is written over, not emptied first: no old byte may stay past
// the new end, whether the writer closes or goes after a failure.
TEST(LineFileTest, WriterLeavesNoOldBytesPastWhatItWrote) {
    struct Case {
        size_t oldSize;
        bool closed;
        std::string expected;
    };
    const std::string written = "new\r\n";
    const Case cases[] = {
        {0, true, written},
        {3, true, written},
        {written.size(), true, written},
        {3 << 20, true, written},
        // Gone without Close: the buffered line never reached the file.
        {3 << 20, false, ""},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        test::WriteBytes(dir / "work.txt", std::string(c.oldSize, 'o'));
        {
            LineWriter writer(dir / "work.txt");
            writer.WriteLine("new");
            if (c.closed) {
                writer.Close();
            }
        }
        EXPECT_EQ(test::ReadBytes(dir / "work.txt"), c.expected) << c.oldSize;
    }
    // A long piece written through, longer than the old file and shorter.
    test::WriteBytes(dir / "work.txt", std::string(5 << 20, 'o'));
    LineWriter writer(dir / "work.txt", 16);
    writer.Write(std::string(2 << 20, 'n'));
    writer.Close();
    EXPECT_EQ(test::ReadBytes(dir / "work.txt"), std::string(2 << 20, 'n'));
}

}  // namespace
}  // namespace tovix
