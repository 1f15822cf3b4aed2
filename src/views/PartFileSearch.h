// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The free-text find in a part file that is not shown: the file is read a
// block at a time into a buffer small enough to stay in the processor's
// cache, only the lines around candidate places are tested, and the number
// of the hit's line is counted in a second reading, so that a file without
// a hit is read once and never held whole in memory.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "views/FindDirection.h"
#include "views/LineMatcher.h"

namespace tovix {

class PartFileSearch {
  public:
    // The index of the first line of the file (upwards: the last) that holds
    // the text, the file's lines split as the line store splits them; nullopt
    // when there is none. Throws IoError when the file cannot be read.
    std::optional<int> Search(const std::filesystem::path& path, LineMatcher& matcher,
                              FindDirection direction);

  private:
    // The file offset of the start of the hit's line.
    std::optional<std::uint64_t> FindLineStart(const std::filesystem::path& path,
                                               LineMatcher& matcher, FindDirection direction);
    // The number of lines that end before `offset`, a line's start.
    int CountLines(const std::filesystem::path& path, std::uint64_t offset);

    std::vector<char> buffer_;
};

}  // namespace tovix
