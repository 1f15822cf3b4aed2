// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FaultInjection.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <mutex>

namespace tovix {
namespace {

struct Faults {
    std::mutex mutex;
    long counts[4] = {0, 0, 0, 0};
    bool armed = false;
    FaultOperation operation = FaultOperation::Write;
    long nth = 0;
    FaultAction action = FaultAction::Fail;
};

Faults& State() {
    static Faults faults;
    return faults;
}

int Index(FaultOperation operation) {
    return static_cast<int>(operation);
}

}  // namespace

void InjectFault(FaultOperation operation, long nth, FaultAction action) {
    Faults& f = State();
    const std::lock_guard lock(f.mutex);
    std::fill(std::begin(f.counts), std::end(f.counts), 0);
    f.armed = true;
    f.operation = operation;
    f.nth = nth;
    f.action = action;
}

void ClearFaults() {
    Faults& f = State();
    const std::lock_guard lock(f.mutex);
    std::fill(std::begin(f.counts), std::end(f.counts), 0);
    f.armed = false;
}

long FaultCount(FaultOperation operation) {
    Faults& f = State();
    const std::lock_guard lock(f.mutex);
    return f.counts[Index(operation)];
}

int FaultPoint(FaultOperation operation) {
    Faults& f = State();
    const std::lock_guard lock(f.mutex);
    const long count = ++f.counts[Index(operation)];
    if (!f.armed || operation != f.operation || count != f.nth) {
        return 0;
    }
    if (f.action == FaultAction::Kill) {
        std::raise(SIGKILL);
    }
    return EIO;
}

}  // namespace tovix
