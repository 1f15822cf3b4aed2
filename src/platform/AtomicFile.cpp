// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AtomicFile.h"

#include <unistd.h>

#include <cerrno>

#include "platform/IoError.h"
#include "platform/PosixIo.h"
#include "platform/StagedFile.h"

namespace tovix {

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    // A settings file linked from elsewhere stays linked: its target is
    // replaced.
    const std::filesystem::path target = ReplacedFile(path);
    StagedFile staged;
    try {
        staged = CreateStagedFile(target);
        WriteAll(staged.file.Get(), bytes, path);
        SyncFile(staged.file.Get(), path);
        if (staged.file.Close() != 0) {
            throw IoError(path, errno);
        }
        RenameFile(staged.path, target);
    } catch (const IoError& e) {
        if (!staged.path.empty()) {
            ::unlink(staged.path.c_str());
        }
        throw IoError(path, e.error());
    }
    // Makes the rename itself durable; failure here does not undo the write.
    try {
        SyncDirectory(target.parent_path());
    } catch (const IoError&) {
    }
}

}  // namespace tovix
