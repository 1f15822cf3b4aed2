#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/IoError.h"

namespace tovix {

FileLock::FileLock(const std::filesystem::path& lockPath, const std::filesystem::path& reportedPath)
    : fd_(open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
    if (fd_ < 0) {
        throw IoError(reportedPath, errno);
    }
    while (flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            int error = errno;
            close(fd_);
            throw IoError(reportedPath, error);
        }
    }
}

FileLock::~FileLock() {
    close(fd_);
}

}  // namespace tovix
