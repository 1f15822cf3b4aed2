// SPDX-License-Identifier: GPL-3.0-or-later
// The EDICT importer. The input's first byte chooses the direction (odd:
// Japanese-English), the rest is the EDICT file (EUC-JP). Promises checked:
// every line of the file is written, skipped or counted as malformed; every
// [EXM] line written has a headword before its first TAB (English headwords
// once each, Japanese ones as "reading[written]").

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "tools/EdictImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix;
    using namespace tovix::fuzz;
    if (size == 0) {
        return 0;
    }
    const Direction direction = data[0] % 2 == 1 ? Direction::Japanese : Direction::English;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::filesystem::path edict = ScratchDir() / "edict";
    const std::filesystem::path exm = ScratchDir() / "edict.txt";
    WriteFile(edict, text);

    const EdictImportCounts counts = ConvertEdict(edict, exm, direction);
    const size_t lines = SplitLines(text).size();
    const std::vector<std::string> written = SplitLines(ReadFile(exm));
    if (direction == Direction::Japanese) {
        // The first line may describe the file and is then passed over; a
        // line with several readings or written forms gives a line for each.
        Check(counts.written + counts.skipped + counts.malformed + 1 >= lines,
              "every EDICT line is written, skipped or malformed");
    }
    Check(written.size() == counts.written, "as many lines as counted are written");
    std::set<std::string> heads;
    for (const std::string& line : written) {
        const size_t tab = line.find('\t');
        Check(tab != std::string::npos && tab > 0, "an imported line has a headword and a TAB");
        const std::string head = line.substr(0, tab);
        if (direction == Direction::English) {
            Check(line.find('\t', tab + 1) == std::string::npos,
                  "an English headword or written form holds no TAB");
            Check(heads.insert(head).second, "an English headword is written once");
        } else {
            Check(head.back() == ']', "a Japanese headword ends with its written form");
        }
    }
    return 0;
}
