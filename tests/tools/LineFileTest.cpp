// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tovix
