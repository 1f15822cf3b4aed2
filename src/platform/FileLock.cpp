// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/IoError.h"

namespace tovix {
namespace {

FileDescriptor OpenLockFile(const std::filesystem::path& lockPath,
                            const std::filesystem::path& reportedPath) {
    FileDescriptor file(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.IsOpen()) {
        throw IoError(reportedPath, errno);
    }
    return file;
}

// flock with `operation`; false when a non-blocking request found the lock
// taken.
bool Lock(int fd, int operation, const std::filesystem::path& reportedPath) {
    while (::flock(fd, operation) != 0) {
        if (errno == EWOULDBLOCK) {
            return false;
        }
        if (errno != EINTR) {
            throw IoError(reportedPath, errno);
        }
    }
    return true;
}

// Whether the name `path` still leads to the open file `fd`.
bool StillNamed(int fd, const std::filesystem::path& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// The lock of the file now named `lockPath`, waiting or not (then an unopened
// descriptor when it is taken).
FileDescriptor LockNamed(const std::filesystem::path& lockPath,
                         const std::filesystem::path& reportedPath, LockFile use, bool wait) {
    for (;;) {
        FileDescriptor file = OpenLockFile(lockPath, reportedPath);
        if (!Lock(file.Get(), wait ? LOCK_EX : LOCK_EX | LOCK_NB, reportedPath)) {
            return {};
        }
        // A holder that removes its file removed it before letting go.
        if (use == LockFile::Kept || StillNamed(file.Get(), lockPath)) {
            return file;
        }
    }
}

}  // namespace

FileLock::FileLock(const std::filesystem::path& lockPath, const std::filesystem::path& reportedPath,
                   LockFile use)
    : file_(LockNamed(lockPath, reportedPath, use, true)), path_(lockPath), use_(use) {}

std::optional<FileLock> FileLock::TryLock(const std::filesystem::path& lockPath,
                                          const std::filesystem::path& reportedPath, LockFile use) {
    FileDescriptor file = LockNamed(lockPath, reportedPath, use, false);
    if (!file.IsOpen()) {
        return std::nullopt;
    }
    return FileLock(std::move(file), lockPath, use);
}

FileLock::~FileLock() {
    if (use_ == LockFile::Removed && file_.IsOpen()) {
        ::unlink(path_.c_str());
    }
}

}  // namespace tovix
