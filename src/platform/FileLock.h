// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An exclusive advisory lock held on a lock file for the lifetime of the object.
//
// Used to serialise read-modify-write cycles on a file that is replaced by
// rename, and whole tool commands: the lock cannot live on a file that is
// replaced, whose inode changes with every replacement, so it lives on a
// separate lock file. The lock excludes other processes and other threads
// alike (each FileLock has its own open file description), and ends with the
// process that holds it, however that ends.
//
// A lock file beside a user's files is removed when the lock is let go
// (LockFile::Removed): the holder removes it while it still holds the lock,
// and whoever was granted the lock of a file that is no longer under its name
// lets it go and locks the file now there, so that two holders never hold
// two files of one name. One left by a killed holder is locked and removed
// by the next.

#include <filesystem>
#include <optional>
#include <utility>

#include "platform/PosixIo.h"

namespace tovix {

// Whether the lock file stays when the lock is let go.
enum class LockFile { Kept, Removed };

class FileLock {
  public:
    // Creates `lockPath` when missing and waits until the lock is granted.
    // Throws IoError naming `reportedPath` when the lock file cannot be opened or
    // locked.
    FileLock(const std::filesystem::path& lockPath, const std::filesystem::path& reportedPath,
             LockFile use = LockFile::Kept);

    // The lock when it is free now; nothing when another holder has it. Throws
    // like the constructor.
    static std::optional<FileLock> TryLock(const std::filesystem::path& lockPath,
                                           const std::filesystem::path& reportedPath,
                                           LockFile use = LockFile::Kept);

    FileLock(FileLock&&) = default;
    FileLock& operator=(FileLock&&) = default;
    ~FileLock();

  private:
    FileLock(FileDescriptor file, std::filesystem::path path, LockFile use)
        : file_(std::move(file)), path_(std::move(path)), use_(use) {}

    FileDescriptor file_;
    std::filesystem::path path_;
    LockFile use_ = LockFile::Kept;
};

}  // namespace tovix
