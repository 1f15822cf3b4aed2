// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one guard where the user interface calls into the program. Every slot,
// event handler, event filter and timer of the windows runs its code through
// Guarded: whatever that code throws (a file error, memory running out, a
// codec failure, an index out of range) becomes an error message naming what
// failed, and the window goes on. No exception reaches the toolkit's event
// loop, which would end the program.
//
// The guard restores nothing itself: commands change their state only once
// everything that can fail has succeeded, so that a failed command leaves
// what it would have changed as it was.
//
//   Guarded(reporter, "Button5Click", [this] { CopyTopEntry(); });
//
// Qt signals are connected through it with GuardedConnect (qt/GuardedConnect.h).

#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Reporter.h"

namespace tovix {

// The reason of a failure in words: its own text, or for running out of
// memory and for what is not a std::exception the platform's words.
std::string FailureReason(const std::exception_ptr& failure);

// "   <what> の", CR LF, "   処理を続けられませんでした: <reason>" and the
// ten blanks of every message.
std::string FailureMessage(std::string_view what, const std::exception_ptr& failure);

// Shows the failure of `what` as an error message with OK. Never throws: when
// even that fails, the message goes to standard error.
void ReportFailure(Reporter& reporter, std::string_view what,
                   const std::exception_ptr& failure) noexcept;

// Runs `call`; true when it returned, false after reporting what it threw.
template <class Call>
bool Guarded(Reporter& reporter, std::string_view what, Call&& call) noexcept {
    try {
        std::forward<Call>(call)();
        return true;
    } catch (...) {
        ReportFailure(reporter, what, std::current_exception());
        return false;
    }
}

}  // namespace tovix
