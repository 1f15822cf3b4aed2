// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/PendingEdit.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "dict/DicFileSet.h"
#include "platform/IoError.h"
#include "platform/PosixIo.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

fs::path RecordName(const fs::path& workDir) {
    return workDir / ".tovix-edit-journal";
}

}  // namespace

void SettlePendingEdit(const fs::path& workDir) {
    const fs::path record = RecordName(workDir);
    std::string text;
    try {
        text = ReadWholeFile(record);
    } catch (const IoError& e) {
        if (e.error() == ENOENT) {
            return;
        }
        throw;
    }
    if (text.size() > 1 && text.ends_with('\n')) {
        const fs::path dicFile = text.substr(0, text.size() - 1);
        try {
            CompletePendingSet(dicFile, workDir);
        } catch (const IoError& e) {
            if (e.error() == EBADMSG) {
                throw;  // names the refused journal
            }
            throw IoError(dicFile, e.error());
        }
    }
    ForgetPendingEdit(workDir);
}

fs::path RecordPendingEdit(const fs::path& workDir, const fs::path& dicFile) {
    const fs::path record = RecordName(workDir);
    const FileDescriptor file = OpenFile(record, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW);
    WriteAll(file.Get(), fs::absolute(dicFile).string() + "\n", record);
    return record;
}

void ForgetPendingEdit(const fs::path& workDir) {
    const fs::path record = RecordName(workDir);
    if (::unlink(record.c_str()) != 0 && errno != ENOENT) {
        throw IoError(record, errno);
    }
}

}  // namespace tovix
