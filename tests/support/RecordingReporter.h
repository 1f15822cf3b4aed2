// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A reporter for tests: records every message and caption, and answers
// questions from a queue (or with a fixed default).

#include <deque>
#include <string>
#include <vector>

#include "platform/Reporter.h"

namespace tovix::test {

class RecordingReporter : public Reporter {
  public:
    struct Shown {
        MessageKind kind;
        std::string text;
        MessageButtons buttons;
    };

    MessageResult Message(MessageKind kind, const std::string& text,
                          MessageButtons buttons) override {
        messages.push_back({kind, text, buttons});
        if (!answers.empty()) {
            MessageResult r = answers.front();
            answers.pop_front();
            return r;
        }
        return defaultAnswer;
    }
    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& c) override {
        caption = c;
        captions.push_back(c);
    }

    std::vector<Shown> messages;
    std::vector<std::string> captions;
    std::deque<MessageResult> answers;
    MessageResult defaultAnswer = MessageResult::Yes;
    std::string caption = "Tovix (ﾒｲﾝ)";
};

}  // namespace tovix::test
