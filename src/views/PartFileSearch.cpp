// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/PartFileSearch.h"

#include <algorithm>
#include <cstring>
#include <string_view>

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
    buffer_.resize(std::max(buffer_.size(), kBlock));
    std::optional<std::uint64_t> found;
    std::uint64_t offset = 0;  // of the buffer's first byte in the file
    size_t carried = 0;        // bytes of an unfinished line at the buffer's start
    for (bool atEnd = false; !atEnd;) {
        if (buffer_.size() - carried < kBlock / 2) {
            buffer_.resize(buffer_.size() * 2);  // a line longer than a block
        }
        const size_t got = file.Read(buffer_.data() + carried, buffer_.size() - carried);
        atEnd = got == 0;
        const std::string_view block(buffer_.data(), carried + got);
        const size_t whole = WholeLinesEnd(block, atEnd);
        if (std::optional<size_t> start = SearchLines(block.substr(0, whole), matcher, direction)) {
            found = offset + *start;
            if (direction == FindDirection::Down) {
                return found;
            }
        }
        carried = block.size() - whole;
        std::memmove(buffer_.data(), buffer_.data() + whole, carried);
        offset += whole;
    }
    return found;
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
