// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FIFOs for the tests of readers that must refuse them. A reader that opens a
// FIFO without refusing it blocks until someone writes; the watchdog keeps
// such a reader from hanging the test: after a while it opens every FIFO for
// writing and closes it again, so that the blocked reader sees an empty file
// and the test fails on its result instead of hanging.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

namespace tovix::test {

inline void MakeFifo(const std::filesystem::path& path) {
    std::filesystem::remove(path);
    if (::mkfifo(path.c_str(), 0600) != 0) {
        throw std::runtime_error("mkfifo failed: " + path.string());
    }
}

class FifoWatchdog {
  public:
    explicit FifoWatchdog(std::vector<std::filesystem::path> fifos,
                          std::chrono::seconds patience = std::chrono::seconds(10))
        : fifos_(std::move(fifos)),
          thread_([this, patience](std::stop_token stop) { Watch(stop, patience); }) {}

    // Whether a reader had to be released.
    bool Fired() const { return fired_; }

  private:
    void Watch(const std::stop_token& stop, std::chrono::seconds patience) {
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        auto deadline = std::chrono::steady_clock::now() + patience;
        while (!wake.wait_until(lock, stop, deadline, [] { return false; }) &&
               !stop.stop_requested()) {
            for (const std::filesystem::path& fifo : fifos_) {
                const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    fired_ = true;
                    ::close(fd);
                }
            }
            deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        }
    }

    std::vector<std::filesystem::path> fifos_;
    std::atomic<bool> fired_ = false;
    std::jthread thread_;
};

}  // namespace tovix::test
