// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The free-text find in a part file that is not shown: the file is read a
// block at a time into a buffer small enough to stay in the processor's
// cache, only the lines around candidate places are tested, and the number
// of the hit's line is counted in a second reading, so that a file without
// a hit is read once and never held whole in memory. A line longer than the
// buffer is searched a piece at a time, so memory stays at a block whatever
// the lines' lengths.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
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
    // Searches the whole lines of a block read at file offset `offset` and
    // begins or goes on with a line longer than the buffer; returns where
    // the bytes to keep for the next block begin.
    size_t SearchBlock(std::string_view block, std::uint64_t offset, bool atEnd,
                       LineMatcher& matcher, FindDirection direction);
    // Searches a piece of the long line up to `limit` (kNoPlace: the line's
    // last piece, which `hay` ends); returns `limit`.
    size_t SearchPiece(std::string_view hay, size_t limit, const LineMatcher& matcher);
    // The number of lines that end before `offset`, a line's start.
    int CountLines(const std::filesystem::path& path, std::uint64_t offset);

    // A line longer than the buffer, searched a piece at a time: the file
    // offset of its start, the character boundary in the buffer from which
    // its characters are walked on, and whether it holds the text.
    struct LongLine {
        std::uint64_t start;
        size_t boundary;
        bool holds;
    };

    std::vector<char> buffer_;
    size_t overlap_ = 1;
    std::optional<std::uint64_t> found_;
    std::optional<LongLine> longLine_;
};

}  // namespace tovix
