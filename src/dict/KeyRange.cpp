// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/KeyRange.h"

#include <algorithm>

namespace tovix {
namespace {

// The widening scans cross block boundaries and read marker lines like key
// lines: a key without entries takes the nearest smaller value above it as
// its start and, if that leaves the range a single line, the nearest greater
// value below it as its end.
void Widen(const TDicTable& table, int line, KeyRange& range) {
    for (int i = line - 2; i >= 0; --i) {
        if (table.Value(i) < range.start.value) {
            range.start = TextLineIndex(table.Value(i));
            break;
        }
    }
    if (range.start != range.end) {
        return;
    }
    for (int i = line + 1; i < table.Count(); ++i) {
        if (table.Value(i) > range.end.value) {
            range.end = TextLineIndex(table.Value(i));
            break;
        }
    }
}

}  // namespace

KeyRange FindKeyRange(const TDicTable& table, std::string_view key) {
    const int line = table.FindKeyLine(key);
    KeyRange range;
    if (line < table.Count()) {
        // A key line at the very top has no line above; the part's first
        // line stands in for it, as a block marker's 0 would.
        range.start = TextLineIndex(line > 0 ? table.Value(line - 1) : 0);
        range.end = TextLineIndex(table.Value(line));
    }
    if (range.start == range.end) {
        Widen(table, line, range);
    }
    range.start = std::max(range.start, TextLineIndex(0));
    return range;
}

}  // namespace tovix
