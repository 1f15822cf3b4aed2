// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolJob.h"

namespace tovix {

ToolJob::~ToolJob() {
    DiscardOutputs();
}

std::filesystem::path ToolJob::WritePath(const std::string& name) {
    return staged_.Stage(name);
}

std::filesystem::path ToolJob::ReadPath(const std::string& name) const {
    if (std::optional<std::filesystem::path> staged = staged_.Find(name)) {
        return *staged;
    }
    const auto decoded = decoded_.find(name);
    return decoded != decoded_.end() ? decoded->second : std::filesystem::path(name);
}

void ToolJob::CommitOutputs(const std::filesystem::path& mainFile) {
    staged_.Commit(JournalFileName(mainFile.empty() ? staged_.FirstName() : mainFile));
}

void ToolJob::DiscardOutputs() {
    staged_.Discard();
}

}  // namespace tovix
