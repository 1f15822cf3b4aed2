#include "tools/LineReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/IoError.h"
#include "platform/PosixIo.h"

namespace tovix {
namespace {

constexpr size_t kChunk = 1 << 20;
constexpr size_t kMinChunk = 4096;

// The first CR or LF in [from, to), or nullptr.
const char* FindLineEnd(const char* from, const char* to) {
    const auto* lf =
        static_cast<const char*>(std::memchr(from, '\n', static_cast<size_t>(to - from)));
    const char* crLimit = lf != nullptr ? lf : to;
    const auto* cr =
        static_cast<const char*>(std::memchr(from, '\r', static_cast<size_t>(crLimit - from)));
    return cr != nullptr ? cr : lf;
}

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

// Moves the unread rest to the front of the buffer and appends the next chunk.
bool LineReader::Fill() {
    if (eof_) {
        return false;
    }
    buffer_.erase(0, begin_);
    begin_ = 0;
    size_t old = buffer_.size();
    buffer_.resize(old + chunk_);
    const size_t n = ReadSome(file_.Get(), buffer_.data() + old, chunk_, path_);
    buffer_.resize(old + n);
    eof_ = n == 0;
    return n > 0;
}

bool LineReader::Next(std::string_view& line) {
    size_t searchFrom = begin_;
    while (true) {
        if (skipLf_ && begin_ < buffer_.size()) {
            if (buffer_[begin_] == '\n') {
                ++begin_;
                ++consumed_;
            }
            skipLf_ = false;
            searchFrom = begin_;
        }
        const char* data = buffer_.data();
        const char* end = FindLineEnd(data + searchFrom, data + buffer_.size());
        if (end != nullptr) {
            size_t stop = static_cast<size_t>(end - data);
            line = std::string_view(data + begin_, stop - begin_);
            skipLf_ = *end == '\r';
            consumed_ += stop + 1 - begin_;
            begin_ = stop + 1;
            return true;
        }
        size_t scanned = buffer_.size() - begin_;
        if (!Fill()) {
            if (begin_ >= buffer_.size()) {
                return false;
            }
            line = std::string_view(buffer_.data() + begin_, buffer_.size() - begin_);
            consumed_ += line.size();
            begin_ = buffer_.size();
            return true;
        }
        searchFrom = begin_ + scanned;
    }
}

}  // namespace tovix
