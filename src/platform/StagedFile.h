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

}  // namespace tovix
