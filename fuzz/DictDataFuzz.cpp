// SPDX-License-Identifier: GPL-3.0-or-later
// The data file reader of dictd and StarDict dictionaries. The first line of
// the input holds the ranges to read (each 4 bytes: offset and size, 16 bits
// each), the rest is the data file: plain text, or gzip (with or without
// dictzip's chunk table) when it begins with the gzip mark. Promises
// checked: a read gives exactly the bytes asked for or is refused as a fault
// of the file; a range read again, after others, gives the same bytes; a
// plain file gives its own bytes. The rest is also written as the export
// writes a ".dict.dz" (DictzipWriter) and read back by the same ranges: each
// within the text gives the text's bytes, each beyond it is refused.

#include <cstdint>
#include <map>
#include <string>

#include "FuzzSupport.h"
#include "tools/DictData.h"
#include "tools/DictzipWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix;
    using namespace tovix::fuzz;
    const ChoiceAndText input = SplitChoice(data, size);
    const std::filesystem::path file = ScratchDir() / "data.dict.dz";
    WriteFile(file, input.text);
    const auto byte = [&](size_t i) {
        return static_cast<std::uint64_t>(static_cast<unsigned char>(input.choice[i]));
    };
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::string> seen;
    try {
        DictData dict(file);
        for (size_t i = 0; i + 4 <= input.choice.size(); i += 4) {
            const std::uint64_t offset = byte(i) << 8 | byte(i + 1);
            const std::uint64_t length = byte(i + 2) << 8 | byte(i + 3);
            try {
                const std::string got(dict.Read(offset, length));
                Check(got.size() == length, "a read gives the bytes asked for");
                if (!dict.Compressed()) {
                    Check(got == input.text.substr(offset, length), "a plain file gives its bytes");
                }
                const auto [it, added] = seen.try_emplace({offset, length}, got);
                Check(added || it->second == got, "a range read again gives the same bytes");
            } catch (const DictFormatError&) {
            }
        }
    } catch (const DictFormatError&) {
    }
    const std::filesystem::path ours = ScratchDir() / "ours.dict.dz";
    DictzipWriter writer(ours);
    writer.Write(input.text);
    writer.Close();
    DictData packed(ours);
    Check(packed.Chunked(), "the export's file has dictzip's chunks");
    for (size_t i = 0; i + 4 <= input.choice.size(); i += 4) {
        const std::uint64_t offset = byte(i) << 8 | byte(i + 1);
        const std::uint64_t length = byte(i + 2) << 8 | byte(i + 3);
        const bool inside = offset + length <= input.text.size();
        try {
            const std::string got(packed.Read(offset, length));
            Check(inside && got == input.text.substr(offset, length),
                  "the export's file gives the text's bytes");
        } catch (const DictFormatError&) {
            Check(!inside, "the export's file refuses only ranges beyond its text");
        }
    }
    return 0;
}
