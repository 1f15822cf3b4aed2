#include "editing/PendingEdit.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/IoError.h"
#include "platform/PosixIo.h"
#include "platform/ReplaceJournal.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kJournalEnd = ".tovix-journal";

fs::path RecordName(const fs::path& workDir) {
    return workDir / ".tovix-edit-journal";
}

// The dictionary file whose journal is `journal` ("." + name + ".tovix-journal").
fs::path JournalOwner(const fs::path& journal) {
    std::string name = journal.filename().string();
    if (name.starts_with('.') && name.ends_with(kJournalEnd)) {
        name = name.substr(1, name.size() - 1 - kJournalEnd.size());
    }
    return journal.parent_path() / name;
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
        const fs::path journal = text.substr(0, text.size() - 1);
        try {
            CompleteReplacement(journal);
        } catch (const IoError& e) {
            throw IoError(JournalOwner(journal), e.error());
        }
    }
    ForgetPendingEdit(workDir);
}

fs::path RecordPendingEdit(const fs::path& workDir, const fs::path& journal) {
    const fs::path record = RecordName(workDir);
    const FileDescriptor file = OpenFile(record, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW);
    WriteAll(file.Get(), fs::absolute(journal).string() + "\n", record);
    return record;
}

void ForgetPendingEdit(const fs::path& workDir) {
    const fs::path record = RecordName(workDir);
    if (::unlink(record.c_str()) != 0 && errno != ENOENT) {
        throw IoError(record, errno);
    }
}

}  // namespace tovix
