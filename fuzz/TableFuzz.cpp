// SPDX-License-Identifier: GPL-3.0-or-later
// The table file reader and the key ranges. The input's first line names the
// direction ("J" Japanese-English, anything else English-Japanese); the rest
// is the table file. A table that loads must save to the same lines, and
// every key, of the table or not, must give a range that starts inside the
// part.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "dict/DicTable.h"
#include "dict/DicTableError.h"
#include "dict/KeyAlphabet.h"
#include "dict/KeyRange.h"

namespace tovix::fuzz {
namespace {

void CheckRanges(const TDicTable& table, Direction direction, std::string_view text) {
    std::vector<std::string> keys;
    for (int i = 0; i < table.Count(); ++i) {
        keys.emplace_back(table.Key(i));
    }
    // Keys of the alphabet picked by the input's bytes, and raw byte pairs.
    const int letters = AlphabetSize(direction);
    for (size_t i = 0; i + 1 < text.size() && keys.size() < 256; i += 2) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(text[i + 1]);
        keys.push_back(std::string(AlphabetChar(direction, 1 + a % letters)) +
                       std::string(AlphabetChar(direction, 1 + b % letters)));
        keys.push_back(std::string(text.substr(i, 2)));
    }
    keys.emplace_back();
    for (const std::string& key : keys) {
        const KeyRange range = FindKeyRange(table, key);
        Check(range.start.value >= 0, "a key range starts inside the part");
    }
}

}  // namespace
}  // namespace tovix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix;
    using namespace tovix::fuzz;
    const auto [choice, text] = SplitChoice(data, size);
    const Direction direction = choice == "J" ? Direction::Japanese : Direction::English;
    const std::filesystem::path file = ScratchDir() / "TABLE.DAT";
    WriteFile(file, text);

    TDicTable table;
    try {
        table = TDicTable::LoadFromFile(file, direction);
    } catch (const DicTableError&) {
        return 0;
    }
    const std::vector<std::string> lines = SplitLines(text);
    Check(table.Count() == static_cast<int>(lines.size()), "one table line per file line");
    for (int i = 0; i < table.Count(); ++i) {
        Check(table.Get(i) == lines[static_cast<size_t>(i)], "table lines are kept as read");
        Check(table.Key(i).size() == static_cast<size_t>(KeyBytes(direction)),
              "every key has the key's length");
    }
    table.SaveToFile(file);
    const TDicTable again = TDicTable::LoadFromFile(file, direction);
    Check(again.Count() == table.Count(), "a saved table loads back whole");
    for (int i = 0; i < table.Count(); ++i) {
        Check(again.Get(i) == table.Get(i) && again.Value(i) == table.Value(i),
              "a saved table loads back the same");
    }
    if (table.Count() > 0) {
        const std::string before = table.Get(0);
        try {
            table.Put(0, std::string(text.substr(0, 12)));
        } catch (const DicTableError&) {
            Check(table.Get(0) == before, "a refused line leaves the table as it was");
        }
    }
    CheckRanges(table, direction, text);
    return 0;
}
