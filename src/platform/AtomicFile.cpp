#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

#include "platform/IoError.h"
#include "platform/PosixIo.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

// The file that is really replaced: the final target of a symbolic link, so
// that a settings file linked from elsewhere stays linked.
fs::path ResolveTarget(const fs::path& path) {
    std::error_code error;
    if (!fs::is_symlink(path, error)) {
        return path;
    }
    fs::path target = fs::weakly_canonical(path, error);
    return error ? path : target;
}

// Opens a new, uniquely named file beside `target`; O_EXCL keeps two writers
// (threads or processes) from ever sharing a temporary file.
int CreateTemporary(const fs::path& target, fs::path& temporary) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        temporary = target;
        temporary += "." + std::to_string(getpid()) + "." + std::to_string(counter++) + ".tmp";
        int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
}

// Makes the rename itself durable; failure here does not undo the write.
void SyncDirectory(const fs::path& directory) {
    int fd = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}  // namespace

void WriteFileAtomically(const fs::path& path, std::string_view bytes) {
    const fs::path target = ResolveTarget(path);
    fs::path temporary;
    FileDescriptor file(CreateTemporary(target, temporary));
    if (!file.IsOpen()) {
        throw IoError(path, errno);
    }
    try {
        struct stat old {};
        if (stat(target.c_str(), &old) == 0) {
            fchmod(file.Get(), old.st_mode & 07777);
        }
        WriteAll(file.Get(), bytes, path);
        if (fsync(file.Get()) != 0 || file.Close() != 0 ||
            rename(temporary.c_str(), target.c_str()) != 0) {
            throw IoError(path, errno);
        }
    } catch (const IoError& e) {
        unlink(temporary.c_str());
        throw IoError(path, e.error());
    }
    SyncDirectory(target.parent_path());
}

}  // namespace tovix
