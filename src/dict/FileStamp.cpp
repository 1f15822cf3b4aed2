// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/FileStamp.h"

#include <sys/stat.h>

namespace tovix {

FileStamp StampOf(const std::filesystem::path& file) {
    struct stat info {};
    if (stat(file.c_str(), &info) != 0) {
        return {};
    }
    return {static_cast<std::uint64_t>(info.st_ino), static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

}  // namespace tovix
