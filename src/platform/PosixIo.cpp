// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PosixIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "platform/FaultInjection.h"
#include "platform/IoError.h"

namespace tovix {

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

int FileDescriptor::Close() {
    return fd_ < 0 ? 0 : ::close(std::exchange(fd_, -1));
}

FileDescriptor OpenFile(const std::filesystem::path& path, int flags, unsigned mode) {
    FileDescriptor file(::open(path.c_str(), flags | O_CLOEXEC, mode));
    if (!file.IsOpen()) {
        throw IoError(path, errno);
    }
    return file;
}

FileDescriptor OpenRegularFile(const std::filesystem::path& path) {
    FileDescriptor file = OpenFile(path, O_RDONLY | O_NONBLOCK);
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        throw IoError(path, errno);
    }
    if (!S_ISREG(status.st_mode)) {
        throw IoError(path, S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    }
    if (::fcntl(file.Get(), F_SETFL, O_RDONLY) != 0) {
        throw IoError(path, errno);
    }
    return file;
}

size_t ReadSome(int fd, char* data, size_t size, const std::filesystem::path& path) {
    if (const int fault = FaultPoint(FaultOperation::Read)) {
        throw IoError(path, fault);
    }
    for (;;) {
        const ssize_t got = ::read(fd, data, size);
        if (got >= 0) {
            return static_cast<size_t>(got);
        }
        if (errno != EINTR) {
            throw IoError(path, errno);
        }
    }
}

bool ReadAt(int fd, unsigned long long offset, char* data, size_t size,
            const std::filesystem::path& path) {
    if (const int fault = FaultPoint(FaultOperation::Read)) {
        throw IoError(path, fault);
    }
    while (size > 0) {
        const ssize_t got = ::pread(fd, data, size, static_cast<off_t>(offset));
        if (got == 0) {
            return false;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoError(path, errno);
        }
        data += got;
        size -= static_cast<size_t>(got);
        offset += static_cast<unsigned long long>(got);
    }
    return true;
}

void WriteAll(int fd, std::string_view bytes, const std::filesystem::path& path) {
    if (const int fault = FaultPoint(FaultOperation::Write)) {
        throw IoError(path, fault);
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoError(path, errno);
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

void SyncFile(int fd, const std::filesystem::path& path) {
    const int fault = FaultPoint(FaultOperation::Sync);
    if (fault != 0 || ::fsync(fd) != 0) {
        throw IoError(path, fault != 0 ? fault : errno);
    }
}

void SyncDirectory(const std::filesystem::path& dir) {
    const std::filesystem::path name = dir.empty() ? "." : dir;
    const FileDescriptor file(::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!file.IsOpen()) {
        // A directory that may be written but not read cannot be flushed.
        if (errno == EACCES) {
            return;
        }
        throw IoError(name, errno);
    }
    try {
        SyncFile(file.Get(), name);
    } catch (const IoError& e) {
        // Some file systems cannot flush a directory; they say so thus.
        if (e.error() != EINVAL && e.error() != ENOTSUP) {
            throw;
        }
    }
}

void RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    const int fault = FaultPoint(FaultOperation::Rename);
    if (fault != 0 || ::rename(from.c_str(), to.c_str()) != 0) {
        throw IoError(to, fault != 0 ? fault : errno);
    }
}

// Read into a buffer of the file's size, so that a file of many megabytes
// is read in a few calls without being copied; a file that grows meanwhile
// is read to its end all the same.
std::string ReadWholeFile(const std::filesystem::path& path) {
    const FileDescriptor file = OpenRegularFile(path);
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        throw IoError(path, errno);
    }
    std::string text(static_cast<size_t>(status.st_size) + 1, '\0');
    size_t size = 0;
    while (const size_t got = ReadSome(file.Get(), text.data() + size, text.size() - size, path)) {
        size += got;
        if (size == text.size()) {
            text.resize(2 * text.size());
        }
    }
    text.resize(size);
    return text;
}

}  // namespace tovix
