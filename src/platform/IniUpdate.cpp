// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IniUpdate.h"

#include <utility>

#include "platform/AtomicFile.h"
#include "platform/FileLock.h"
#include "platform/IniFile.h"

namespace tovix {

IniUpdate::IniUpdate(std::filesystem::path path) : path_(std::move(path)) {}

void IniUpdate::WriteString(std::string_view section, std::string_view key,
                            std::string_view value) {
    changes_.push_back({std::string(section), std::string(key), std::string(value)});
}

void IniUpdate::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniUpdate::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniUpdate::Commit() const {
    FileLock lock(IniLockPath(path_), path_);
    IniFile file = IniFile::LoadForUpdate(path_);
    for (const Change& change : changes_) {
        file.WriteString(change.section, change.key, change.value);
    }
    WriteFileAtomically(path_, file.Text());
}

std::filesystem::path IniLockPath(const std::filesystem::path& iniPath) {
    std::filesystem::path lock = iniPath;
    lock += ".lock";
    return lock;
}

}  // namespace tovix
