// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/GlobalTable.h"

#include <algorithm>

#include "dict/DicTable.h"
#include "dict/DicTableError.h"
#include "dict/KeyAlphabet.h"

namespace tovix {

std::string KeySlotPrefix(Direction direction, int p, int q) {
    std::string key(AlphabetChar(direction, p));
    key += AlphabetChar(direction, q);
    key += '=';
    return key;
}

std::string BlockMarkerLine(Direction direction) {
    return std::string(BlockMarkerKey(direction)) + "=0";
}

std::vector<int> LoadGlobalTable(const std::filesystem::path& path, Direction direction) {
    const TDicTable table = TDicTable::LoadFromFile(path, direction);
    const int n = AlphabetSize(direction);
    if (table.Count() < n * n + 1 || !table.IsMarker(0)) {
        throw DicTableError(path);
    }
    std::vector<int> values(static_cast<size_t>(n * n + 1), 0);
    for (int p = 1; p <= n; ++p) {
        for (int q = 1; q <= n; ++q) {
            const int k = (p - 1) * n + q;
            const std::string prefix = KeySlotPrefix(direction, p, q);
            if (!table.Get(k).starts_with(prefix) || table.Value(k) < -1) {
                throw DicTableError(path);
            }
            values[static_cast<size_t>(k)] = table.Value(k);
        }
    }
    return values;
}

// For each initial i: the previous initial's last entry (the marker's 0 for
// the first), this initial's first key and its last key. A block whose first
// key differs from the previous last one has entries of its own, which begin
// one entry (two lines) after the previous initial's last entry, or at line 0
// when no entry came before (-1). A block with a single entry or none is
// based on its own last value.
std::vector<int> SplitBases(const std::vector<int>& values, Direction direction) {
    const int n = AlphabetSize(direction);
    std::vector<int> bases(static_cast<size_t>(n + 1), 0);
    for (int i = 1; i <= n; ++i) {
        const int previous = values[static_cast<size_t>((i - 1) * n)];
        const int first = values[static_cast<size_t>((i - 1) * n + 1)];
        const int last = values[static_cast<size_t>(i * n)];
        int base = previous;
        if (base != first) {
            base = previous < 0 ? 0 : previous + 2;
        }
        if (i == 1) {
            base = 0;
        }
        bases[static_cast<size_t>(i)] = std::min(base, last);
    }
    return bases;
}

std::vector<int> PartBases(const std::vector<int>& values, Direction direction) {
    const int n = AlphabetSize(direction);
    std::vector<int> bases(static_cast<size_t>(n + 1), 0);
    for (int i = 1; i <= n; ++i) {
        bases[static_cast<size_t>(i)] = std::min(0, values[static_cast<size_t>(i * n)]);
    }
    return bases;
}

std::vector<std::string> TableFileLines(const std::vector<int>& values,
                                        const std::vector<int>& bases, Direction direction) {
    const int n = AlphabetSize(direction);
    const std::string marker = BlockMarkerLine(direction);
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(n * (n + 1)));
    for (int p = 1; p <= n; ++p) {
        lines.push_back(marker);
        const int base = bases[static_cast<size_t>(p)];
        for (int q = 1; q <= n; ++q) {
            const int value = values[static_cast<size_t>((p - 1) * n + q)];
            lines.push_back(KeySlotPrefix(direction, p, q) +
                            std::to_string(std::max(0, value - base)));
        }
    }
    return lines;
}

void WriteTableFile(LineWriter& out, const std::vector<int>& values, const std::vector<int>& bases,
                    Direction direction) {
    for (const std::string& line : TableFileLines(values, bases, direction)) {
        out.WriteLine(line);
    }
}

}  // namespace tovix
