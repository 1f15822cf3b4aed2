// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/LineWriter.h"

#include <fcntl.h>

#include <cerrno>

#include "platform/IoError.h"
#include "platform/StagedFile.h"

namespace tovix {

LineWriter::LineWriter(const std::filesystem::path& path, size_t bufferSize)
    : path_(path), bufferSize_(bufferSize), file_(OpenForWriting(path)) {
    buffer_.reserve(bufferSize_);
}

void LineWriter::Write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > bufferSize_) {
        Flush();
    }
    if (bytes.size() > bufferSize_) {
        WriteAll(file_.Get(), bytes, path_);
        return;
    }
    buffer_.append(bytes);
}

void LineWriter::Flush() {
    if (!buffer_.empty()) {
        WriteAll(file_.Get(), buffer_, path_);
    }
    buffer_.clear();
}

void LineWriter::Close() {
    if (!file_.IsOpen()) {
        return;
    }
    Flush();
    StartWriteback(file_.Get(), path_);
    if (file_.Close() != 0) {
        throw IoError(path_, errno);
    }
}

}  // namespace tovix
