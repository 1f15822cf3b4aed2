// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh directory for one test, removed afterwards.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace tovix::test {

class TempDir {
  public:
    TempDir() : TempDir(std::filesystem::temp_directory_path()) {}
    // A directory in `base` (/dev/shm, where flushing to the disk costs
    // nothing, for tests that build many dictionaries).
    explicit TempDir(const std::filesystem::path& base) {
        std::random_device rd;
        path_ = base / ("tovix-test-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tovix::test
