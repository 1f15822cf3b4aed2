// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a text file through a large buffer; every line written with
// WriteLine ends with CR LF. Failures (cannot create, disk full) throw IoError
// naming the file; Close reports a failure of the final flush, so a file is
// never taken as written when it is not.
//
// The file is opened without following a symbolic link: a staged file is
// written as the file it was created as, a work file that someone replaced by
// a link is refused rather than written through.
//
// An existing work file is written over rather than emptied first, and what
// is left of its old bytes past the written ones is cut off when it closes,
// also when the writer goes without Close (a failing step): the file then
// holds what was written, as if it had been emptied.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/PosixIo.h"

namespace tovix {

class LineWriter {
  public:
    // Creates (or truncates) the file. Text is gathered up to `bufferSize`
    // bytes before it is written; a longer piece is written as it is.
    explicit LineWriter(const std::filesystem::path& path, size_t bufferSize = kDefaultBuffer);
    ~LineWriter();
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    void Write(std::string_view bytes);
    void WriteLine(std::string_view line) {
        Write(line);
        Write("\r\n");
    }
    // Flushes and closes; throws IoError when the data did not reach the file.
    void Close();

    const std::filesystem::path& path() const { return path_; }

    static constexpr size_t kDefaultBuffer = 1 << 20;

  private:
    void Flush();
    void WriteOut(std::string_view bytes);
    // Cuts the old bytes past those written; false when that failed.
    bool CutOldBytes();

    std::filesystem::path path_;
    size_t bufferSize_;
    FileDescriptor file_;
    std::string buffer_;
    unsigned long long written_ = 0;  // bytes written to the file
    unsigned long long oldSize_ = 0;  // the size the file had when opened
};

}  // namespace tovix
