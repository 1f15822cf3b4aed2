// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The warning that ends a command of the main window, the entry editing or
// the search: it carries the buttons はい and いいえ, as the program's warnings
// always have, so users meet the dialog they know; both answers mean the same,
// since the command has ended either way, and no caller reads the answer.

#include <string>

#include "platform/Reporter.h"

namespace tovix {

inline constexpr MessageButtons kEndedCommandButtons = kButtonYes | kButtonNo;

// Shows `text`, laid out already (MessageText.h), as that warning.
inline void ShowWarning(Reporter& reporter, const std::string& text) {
    reporter.Message(MessageKind::Warning, text, kEndedCommandButtons);
}

}  // namespace tovix
