// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TemporaryFiles.h"

#include "platform/AtomicFile.h"

namespace tovix {

void EmptyTemporaryFiles(const std::filesystem::path& dir) {
    for (std::string_view name : kTemporaryFileNames) {
        WriteFileAtomically(dir / name, "\r\n");
    }
}

}  // namespace tovix
