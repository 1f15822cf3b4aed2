#include "platform/StagedFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <system_error>

#include "platform/IoError.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

// 16 hexadecimal digits from the kernel's random source.
std::string RandomDigits(const fs::path& target) {
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, 0) != static_cast<ssize_t>(sizeof bits)) {
        throw IoError(target, errno != 0 ? errno : EIO);
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(bits));
    return digits;
}

}  // namespace

fs::path ReplacedFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_symlink(path, error)) {
        return path;
    }
    const fs::path target = fs::weakly_canonical(path, error);
    return error ? path : target;
}

StagedFile CreateStagedFile(const fs::path& target) {
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    for (;;) {
        StagedFile staged;
        staged.path = target.parent_path() /
                      ("." + target.filename().string() + ".tovix-" + RandomDigits(target));
        // A file that replaces another one starts private and takes its bits
        // once it is open; a new file gets the usual bits under the umask.
        const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
        staged.file = FileDescriptor(::open(staged.path.c_str(), flags, exists ? 0600 : 0666));
        if (!staged.file.IsOpen()) {
            if (errno == EEXIST) {
                continue;
            }
            throw IoError(target, errno);
        }
        if (exists && ::fchmod(staged.file.Get(), old.st_mode & 07777) != 0) {
            const int error = errno;
            ::unlink(staged.path.c_str());
            throw IoError(target, error);
        }
        return staged;
    }
}

}  // namespace tovix
