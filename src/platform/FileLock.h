#pragma once
// An exclusive advisory lock held on a lock file for the lifetime of the object.
//
// Used to serialise read-modify-write cycles on a file that is replaced by
// rename: the lock cannot live on the file itself, whose inode changes with
// every replacement, so it lives on a separate lock file that is never removed.
// The lock excludes other processes and other threads alike (each FileLock has
// its own open file description).

#include <filesystem>

namespace tovix {

class FileLock {
  public:
    // Creates `lockPath` when missing and waits until the lock is granted.
    // Throws IoError naming `reportedPath` when the lock file cannot be opened or
    // locked.
    FileLock(const std::filesystem::path& lockPath, const std::filesystem::path& reportedPath);
    ~FileLock();

    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    int fd_;
};

}  // namespace tovix
