// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/PartFileSearch.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "components/MbString.h"
#include "platform/PosixIo.h"

namespace tovix {
namespace {

constexpr size_t kBlock = 256 * 1024;

// A part file open for reading from its start.
class PartFile {
  public:
    explicit PartFile(const std::filesystem::path& path)
        : path_(path), file_(OpenRegularFile(path)) {}

    // Reads up to `size` bytes; 0 at the end of the file.
    size_t Read(char* data, size_t size) { return ReadSome(file_.Get(), data, size, path_); }

  private:
    std::filesystem::path path_;
    FileDescriptor file_;
};

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The end of the whole lines of a block that begins at a line's start: just
// after its last CR or LF (an LF that then begins the next block stands
// alone on an empty line, which no text is found in). At the end of the
// file the last line is whole without a line end.
size_t WholeLinesEnd(std::string_view block, bool atEnd) {
    if (atEnd) {
        return block.size();
    }
    const size_t last = block.find_last_of("\r\n");
    return last == std::string_view::npos ? 0 : last + 1;
}

// The start of the first line (upwards: the last) of whole lines that holds
// the text; only the lines around candidate places are tested.
std::optional<size_t> SearchLines(std::string_view lines, LineMatcher& matcher,
                                  FindDirection direction) {
    std::optional<size_t> found;
    size_t from = 0;
    for (size_t at; (at = matcher.NextCandidate(lines, from)) != kNoPlace;) {
        size_t start = at;
        while (start > 0 && !IsLineEnd(lines[start - 1])) {
            --start;
        }
        size_t end = at;
        while (end < lines.size() && !IsLineEnd(lines[end])) {
            ++end;
        }
        if (matcher.Holds(lines.substr(start, end - start))) {
            found = start;
            if (direction == FindDirection::Down) {
                break;
            }
        }
        from = std::max(end, at + 1);
    }
    return found;
}

}  // namespace

std::optional<int> PartFileSearch::Search(const std::filesystem::path& path, LineMatcher& matcher,
                                          FindDirection direction) {
    const std::optional<std::uint64_t> start = FindLineStart(path, matcher, direction);
    if (!start) {
        return std::nullopt;
    }
    return CountLines(path, *start);
}

std::optional<std::uint64_t> PartFileSearch::FindLineStart(const std::filesystem::path& path,
                                                           LineMatcher& matcher,
                                                           FindDirection direction) {
    PartFile file(path);
    // A hit may begin in one piece of a long line and end in the next, and
    // whether a lead byte begins a double-byte character shows only in the
    // byte after it: so much of a piece goes on with the next.
    overlap_ = std::max<size_t>(matcher.TextSize(), 2) - 1;
    buffer_.resize(kBlock + overlap_);
    found_.reset();
    longLine_.reset();
    std::uint64_t offset = 0;  // of the buffer's first byte in the file
    size_t carried = 0;        // bytes of an unfinished line at the buffer's start
    for (bool atEnd = false; !atEnd;) {
        const size_t got = file.Read(buffer_.data() + carried, buffer_.size() - carried);
        atEnd = got == 0;
        const std::string_view block(buffer_.data(), carried + got);
        const size_t next = SearchBlock(block, offset, atEnd, matcher, direction);
        if (found_ && direction == FindDirection::Down) {
            return found_;
        }
        carried = block.size() - next;
        std::memmove(buffer_.data(), buffer_.data() + next, carried);
        offset += next;
        if (longLine_ && !longLine_->holds) {
            longLine_->boundary -= next;
        }
    }
    return found_;
}

size_t PartFileSearch::SearchBlock(std::string_view block, std::uint64_t offset, bool atEnd,
                                   LineMatcher& matcher, FindDirection direction) {
    size_t from = 0;
    if (longLine_) {
        const size_t lineEnd = block.find_first_of("\r\n");
        if (lineEnd == std::string_view::npos && !atEnd) {
            return SearchPiece(block, block.size() - overlap_, matcher);
        }
        from = std::min(lineEnd, block.size());
        SearchPiece(block.substr(0, from), kNoPlace, matcher);
        longLine_.reset();
        if (found_ && direction == FindDirection::Down) {
            return from;
        }
    }
    const size_t whole = std::max(from, WholeLinesEnd(block, atEnd));
    const std::string_view lines = block.substr(from, whole - from);
    if (std::optional<size_t> start = SearchLines(lines, matcher, direction)) {
        found_ = offset + from + *start;
        if (direction == FindDirection::Down) {
            return whole;
        }
    }
    if (atEnd || block.size() - whole <= kBlock / 2 + overlap_) {
        return whole;  // the unfinished line goes on in the next block
    }
    // A line longer than half a block is searched a piece at a time, so that
    // the buffer never holds more than a block of it.
    longLine_ = LongLine{offset + whole, whole, false};
    return SearchPiece(block, block.size() - overlap_, matcher);
}

size_t PartFileSearch::SearchPiece(std::string_view hay, size_t limit, const LineMatcher& matcher) {
    LongLine& line = *longLine_;
    if (!line.holds) {
        line.holds = matcher.PlaceFrom(hay, line.boundary, limit) != kNoPlace;
        if (line.holds) {
            found_ = line.start;
        } else if (limit != kNoPlace) {
            line.boundary = BoundaryAtOrAfter(hay, line.boundary, limit);
        }
    }
    return limit;
}

int PartFileSearch::CountLines(const std::filesystem::path& path, std::uint64_t offset) {
    PartFile file(path);
    int lines = 0;
    bool afterCr = false;  // the byte before was a CR: it ends a line unless LF follows
    for (std::uint64_t done = 0; done < offset;) {
        const size_t got =
            file.Read(buffer_.data(),
                      static_cast<size_t>(std::min<std::uint64_t>(buffer_.size(), offset - done)));
        if (got == 0) {
            break;  // the file became shorter since it was searched
        }
        for (size_t i = 0; i < got; ++i) {
            const char c = buffer_[i];
            lines += afterCr && c != '\n';
            lines += c == '\n';
            afterCr = c == '\r';
        }
        done += got;
    }
    // A line starts at `offset`, so a CR just before it ended a line.
    return lines + afterCr;
}

}  // namespace tovix
