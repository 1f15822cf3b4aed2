// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Guard.h"

#include <cstdio>
#include <new>
#include <stdexcept>

#include "platform/MessageText.h"
#include "platform/PlatformMessages.h"

namespace tovix {

std::string FailureReason(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return std::string(platform_text::kOutOfMemory);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return std::string(platform_text::kUnknownFailure);
    }
}

std::string FailureMessage(std::string_view what, const std::exception_ptr& failure) {
    std::string text(platform_text::kCannotContinue);
    text += ": ";
    text += FailureReason(failure);
    return FileMessage(what, text);
}

void ReportFailure(Reporter& reporter, std::string_view what,
                   const std::exception_ptr& failure) noexcept {
    try {
        reporter.Message(MessageKind::Error, FailureMessage(what, failure), kButtonOk);
    } catch (...) {
        const std::string_view text = platform_text::kCannotContinue;
        std::fprintf(stderr, "tovix: %.*s: %.*s\n", static_cast<int>(what.size()), what.data(),
                     static_cast<int>(text.size()), text.data());
    }
}

}  // namespace tovix
