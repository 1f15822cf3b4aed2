// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reporter of the command line: messages and progress go to standard
// error, questions are answered by --yes, asked on the terminal, or, when
// nobody can answer them, refused (the running command then stops).

#include <cstdio>
#include <string>

#include "platform/Reporter.h"

namespace tovix::cli {

class TerminalReporter : public Reporter {
  public:
    // `assumeYes`: answer every question with はい without asking.
    explicit TerminalReporter(bool assumeYes);
    ~TerminalReporter() override;
    TerminalReporter(const TerminalReporter&) = delete;
    TerminalReporter& operator=(const TerminalReporter&) = delete;

    MessageResult Message(MessageKind kind, const std::string& text,
                          MessageButtons buttons) override;
    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override;
    void Percent(int percent) override;

    // A line of the program's own on standard error ("tovix-tool: ...").
    void Note(const std::string& text);

  private:
    MessageResult Ask();
    void EndProgressLine();

    bool assumeYes_;
    bool stdinIsTerminal_;
    bool stderrIsTerminal_;
    std::string caption_;
    std::string progress_;   // the progress text shown, empty when none
    bool lineOpen_ = false;  // the progress line on the terminal is not ended yet
    int percent_ = -1;       // last percentage drawn
};

// The caption the reporter starts with; a step puts it back when it ends.
inline constexpr const char* kProgramCaption = "tovix-tool";

}  // namespace tovix::cli
