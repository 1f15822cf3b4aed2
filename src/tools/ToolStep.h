// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame every tool step runs in: it shows the step's progress text as the
// main window's caption, runs the step's work, and on any failure shows the
// step's failure message (a warning with the single button 中止(&A)), puts
// back the caption it found and sets the job's Failed flag.

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "tools/ToolJob.h"

namespace tovix {

// Thrown by a step's work when it fails with a message of its own (a content
// error naming its file ...). The text is the complete message as shown, laid
// out with PaddedMessage or FileMessage.
class StepError : public std::runtime_error {
  public:
    explicit StepError(const std::string& message) : std::runtime_error(message) {}
};

// Replaces the caption with the progress text, padded with two blanks on both
// sides.
void ShowProgress(ToolJob& job, std::string_view text);

// Runs `work` as one step. `failureMessage` is the step's message for file and
// memory failures; a StepError carries its own message instead. Returns false
// when the step failed.
bool RunStep(ToolJob& job, std::string_view progressText, std::string_view failureMessage,
             const std::function<void()>& work);

}  // namespace tovix
