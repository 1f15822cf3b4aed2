// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Staged files: the new content of a user's file is written to a staged file
// beside it, which then replaces the file by rename, so that the file is
// never half written.
//
// A staged file has an unguessable hidden name ("." + the file's name +
// ".tovix-" + 16 random hexadecimal digits) and is created exclusively, never
// through a symbolic link (O_CREAT | O_EXCL | O_NOFOLLOW), so that nobody can
// prepare a link under its name that the program would then write through.
// It takes the permission bits of the file it replaces.
//
// Once created it is written only as that very file: OpenForWriting reopens
// it without following a link and checks that the name still leads to the
// file this process created (its device and inode), so that a link or
// another file put in its place meanwhile is never written through.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/PosixIo.h"

namespace tovix {

// The file that writing `path` really replaces: when `path` is a symbolic
// link, its final target (so that the link stays a link and the file it
// points to gets the new content), else `path` itself.
std::filesystem::path ReplacedFile(const std::filesystem::path& path);

struct StagedFile {
    std::filesystem::path path;
    FileDescriptor file;  // open for writing
};

// Whether a staged file is flushed to the disk before it replaces its file.
enum class StagedFlush { AtCommit, None };

// Creates the staged file for `target` (a name already resolved by
// ReplacedFile) in the target's directory, with the target's permission bits
// when it exists. Throws IoError naming `target`.
StagedFile CreateStagedFile(const std::filesystem::path& target,
                            StagedFlush flush = StagedFlush::AtCommit);

// The staged file `path`, open as `fd`, is complete: when it is to be flushed
// at its commit, the system starts writing it to the disk now
// (sync_file_range), beside the writer's further work, so that the flush at
// the commit waits only for what is left. Only a hint: nothing for any other
// file, and a failure shows in the flush.
void StartWriteback(int fd, const std::filesystem::path& path);

// Opens `path` to write it from its start, never through a symbolic link
// (O_NOFOLLOW). A staged file that this process created is reopened only
// while its name still leads to that same file, else IoError ESTALE; any
// other file (a work file) is created when missing and emptied. Throws
// IoError naming `path`.
//
// With OldBytes::WrittenOver a work file is not emptied: the writer writes
// over its old bytes and cuts off those left past its end when it closes.
// Emptying a large work file frees all its blocks at once, and the file
// system then pushes the new content to the disk when the file is closed;
// both made each step that writes a work file wait.
enum class OldBytes { Emptied, WrittenOver };
FileDescriptor OpenForWriting(const std::filesystem::path& path, OldBytes old = OldBytes::Emptied);

// The device and inode of the staged file `path` created by this process;
// nothing when it is not one.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> StagedIdentity(const std::filesystem::path& path);

// The staged file `path` was renamed or removed: it is no longer written.
void ForgetStagedFile(const std::filesystem::path& path);

// Whether `name` is the name of a staged file of the file named `target`
// (bare names: "." + target + ".tovix-" + 16 hexadecimal digits).
bool IsStagedNameOf(const std::string& name, const std::string& target);

// Removes the staged files of the files `names` (a symbolic link stands for
// its target, as in ReplacedFile) that a command ended before it replaced
// them left behind: regular files named exactly as CreateStagedFile names
// them, last written before `before`. Nothing else is touched, whatever its
// name; a file that cannot be removed stays (it takes only room).
void RemoveStaleStagedFiles(const std::vector<std::filesystem::path>& names,
                            std::filesystem::file_time_type before);

}  // namespace tovix
