#include "tools/ToolJob.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/IoError.h"

namespace tovix {
namespace {

std::filesystem::path StagedName(const std::filesystem::path& final) {
    std::string name = "." + final.filename().string() + ".tovix-" + std::to_string(getpid());
    return final.parent_path() / name;
}

}  // namespace

ToolJob::~ToolJob() {
    DiscardOutputs();
}

std::filesystem::path ToolJob::WritePath(const std::string& name) {
    const std::filesystem::path final(name);
    for (const auto& [path, staged] : staged_) {
        if (path == final) {
            return staged;
        }
    }
    staged_.emplace_back(final, StagedName(final));
    return staged_.back().second;
}

std::filesystem::path ToolJob::ReadPath(const std::string& name) const {
    const std::filesystem::path final(name);
    for (const auto& [path, staged] : staged_) {
        if (path == final) {
            return staged;
        }
    }
    return final;
}

void ToolJob::CommitOutputs() {
    for (const auto& [path, staged] : staged_) {
        if (std::rename(staged.c_str(), path.c_str()) != 0) {
            throw IoError(path, errno);
        }
    }
    staged_.clear();
}

void ToolJob::DiscardOutputs() {
    for (const auto& [path, staged] : staged_) {
        std::error_code ec;
        std::filesystem::remove(staged, ec);
    }
    staged_.clear();
}

}  // namespace tovix
