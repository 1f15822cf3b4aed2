// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/LineWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/IoError.h"
#include "platform/StagedFile.h"

namespace tovix {

LineWriter::LineWriter(const std::filesystem::path& path, size_t bufferSize)
    : path_(path), bufferSize_(bufferSize), file_(OpenForWriting(path, OldBytes::WrittenOver)) {
    struct stat status {};
    if (::fstat(file_.Get(), &status) == 0 && S_ISREG(status.st_mode)) {
        oldSize_ = static_cast<unsigned long long>(status.st_size);
    }
    buffer_.reserve(bufferSize_);
}

LineWriter::~LineWriter() {
    if (file_.IsOpen()) {
        CutOldBytes();
    }
}

void LineWriter::Write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > bufferSize_) {
        Flush();
    }
    if (bytes.size() > bufferSize_) {
        WriteOut(bytes);
        return;
    }
    buffer_.append(bytes);
}

void LineWriter::WriteOut(std::string_view bytes) {
    WriteAll(file_.Get(), bytes, path_);
    written_ += bytes.size();
}

void LineWriter::Flush() {
    if (!buffer_.empty()) {
        WriteOut(buffer_);
    }
    buffer_.clear();
}

bool LineWriter::CutOldBytes() {
    if (written_ >= oldSize_) {
        return true;
    }
    if (::ftruncate(file_.Get(), static_cast<off_t>(written_)) != 0) {
        return false;
    }
    oldSize_ = written_;
    return true;
}

void LineWriter::Close() {
    if (!file_.IsOpen()) {
        return;
    }
    Flush();
    if (!CutOldBytes()) {
        throw IoError(path_, errno);
    }
    StartWriteback(file_.Get(), path_);
    if (file_.Close() != 0) {
        throw IoError(path_, errno);
    }
}

}  // namespace tovix
