// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The headword lines of the loaded part file that the search compares for an
// entry key: from `start` to `end`, both included, in steps of two lines.
// A table value is the line of the last entry of its key, so the range runs
// from the previous key's last entry (or the first line of the part) to this
// key's last entry. A key without entries of its own, or one that stands in
// no table line, is widened to the nearest values below and above it, so the
// nearest entries are still compared; a table without lines gives line 0
// alone.

#include <algorithm>
#include <string_view>

#include "components/Positions.h"
#include "dict/DicTable.h"

namespace tovix {

struct KeyRange {
    TextLineIndex start{0};
    TextLineIndex end{0};

    // The range cut at the last of the part's `lines`.
    KeyRange Within(LineCount lines) const {
        return {start, std::min(end, lines.Last<TextLineIndex>())};
    }
};

// `key` is compared with the keys of the table's key lines (block markers
// never match). `start` is never below 0; `end` may lie beyond the loaded
// part's last line and the search stops there.
KeyRange FindKeyRange(const TDicTable& table, std::string_view key);

}  // namespace tovix
