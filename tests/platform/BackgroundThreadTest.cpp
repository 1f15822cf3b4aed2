// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BackgroundThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tovix {
namespace {

// Jobs run one after the other in the order posted; a queued job whose stop
// was requested never runs; and the thread's end stops the job that runs
// (here one that only ends when asked) and drops those still queued.
TEST(BackgroundThreadTest, RunsInOrderDropsStoppedJobsAndStopsTheRunningOneAtTheEnd) {
    std::mutex mutex;
    std::vector<int> ran;
    const auto record = [&](int n) {
        return [&, n](std::stop_token) {
            const std::lock_guard lock(mutex);
            ran.push_back(n);
        };
    };
    std::promise<void> release;
    std::promise<void> endlessStarted;
    std::promise<bool> endlessStopped;
    {
        BackgroundThread thread;
        thread.Post(std::stop_source(),
                    [busy = release.get_future().share()](std::stop_token) { busy.wait(); });
        thread.Post(std::stop_source(), record(1));
        std::stop_source dropped;
        thread.Post(dropped, record(2));
        dropped.request_stop();
        thread.Post(std::stop_source(), record(3));
        thread.Post(std::stop_source(), [&](std::stop_token stop) {
            endlessStarted.set_value();
            while (!stop.stop_requested()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            endlessStopped.set_value(true);
        });
        thread.Post(std::stop_source(), record(4));
        release.set_value();
        endlessStarted.get_future().wait();
    }
    EXPECT_TRUE(endlessStopped.get_future().get());
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
}

}  // namespace
}  // namespace tovix
