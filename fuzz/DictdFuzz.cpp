// SPDX-License-Identifier: GPL-3.0-or-later
// The dictd importer. The first line chooses the direction ("j":
// Japanese-English); the rest is the ".index", a line "%%", and the data
// file (gzip when it begins with the gzip mark). Promises checked: the
// import either writes [EXM] or is refused as a fault of a file; every line
// written is a headword without TAB or line end, a TAB and a translation
// (a Japanese one "reading[written]"), and as many as counted.

#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "tools/DictData.h"
#include "tools/DictImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix;
    using namespace tovix::fuzz;
    const ChoiceAndText input = SplitChoice(data, size);
    const Direction direction = input.choice == "j" ? Direction::Japanese : Direction::English;
    const std::vector<std::string_view> parts = Parts(input.text);
    const std::string_view dict = parts.size() > 1 ? parts[1] : std::string_view();
    const std::filesystem::path dir = ScratchDir();
    std::filesystem::remove(dir / "d.dict");
    std::filesystem::remove(dir / "d.dict.dz");
    WriteFile(dir / "d.index", parts[0]);
    WriteFile(dir / (dict.starts_with("\x1f\x8b") ? "d.dict.dz" : "d.dict"), dict);
    try {
        const DictImportCounts counts =
            ImportDictionary(DictFormat::Dictd, dir / "d.index", dir / "d.txt", direction);
        const std::vector<std::string> lines = SplitLines(ReadFile(dir / "d.txt"));
        Check(lines.size() == counts.written, "as many lines as counted are written");
        for (const std::string& line : lines) {
            const size_t tab = line.find('\t');
            Check(tab != std::string::npos && tab > 0, "every line has a headword and a TAB");
            if (direction == Direction::Japanese) {
                Check(line[tab - 1] == ']' && line.find('[') < tab, "reading[written]");
            }
        }
    } catch (const DictFormatError&) {
    }
    return 0;
}
