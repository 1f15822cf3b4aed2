// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reporter of the benchmark programs: messages go to standard error
// (a benchmark that shows one has gone wrong), questions are answered はい,
// the caption is kept and shown nowhere.

#include <iostream>
#include <string>

#include "platform/Reporter.h"

namespace tovix::bench {

class SilentReporter : public Reporter {
  public:
    MessageResult Message(MessageKind, const std::string& text, MessageButtons) override {
        std::cerr << text << "\n";
        return MessageResult::Yes;
    }
    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override { caption_ = caption; }

  private:
    std::string caption_;
};

}  // namespace tovix::bench
