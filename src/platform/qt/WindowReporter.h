// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The viewer's reporter: messages as message boxes over the window, progress
// texts as the window's caption. Setting the caption only sets it: long work
// runs on a thread of its own (app/gui/ToolRunner.h), so the event loop keeps
// painting the window, and no event runs in the middle of a command.

#include "platform/Reporter.h"

class QWidget;

namespace tovix {

class WindowReporter : public Reporter {
  public:
    explicit WindowReporter(QWidget* window) : window_(window) {}

    MessageResult Message(MessageKind kind, const std::string& text,
                          MessageButtons buttons) override;
    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;

  private:
    QWidget* window_;
};

}  // namespace tovix
