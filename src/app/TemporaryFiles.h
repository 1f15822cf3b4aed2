// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tools' temporary files and the command that empties them.

#include <array>
#include <filesystem>
#include <string_view>

namespace tovix {

// In the order in which they are emptied.
inline constexpr std::array<std::string_view, 14> kTemporaryFileNames = {
    "TOVIXTAB.TXT",
    "TOVIXTA1.TXT",
    "TOVIXTA2.TXT",
    "TOVIXSRT.TXT",
    "TOVIXSEP.TXT",
    "TOVIXDUP.TXT",
    "TOVIXCRR.TXT",
    "TOVIXCNV.TXT",
    "TOVIXAD1.TXT",
    "TOVIXADD.TXT",
    // The CP932 copies of UTF-8 inputs and the [EXM] output before it is
    // written in UTF-8.
    "TOVIXIN1.TXT",
    "TOVIXIN2.TXT",
    "TOVIXOUT.TXT",
    // The written forms of a Japanese-English set before they are sorted.
    "TOVIXKJI.TXT",
};

// Rewrites each temporary file in `dir` so that it holds one empty line (CR
// LF), creating missing ones; nothing is deleted. Throws IoError naming the
// first file that cannot be written; the files before it are already emptied,
// the ones after it untouched.
void EmptyTemporaryFiles(const std::filesystem::path& dir);

}  // namespace tovix
