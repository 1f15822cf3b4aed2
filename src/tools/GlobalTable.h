// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The global table file (".TBL") that the table builders write and the split
// step and the table file writer read: a block marker line, then one line per
// key slot (p, q), p and q running over the alphabet, each the key, "=" and
// the pair-file line of the key's last entry (-1 while no entry reached it).
// Also the turning of such a table into the viewer's table file (".DAT"),
// whose values count lines inside each part file.

#include <filesystem>
#include <string>
#include <vector>

#include "dict/Direction.h"
#include "tools/LineWriter.h"

namespace tovix {

// The key of slot (p, q), both 1-based alphabet positions, with its "=".
std::string KeySlotPrefix(Direction direction, int p, int q);

// The block marker line, "**=0" or "＊＊=0".
std::string BlockMarkerLine(Direction direction);

// Reads a global table and returns its values, index 0 being the marker
// (always 0) and index (p - 1) x N + q key slot (p, q). A file that cannot be
// read, has fewer than N² + 1 lines, a line out of place (wrong key, no
// marker) or a value that is not a decimal integer of at least -1 raises
// DicTableError.
std::vector<int> LoadGlobalTable(const std::filesystem::path& path, Direction direction);

// The pair-file line at which the values of each initial's block are counted
// from, for a table over a whole sorted pair file (the split step): index i
// (1 .. N) holds initial i's base; index 0 is unused. A block without entries
// gets its own value as base, so its table file values are all 0.
std::vector<int> SplitBases(const std::vector<int>& values, Direction direction);

// The same for a table over one part file (entry editing): the values already
// count lines inside that part, so every base is 0, except that a block whose
// keys all lie before the first line (-1) is based on -1.
std::vector<int> PartBases(const std::vector<int>& values, Direction direction);

// The table file's lines: for each initial its marker line and its N key
// lines, each value less the initial's base (never below 0).
std::vector<std::string> TableFileLines(const std::vector<int>& values,
                                        const std::vector<int>& bases, Direction direction);

// Writes the lines of TableFileLines.
void WriteTableFile(LineWriter& out, const std::vector<int>& values, const std::vector<int>& bases,
                    Direction direction);

}  // namespace tovix
