// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TerminalReporter.h"

#include <unistd.h>

#include <iostream>
#include <string_view>

#include "cli/CliMessages.h"
#include "platform/PlatformMessages.h"
#include "tools/Chains.h"

namespace tovix::cli {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \r") - first + 1);
}

// A message laid out for a dialog (blanks around it, the file name on a line
// of its own) as lines for the terminal: blanks removed, later lines indented.
std::string TerminalLines(std::string_view text) {
    std::string out;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = TrimBlanks(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty()) {
            continue;
        }
        if (!out.empty()) {
            out += "\n  ";
        }
        out += line;
    }
    return out;
}

constexpr int kBarWidth = 20;

}  // namespace

TerminalReporter::TerminalReporter(bool assumeYes)
    : assumeYes_(assumeYes),
      stdinIsTerminal_(isatty(STDIN_FILENO) == 1),
      stderrIsTerminal_(isatty(STDERR_FILENO) == 1),
      caption_(kProgramCaption) {}

TerminalReporter::~TerminalReporter() {
    EndProgressLine();
}

MessageResult TerminalReporter::Message(MessageKind kind, const std::string& text,
                                        MessageButtons buttons) {
    EndProgressLine();
    std::cerr << kProgramCaption << ": " << platform_text::KindCaption(kind) << ": "
              << TerminalLines(text) << std::endl;
    if ((buttons & kButtonYes) != 0 && (buttons & kButtonNo) != 0) {
        return Ask();
    }
    if ((buttons & kButtonAbort) != 0) {
        return MessageResult::Abort;
    }
    return MessageResult::Ok;
}

MessageResult TerminalReporter::Ask() {
    if (assumeYes_) {
        std::cerr << cli_text::kAssumedYes << std::endl;
        return MessageResult::Yes;
    }
    if (!stdinIsTerminal_) {
        Note(std::string(cli_text::kCannotAsk));
        throw CommandRefused();
    }
    for (;;) {
        std::cerr << cli_text::kYesOrNo << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer)) {
            std::cerr << std::endl;
            return MessageResult::No;
        }
        const std::string_view word = TrimBlanks(answer);
        if (word == "y" || word == "Y" || word == "yes" || word == cli_text::kYesWord) {
            return MessageResult::Yes;
        }
        if (word == "n" || word == "N" || word == "no" || word == cli_text::kNoWord) {
            return MessageResult::No;
        }
    }
}

void TerminalReporter::SetCaption(const std::string& caption) {
    caption_ = caption;
    EndProgressLine();
    percent_ = -1;
    progress_ = caption == kProgramCaption ? std::string() : std::string(TrimBlanks(caption));
    if (progress_.empty()) {
        return;
    }
    std::cerr << kProgramCaption << ": " << progress_;
    if (stderrIsTerminal_) {
        std::cerr << std::flush;
        lineOpen_ = true;
    } else {
        std::cerr << std::endl;
    }
}

void TerminalReporter::Percent(int percent) {
    if (!stderrIsTerminal_ || progress_.empty() || percent == percent_) {
        return;
    }
    percent_ = percent;
    percent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    const int filled = percent * kBarWidth / 100;
    std::cerr << "\r\033[K" << kProgramCaption << ": " << progress_ << " ["
              << std::string(static_cast<size_t>(filled), '#')
              << std::string(static_cast<size_t>(kBarWidth - filled), '-') << "] " << percent << "%"
              << std::flush;
    lineOpen_ = true;
}

void TerminalReporter::Note(const std::string& text) {
    EndProgressLine();
    std::cerr << kProgramCaption << ": " << text << std::endl;
}

void TerminalReporter::EndProgressLine() {
    if (lineOpen_) {
        std::cerr << std::endl;
        lineOpen_ = false;
    }
}

}  // namespace tovix::cli
