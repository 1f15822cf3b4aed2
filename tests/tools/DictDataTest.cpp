// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DictData.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/DictFixtures.h"
#include "support/TempDir.h"
#include "tools/DictzipWriter.h"

namespace tovix {
namespace {

using test::Gzip;
using test::TempDir;
using test::WriteBytes;

// Text long enough for several of dictzip's chunks (about 58 KB each).
std::string LongText() {
    std::string text;
    for (int i = 0; text.size() < 300000; ++i) {
        text += "entry " + std::to_string(i) + "\n    n 1: text of entry " + std::to_string(i * 7) +
                "\n";
    }
    return text;
}

struct Variant {
    const char* name;
    bool chunked;
};

// The data file in each form: plain, one gzip stream, and dictzip's chunks
// as the export writes them and as the dictzip program does (when it is
// installed).
std::vector<Variant> MakeVariants(const TempDir& dir, const std::string& text) {
    WriteBytes(dir.path() / "plain.dict", text);
    WriteBytes(dir.path() / "stream.dict.dz", Gzip(text));
    std::vector<Variant> variants{{"plain.dict", false}, {"stream.dict.dz", false}};
    DictzipWriter ours(dir.path() / "ours.dict.dz");
    ours.Write(text);
    ours.Close();
    variants.push_back({"ours.dict.dz", true});
    if (test::HaveProgram("dictzip")) {
        WriteBytes(dir.path() / "chunks.dict", text);
        const std::string command = "dictzip " + (dir.path() / "chunks.dict").string();
        EXPECT_EQ(std::system(command.c_str()), 0);
        variants.push_back({"chunks.dict.dz", true});
    }
    return variants;
}

TEST(DictDataTest, ReadsEveryRangeOfEveryFormInAnyOrder) {
    TempDir dir;
    const std::string text = LongText();
    std::mt19937 random(26);
    std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges{
        {0, 10}, {text.size() - 5, 5}, {text.size(), 0}, {65000, 200000}};
    for (int i = 0; i < 300; ++i) {
        const std::uint64_t offset = random() % text.size();
        ranges.emplace_back(offset, random() % std::min<std::uint64_t>(text.size() - offset, 5000));
    }
    for (const Variant& variant : MakeVariants(dir, text)) {
        DictData data(dir.path() / variant.name);
        EXPECT_EQ(data.Chunked(), variant.chunked) << variant.name;
        for (const auto& [offset, size] : ranges) {
            ASSERT_EQ(data.Read(offset, size), text.substr(offset, size))
                << variant.name << " at " << offset << " size " << size;
        }
        EXPECT_THROW(data.Read(text.size() - 2, 3), DictFormatError) << variant.name;
        EXPECT_THROW(data.Read(text.size() + 1, 0), DictFormatError) << variant.name;
        EXPECT_THROW(data.Read(1, kLargestEntry + 1), DictFormatError) << variant.name;
    }
}

TEST(DictDataTest, ACutOrCorruptFileIsRefusedNotReadShort) {
    TempDir dir;
    const std::string text = LongText();
    for (const Variant& variant : MakeVariants(dir, text)) {
        if (std::string(variant.name) == "plain.dict") {
            continue;
        }
        const std::string packed = test::ReadBytes(dir.path() / variant.name);
        WriteBytes(dir.path() / "cut.dz", packed.substr(0, packed.size() / 2));
        EXPECT_THROW(
            {
                DictData data(dir.path() / "cut.dz");
                data.Read(text.size() - 100, 100);
            },
            DictFormatError)
            << variant.name;
    }
    std::string corrupt = Gzip(text);
    for (size_t i = corrupt.size() / 2; i < corrupt.size() / 2 + 64; ++i) {
        corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
    }
    WriteBytes(dir.path() / "corrupt.dz", corrupt);
    DictData data(dir.path() / "corrupt.dz");
    EXPECT_THROW(data.Read(text.size() - 100, 100), DictFormatError);
}

}  // namespace
}  // namespace tovix
