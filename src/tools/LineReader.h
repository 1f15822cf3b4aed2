// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Streams the lines of a text file without holding the file in memory.
//
// CR LF, a lone LF and a lone CR each end a line (LF CR ends one line and
// starts an empty one); a last line without a line end is still a line; an
// empty file has no lines. Every byte other than the line ends reaches the
// caller, so no text is ever dropped.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/PosixIo.h"

namespace tovix {

class LineReader {
  public:
    // Opens the file; throws IoError when it cannot be opened or is not a
    // regular file.
    explicit LineReader(const std::filesystem::path& path);

    // The next line, valid until the next call; false at the end of the file.
    // Throws IoError when reading fails.
    bool Next(std::string_view& line);

    // Bytes consumed so far and the file's size when it was opened, for
    // progress display.
    unsigned long long Consumed() const { return consumed_; }
    unsigned long long Size() const { return size_; }

  private:
    bool Fill();

    std::filesystem::path path_;
    FileDescriptor file_;
    std::string buffer_;
    size_t begin_ = 0;  // first unread byte in buffer_
    size_t end_ = 0;    // end of the bytes read into buffer_
    bool eof_ = false;
    bool skipLf_ = false;  // the previous line ended with CR; a following LF belongs to it
    unsigned long long consumed_ = 0;
    unsigned long long size_ = 0;
    size_t chunk_ = 0;  // bytes read at a time
};

}  // namespace tovix
