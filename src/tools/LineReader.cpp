// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/LineReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "components/LineEnd.h"
#include "platform/IoError.h"
#include "platform/PosixIo.h"

namespace tovix {
namespace {

constexpr size_t kChunk = 1 << 20;
constexpr size_t kMinChunk = 4096;

}  // namespace

LineReader::LineReader(const std::filesystem::path& path)
    : path_(path), file_(OpenRegularFile(path)) {
    struct stat status {};
    if (::fstat(file_.Get(), &status) != 0) {
        throw IoError(path, errno);
    }
    size_ = static_cast<unsigned long long>(status.st_size);
    // A small file gets a buffer of its size (plus the byte that meets the
    // end), not a whole chunk to clear: dictionary sets have many small parts.
    chunk_ = static_cast<size_t>(std::clamp<unsigned long long>(size_ + 1, kMinChunk, kChunk));
}

// Moves the unread rest to the front of the buffer and reads the next chunk
// after it. The buffer keeps its size, so that no chunk is cleared first.
bool LineReader::Fill() {
    if (eof_) {
        return false;
    }
    const size_t unread = end_ - begin_;
    std::copy(buffer_.begin() + static_cast<long>(begin_),
              buffer_.begin() + static_cast<long>(end_), buffer_.begin());
    begin_ = 0;
    end_ = unread;
    if (buffer_.size() < end_ + chunk_) {
        buffer_.resize(end_ + chunk_);
    }
    const size_t n = ReadSome(file_.Get(), buffer_.data() + end_, chunk_, path_);
    end_ += n;
    eof_ = n == 0;
    return n > 0;
}

bool LineReader::Next(std::string_view& line) {
    size_t searchFrom = begin_;
    while (true) {
        if (skipLf_ && begin_ < end_) {
            if (buffer_[begin_] == '\n') {
                ++begin_;
                ++consumed_;
            }
            skipLf_ = false;
            searchFrom = begin_;
        }
        const char* data = buffer_.data();
        const char* lineEnd = FindLineEnd(data + searchFrom, data + end_);
        if (lineEnd != nullptr) {
            const auto stop = static_cast<size_t>(lineEnd - data);
            line = std::string_view(data + begin_, stop - begin_);
            skipLf_ = *lineEnd == '\r';
            consumed_ += stop + 1 - begin_;
            begin_ = stop + 1;
            return true;
        }
        const size_t scanned = end_ - begin_;
        if (!Fill()) {
            if (begin_ >= end_) {
                return false;
            }
            line = std::string_view(buffer_.data() + begin_, end_ - begin_);
            consumed_ += line.size();
            begin_ = end_;
            return true;
        }
        searchFrom = begin_ + scanned;
    }
}

}  // namespace tovix
