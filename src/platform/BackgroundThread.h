// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One thread that runs jobs one after the other, at a lower priority than the
// window's thread: work the window hands off so that no keystroke waits for
// it (indexing a part of a large dictionary). It is made once, so that no
// keystroke makes a thread (which takes the process's memory map, which
// threads still at work hold).
//
// Each job comes with a stop source of its own: a queued job whose stop was
// requested is dropped, a running one is expected to look at its token often
// and end early. A job owns everything it reads and writes (captured by value
// or shared), so whoever posted it may go without waiting for it. A job
// hands its failures to its owner itself (an exception that leaves it ends
// the program).
//
// When the object goes, every queued job is dropped, the running one is asked
// to stop, and the thread is joined.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>
#include <utility>

namespace tovix {

class BackgroundThread {
  public:
    using Job = std::function<void(std::stop_token)>;

    BackgroundThread();
    ~BackgroundThread();
    BackgroundThread(const BackgroundThread&) = delete;
    BackgroundThread& operator=(const BackgroundThread&) = delete;

    // Queues the job behind those already posted.
    void Post(std::stop_source stop, Job job);

  private:
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::pair<std::stop_source, Job>> queue_;
    std::stop_source running_{std::nostopstate};
    bool ending_ = false;
    std::thread thread_;
};

}  // namespace tovix
