#include "tools/LineWriter.h"

#include <cerrno>

#include "platform/IoError.h"

namespace tovix {
namespace {

constexpr size_t kBufferSize = 1 << 20;

}  // namespace

LineWriter::LineWriter(const std::filesystem::path& path) : path_(path) {
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        throw IoError(path, errno);
    }
    buffer_.reserve(kBufferSize);
}

LineWriter::~LineWriter() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void LineWriter::Write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kBufferSize) {
        Flush();
    }
    if (bytes.size() > kBufferSize) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
            throw IoError(path_, errno != 0 ? errno : EIO);
        }
        return;
    }
    buffer_.append(bytes);
}

void LineWriter::Flush() {
    if (!buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
        throw IoError(path_, errno != 0 ? errno : EIO);
    }
    buffer_.clear();
}

void LineWriter::Close() {
    if (file_ == nullptr) {
        return;
    }
    Flush();
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) {
        throw IoError(path_, errno != 0 ? errno : EIO);
    }
}

}  // namespace tovix
