#include "tools/ToolJob.h"

namespace tovix {

ToolJob::~ToolJob() {
    DiscardOutputs();
}

std::filesystem::path ToolJob::WritePath(const std::string& name) {
    return staged_.Stage(name);
}

std::filesystem::path ToolJob::ReadPath(const std::string& name) const {
    return staged_.Find(name).value_or(std::filesystem::path(name));
}

void ToolJob::CommitOutputs(const std::filesystem::path& mainFile) {
    staged_.Commit(JournalFileName(mainFile.empty() ? staged_.FirstName() : mainFile));
}

void ToolJob::DiscardOutputs() {
    staged_.Discard();
}

}  // namespace tovix
