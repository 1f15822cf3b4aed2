#include "editing/PendingEdit.h"

#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "platform/IoError.h"
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
    std::error_code error;
    const fs::path journal = fs::read_symlink(record, error);
    if (error == std::errc::no_such_file_or_directory) {
        return;
    }
    // Anything but a link under the name is no record of an edit.
    if (error && error != std::errc::invalid_argument) {
        throw IoError(record, error.value());
    }
    if (!error) {
        try {
            CompleteReplacement(journal);
        } catch (const IoError& e) {
            throw IoError(JournalOwner(journal), e.error());
        }
    }
    ForgetPendingEdit(workDir);
}

void RecordPendingEdit(const fs::path& workDir, const fs::path& journal) {
    const fs::path record = RecordName(workDir);
    ForgetPendingEdit(workDir);
    if (::symlink(fs::absolute(journal).c_str(), record.c_str()) != 0) {
        throw IoError(record, errno);
    }
}

void ForgetPendingEdit(const fs::path& workDir) {
    const fs::path record = RecordName(workDir);
    if (::unlink(record.c_str()) != 0 && errno != ENOENT) {
        throw IoError(record, errno);
    }
}

}  // namespace tovix
