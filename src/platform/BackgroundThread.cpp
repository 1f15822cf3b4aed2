// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BackgroundThread.h"

#include <sys/resource.h>

namespace tovix {
namespace {

// On Linux the nice value set for "this process" by a thread is that
// thread's alone.
void YieldToTheWindow() {
    constexpr int kBackgroundNice = 10;
    setpriority(PRIO_PROCESS, 0, kBackgroundNice);
}

}  // namespace

BackgroundThread::BackgroundThread() : thread_([this] { Run(); }) {}

BackgroundThread::~BackgroundThread() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
        for (auto& [stop, job] : queue_) {
            stop.request_stop();
        }
        queue_.clear();
        if (running_.stop_possible()) {
            running_.request_stop();
        }
    }
    wake_.notify_one();
    thread_.join();
}

void BackgroundThread::Post(std::stop_source stop, Job job) {
    {
        const std::lock_guard lock(mutex_);
        queue_.emplace_back(std::move(stop), std::move(job));
    }
    wake_.notify_one();
}

void BackgroundThread::Run() {
    YieldToTheWindow();
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return ending_ || !queue_.empty(); });
        if (ending_) {
            return;
        }
        auto [stop, job] = std::move(queue_.front());
        queue_.pop_front();
        if (stop.stop_requested()) {
            continue;
        }
        running_ = stop;
        lock.unlock();
        job(stop.get_token());
        // The job goes before the lock is taken again: what it holds is let
        // go on this thread, not under the lock.
        job = nullptr;
        lock.lock();
        running_ = std::stop_source(std::nostopstate);
    }
}

}  // namespace tovix
