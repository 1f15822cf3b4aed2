// SPDX-License-Identifier: GPL-3.0-or-later
// The StarDict importer. The first line: "64" for 64-bit offsets, then a
// blank and the sametypesequence (may be empty), a "j" first for
// Japanese-English, then a "z" for an index given as ".idx.gz" (compressed
// as the export compresses) or a "g" for the index's bytes taken as the
// ".idx.gz" itself. The rest: the ".idx", "%%", the ".dict", "%%", the
// ".syn". The ".ifo" states the real sizes and counts, so that the records
// themselves are explored. Promises as for dictd: [EXM] lines with a
// headword and a TAB, as many as counted, or a refusal as a fault of a file.

#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "tools/DictData.h"
#include "tools/DictImport.h"
#include "tools/DictzipWriter.h"

namespace {

// Records "WORD NUL" + `tail` bytes, counted as the reader walks them.
size_t Records(std::string_view bytes, size_t tail) {
    size_t count = 0;
    for (size_t at = 0; at < bytes.size(); ++count) {
        const size_t nul = bytes.find('\0', at);
        if (nul == std::string_view::npos) {
            break;
        }
        at = nul + 1 + tail;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix;
    using namespace tovix::fuzz;
    const ChoiceAndText input = SplitChoice(data, size);
    const bool japanese = input.choice.starts_with('j');
    std::string_view choice = input.choice.substr(japanese ? 1 : 0);
    const char packing = choice.starts_with('z') || choice.starts_with('g') ? choice[0] : 0;
    choice.remove_prefix(packing == 0 ? 0 : 1);
    const bool offsets64 = choice.starts_with("64");
    const size_t blank = choice.find(' ');
    const std::string types(blank == std::string_view::npos ? "" : choice.substr(blank + 1));
    std::vector<std::string_view> parts = Parts(input.text);
    parts.resize(3);
    const std::filesystem::path dir = ScratchDir();
    const std::string ifo = "StarDict's dict ifo file\nversion=3.0.0\nwordcount=" +
                            std::to_string(Records(parts[0], offsets64 ? 12 : 8)) +
                            "\nidxfilesize=" + std::to_string(parts[0].size()) +
                            (offsets64 ? "\nidxoffsetbits=64" : "") +
                            "\nsynwordcount=" + std::to_string(Records(parts[2], 4)) +
                            "\nsametypesequence=" + types + "\n";
    WriteFile(dir / "s.ifo", ifo);
    WriteFile(dir / "s.idx", packing == 0 ? parts[0] : std::string_view());
    std::filesystem::remove(dir / "s.idx.gz");
    if (packing == 'z') {
        DictzipWriter packed(dir / "s.idx.gz");
        packed.Write(parts[0]);
        packed.Close();
    } else if (packing == 'g') {
        WriteFile(dir / "s.idx.gz", parts[0]);
    }
    WriteFile(dir / "s.dict", parts[1]);
    WriteFile(dir / "s.syn", parts[2]);
    const Direction direction = japanese ? Direction::Japanese : Direction::English;
    try {
        const DictImportCounts counts =
            ImportDictionary(DictFormat::StarDict, dir / "s.ifo", dir / "s.txt", direction);
        const std::vector<std::string> lines = SplitLines(ReadFile(dir / "s.txt"));
        Check(lines.size() == counts.written, "as many lines as counted are written");
        for (const std::string& line : lines) {
            const size_t tab = line.find('\t');
            Check(tab != std::string::npos && tab > 0, "every line has a headword and a TAB");
        }
    } catch (const DictFormatError&) {
    }
    return 0;
}
