// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The input/output error of the program: a file that cannot be opened, read,
// written or replaced. It carries the file's path (in the operating system's
// encoding) so that the caller can name the file in its message.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tovix {

class IoError : public std::runtime_error {
public:
    IoError(const std::filesystem::path& path, int error)
        : std::runtime_error(path.string() + ": " + std::strerror(error)),
          path_(path),
          error_(error) {}

    const std::filesystem::path& path() const { return path_; }
    int error() const { return error_; }

private:
    std::filesystem::path path_;
    int error_;
};

}  // namespace tovix
