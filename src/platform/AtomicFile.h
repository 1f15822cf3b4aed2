// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file replacement that never leaves a half-written file behind.
//
// The new content goes to a temporary file in the target's directory, is
// flushed to the disk, and is then renamed over the target, so that a reader
// (or a crash) sees either the old file or the new one, never a mixture.

#include <filesystem>
#include <string_view>

namespace tovix {

// Replaces (or creates) `path` with `bytes`. An existing file keeps its
// permission bits; a symbolic link is followed and its target is replaced.
// Throws IoError naming `path` when the file cannot be written; the old file is
// then untouched and no temporary file is left.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tovix
