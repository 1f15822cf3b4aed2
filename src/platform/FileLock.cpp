// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>

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

}  // namespace

FileLock::FileLock(const std::filesystem::path& lockPath, const std::filesystem::path& reportedPath)
    : file_(OpenLockFile(lockPath, reportedPath)) {
    Lock(file_.Get(), LOCK_EX, reportedPath);
}

std::optional<FileLock> FileLock::TryLock(const std::filesystem::path& lockPath,
                                          const std::filesystem::path& reportedPath) {
    FileDescriptor file = OpenLockFile(lockPath, reportedPath);
    if (!Lock(file.Get(), LOCK_EX | LOCK_NB, reportedPath)) {
        return std::nullopt;
    }
    return FileLock(std::move(file));
}

}  // namespace tovix
