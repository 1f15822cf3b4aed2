// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/StagedFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <system_error>

#include "platform/IoError.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kStagedInfix = ".tovix-";
constexpr size_t kRandomDigits = 16;

// 16 hexadecimal digits from the kernel's random source.
std::string RandomDigits(const fs::path& target) {
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, 0) != static_cast<ssize_t>(sizeof bits)) {
        throw IoError(target, errno != 0 ? errno : EIO);
    }
    char digits[kRandomDigits + 1];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(bits));
    return digits;
}

std::string StagedPrefix(const fs::path& target) {
    return "." + target.filename().string() + std::string(kStagedInfix);
}

// The name of a staged file of `target` ("." + name + ".tovix-" + 16 digits).
bool IsStagedName(const std::string& name, const std::string& prefix) {
    return name.size() == prefix.size() + kRandomDigits && name.starts_with(prefix) &&
           std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

struct Registered {
    FileIdentity identity;
    StagedFlush flush = StagedFlush::AtCommit;
};

// The staged files this process created and has not renamed or removed, by
// their absolute names.
struct Registry {
    std::mutex mutex;
    std::map<fs::path, Registered> files;
};

Registry& StagedFiles() {
    static Registry registry;
    return registry;
}

fs::path RegistryKey(const fs::path& path) {
    std::error_code error;
    return fs::absolute(path, error).lexically_normal();
}

std::optional<FileIdentity> Identity(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<unsigned long long>(status.st_dev),
                        static_cast<unsigned long long>(status.st_ino)};
}

void Register(const fs::path& path, const FileIdentity& identity, StagedFlush flush) {
    Registry& registry = StagedFiles();
    const std::lock_guard lock(registry.mutex);
    registry.files[RegistryKey(path)] = {identity, flush};
}

}  // namespace

bool IsStagedNameOf(const std::string& name, const std::string& target) {
    return !target.empty() && target.find('/') == std::string::npos &&
           IsStagedName(name, StagedPrefix(target));
}

std::optional<FileIdentity> StagedIdentity(const fs::path& path) {
    Registry& registry = StagedFiles();
    const std::lock_guard lock(registry.mutex);
    const auto found = registry.files.find(RegistryKey(path));
    return found == registry.files.end() ? std::nullopt : std::optional(found->second.identity);
}

void StartWriteback(int fd, const fs::path& path) {
    {
        Registry& registry = StagedFiles();
        const std::lock_guard lock(registry.mutex);
        const auto found = registry.files.find(RegistryKey(path));
        if (found == registry.files.end() || found->second.flush != StagedFlush::AtCommit) {
            return;
        }
    }
    ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
}

void ForgetStagedFile(const fs::path& path) {
    Registry& registry = StagedFiles();
    const std::lock_guard lock(registry.mutex);
    registry.files.erase(RegistryKey(path));
}

FileDescriptor OpenForWriting(const fs::path& path, OldBytes old) {
    const std::optional<FileIdentity> staged = StagedIdentity(path);
    if (!staged) {
        const int emptied = old == OldBytes::Emptied ? O_TRUNC : 0;
        return OpenFile(path, O_WRONLY | O_CREAT | emptied | O_NOFOLLOW);
    }
    FileDescriptor file = OpenFile(path, O_WRONLY | O_NOFOLLOW | O_NONBLOCK);
    if (Identity(file.Get()) != staged) {
        throw IoError(path, ESTALE);
    }
    if (::ftruncate(file.Get(), 0) != 0) {
        throw IoError(path, errno);
    }
    return file;
}

fs::path ReplacedFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_symlink(path, error)) {
        return path;
    }
    const fs::path target = fs::weakly_canonical(path, error);
    return error ? path : target;
}

StagedFile CreateStagedFile(const fs::path& target, StagedFlush flush) {
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    for (;;) {
        StagedFile staged;
        staged.path = target.parent_path() / (StagedPrefix(target) + RandomDigits(target));
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
        const std::optional<FileIdentity> identity = Identity(staged.file.Get());
        if (!identity || (exists && ::fchmod(staged.file.Get(), old.st_mode & 07777) != 0)) {
            const int error = errno;
            ::unlink(staged.path.c_str());
            throw IoError(target, error);
        }
        Register(staged.path, *identity, flush);
        return staged;
    }
}

void RemoveStaleStagedFiles(const std::vector<fs::path>& names, fs::file_time_type before) {
    std::map<fs::path, std::set<std::string>> prefixes;  // by directory
    for (const fs::path& name : names) {
        const fs::path target = ReplacedFile(name);
        prefixes[target.parent_path()].insert(StagedPrefix(target));
    }
    for (const auto& [dir, dirPrefixes] : prefixes) {
        std::error_code error;
        for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, error), end;
             !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            const size_t cut = name.size() - std::min(name.size(), kRandomDigits);
            const auto prefix = dirPrefixes.find(name.substr(0, cut));
            std::error_code fileError;
            if (prefix == dirPrefixes.end() || !IsStagedName(name, *prefix) ||
                !fs::is_regular_file(fs::symlink_status(it->path(), fileError)) ||
                fs::last_write_time(it->path(), fileError) >= before || fileError) {
                continue;
            }
            ::unlink(it->path().c_str());
        }
    }
}

}  // namespace tovix
