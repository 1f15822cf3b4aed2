// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A loaded table file (".DAT") or global table file (".TBL"): lines of a key,
// "=" and a decimal integer, the key being 2 bytes (English-Japanese) or 4
// bytes (Japanese-English). Block marker lines ("**=0", "＊＊=0") have the
// same layout. Every value is checked and parsed once, when the lines are
// taken in, so a damaged file is reported at opening and the search reads
// plain integers on every keystroke.
// The line texts are kept as read, so that a table saved again is the same
// bytes apart from the lines that were replaced.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "dict/Direction.h"

namespace tovix {

class TDicTable {
  public:
    // An empty table: every key gets the first line of the part alone.
    TDicTable() = default;

    // Takes the lines of a table of `direction`. A line that is not key, "="
    // and a decimal integer raises DicTableError naming `source`.
    TDicTable(std::vector<std::string> lines, Direction direction, std::filesystem::path source);

    // Reads a table file. A file that cannot be read and a damaged line both
    // raise DicTableError with the file's path.
    static TDicTable LoadFromFile(const std::filesystem::path& path, Direction direction);

    int Count() const { return static_cast<int>(lines_.size()); }

    // The line as read; indexes outside 0 .. Count-1 raise std::out_of_range.
    const std::string& Get(int index) const;
    std::string_view Key(int index) const;
    int Value(int index) const;
    bool IsMarker(int index) const;

    // The first key line (block markers never count) whose key is `key`;
    // Count() when there is none. A table laid out as the tools write it
    // (every line holding the key of its place) answers at once, any other
    // by a scan from the top.
    int FindKeyLine(std::string_view key) const;

    // Replaces line `index` by `line`, which is checked like a loaded line;
    // on a damaged line DicTableError is raised and the table is unchanged.
    void Put(int index, std::string line);

    // Writes every line followed by CR LF; a file that cannot be written
    // raises IoError.
    void SaveToFile(const std::filesystem::path& path) const;

  private:
    struct Line {
        std::string text;
        int value = 0;
        bool marker = false;
    };

    Line Parse(std::string text) const;
    const Line& At(int index) const;
    // The key that line `index` holds in the tools' layout.
    std::string ExpectedKey(int index) const;

    std::vector<Line> lines_;
    Direction direction_ = Direction::English;
    std::filesystem::path path_;
    bool toolsLayout_ = false;
};

}  // namespace tovix
