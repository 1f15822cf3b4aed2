// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the core talks to the user without knowing any window: messages with a
// kind and a set of buttons, and the caption that shows the progress of a
// running tool step. The viewer implements it with message boxes and its
// window caption, the command line with standard error and its own prompts,
// the tests with a recorder that answers.
// Texts are UTF-8; message texts arrive already padded (MessageText.h).

#include <string>

namespace tovix {

enum class MessageKind { Warning, Error, Information, Confirmation };

// Buttons of a message; they appear left to right in this order.
enum MessageButton : unsigned {
    kButtonYes = 1u << 0,
    kButtonNo = 1u << 1,
    kButtonOk = 1u << 2,
    kButtonCancel = 1u << 3,
    kButtonAbort = 1u << 4,
    kButtonRetry = 1u << 5,
    kButtonIgnore = 1u << 6,
    kButtonAll = 1u << 7,
    kButtonHelp = 1u << 8,
};
using MessageButtons = unsigned;

// What the caller receives; the numbers are the program's own result codes.
enum class MessageResult {
    None = 0,
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7,
    All = 8,
};

class Reporter {
  public:
    virtual ~Reporter() = default;

    virtual MessageResult Message(MessageKind kind, const std::string& text,
                                  MessageButtons buttons) = 0;

    // The main window's caption; a running step replaces it with its progress
    // text and puts back what it found when it ends.
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;

    // How far a long step has come, 0..100; front ends may ignore it.
    virtual void Percent(int /*percent*/) {}
};

}  // namespace tovix
