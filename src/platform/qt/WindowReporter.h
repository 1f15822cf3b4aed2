// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The viewer's reporter: messages as message boxes over the window, progress
// texts as the window's caption. A caption change lets pending paint events
// run (but no user input), so the window stays painted while a long tool step
// works and the user sees its progress.

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
