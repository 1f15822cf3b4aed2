// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The few raw POSIX file calls the program makes, in one place: an owned file
// descriptor, the read and write loops that retry a call interrupted by a
// signal (EINTR) and go on after a short write, flushing to the disk and
// renaming. Every failure throws IoError naming the file. Writes, flushes,
// renames and reads pass the fault-injection hook (FaultInjection.h).

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tovix {

// An open file descriptor, closed when the object goes (or by Close).
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Closes now and returns close's result (0 or -1 with errno), so that a
    // late write error, reported only by close on some file systems, is not
    // lost.
    int Close();

  private:
    int fd_ = -1;
};

// Opens `path` with open(2) flags (O_CLOEXEC is added); throws IoError.
FileDescriptor OpenFile(const std::filesystem::path& path, int flags, unsigned mode = 0666);

// Opens `path` for reading when it is a regular file; throws IoError for any
// other file too (EISDIR for a directory, EINVAL otherwise). A FIFO would block
// the opening and every read until some other program writes to it, and a
// device or a directory gives no text: a file named where a dictionary, a
// table, a settings file or a tool's input is expected must be a regular one.
// The check is made on the descriptor, opened without blocking, so that
// nothing can be swapped in between.
FileDescriptor OpenRegularFile(const std::filesystem::path& path);

// Reads up to `size` bytes; 0 only at the end of the file.
size_t ReadSome(int fd, char* data, size_t size, const std::filesystem::path& path);

// Reads exactly `size` bytes at byte `offset` (pread(2)), without moving the
// file position; false when the file ends before them.
bool ReadAt(int fd, unsigned long long offset, char* data, size_t size,
            const std::filesystem::path& path);

// Writes all of `bytes`.
void WriteAll(int fd, std::string_view bytes, const std::filesystem::path& path);

// Flushes the file's data to the disk (fsync).
void SyncFile(int fd, const std::filesystem::path& path);

// Flushes a directory, so that the names created, renamed or removed in it
// last on the disk; nothing on a file system that cannot flush directories.
void SyncDirectory(const std::filesystem::path& dir);

// Renames `from` to `to`, replacing `to` (rename(2): one step for a reader).
void RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);

// The whole content of the file, which must be a regular file.
std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace tovix
