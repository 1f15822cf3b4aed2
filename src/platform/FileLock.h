// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An exclusive advisory lock held on a lock file for the lifetime of the object.
//
// Used to serialise read-modify-write cycles on a file that is replaced by
// rename, and whole tool commands: the lock cannot live on a file that is
// replaced, whose inode changes with every replacement, so it lives on a
// separate lock file that is never removed. The lock excludes other processes
// and other threads alike (each FileLock has its own open file description),
// and ends with the process that holds it, however that ends.

#include <filesystem>
#include <optional>
#include <utility>

#include "platform/PosixIo.h"

namespace tovix {

class FileLock {
  public:
    // Creates `lockPath` when missing and waits until the lock is granted.
    // Throws IoError naming `reportedPath` when the lock file cannot be opened or
    // locked.
    FileLock(const std::filesystem::path& lockPath, const std::filesystem::path& reportedPath);

    // The lock when it is free now; nothing when another holder has it. Throws
    // like the constructor.
    static std::optional<FileLock> TryLock(const std::filesystem::path& lockPath,
                                           const std::filesystem::path& reportedPath);

    FileLock(FileLock&&) = default;
    FileLock& operator=(FileLock&&) = default;

  private:
    explicit FileLock(FileDescriptor file) : file_(std::move(file)) {}

    FileDescriptor file_;
};

}  // namespace tovix
