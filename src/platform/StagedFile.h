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

#include <filesystem>
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

// Creates the staged file for `target` (a name already resolved by
// ReplacedFile) in the target's directory, with the target's permission bits
// when it exists. Throws IoError naming `target`.
StagedFile CreateStagedFile(const std::filesystem::path& target);

// Removes the staged files of the files `names` (a symbolic link stands for
// its target, as in ReplacedFile) that a command ended before it replaced
// them left behind: regular files named exactly as CreateStagedFile names
// them, last written before `before`. Nothing else is touched, whatever its
// name; a file that cannot be removed stays (it takes only room).
void RemoveStaleStagedFiles(const std::vector<std::filesystem::path>& names,
                            std::filesystem::file_time_type before);

}  // namespace tovix
