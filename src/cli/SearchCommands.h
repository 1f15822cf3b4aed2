// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The viewer's two searches on the command line: the lookup that follows the
// search field while a word is typed, and the free-text find. Both open the
// dictionary as the viewer does and print where the view ends up.

#include <string>
#include <string_view>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Subcommands.h"
#include "platform/Reporter.h"

namespace tovix::cli {

// The main window's warnings offer Yes and No and their answer is not used:
// on the command line they are printed and nobody is asked.
class ViewerReporter : public Reporter {
  public:
    explicit ViewerReporter(Reporter& terminal) : terminal_(terminal) {}

    MessageResult Message(MessageKind kind, const std::string& text, MessageButtons) override;
    std::string Caption() const override { return terminal_.Caption(); }
    void SetCaption(const std::string& caption) override { terminal_.SetCaption(caption); }

    int Messages() const { return messages_; }

  private:
    Reporter& terminal_;
    int messages_ = 0;
};

// The characters of a UTF-8 text one at a time, each as the CP932 bytes that
// the search field receives for it.
std::vector<std::string> Keystrokes(std::string_view utf8);

// lookup --eng|--jpn [--paste] [--ime-n] DICT.DIC WORD...: one line per word, tab
// separated: the search field's text, the current part, the view's top line,
// 1 or 0 for whether the last lookup matched, and the top line's text.
int LookupCommand(Arguments& arguments, Context& context);

// find [--case] [--up] [--all] DICT.DIC TEXT: "PART<TAB>LINE" of the hit,
// then the entry's headword and translation lines; or the not-found notice
// and exit 1. With --all one line "PART<TAB>LINE<TAB>HEADWORD" for every
// entry that the find and each find again after it stop at, in order.
int FindCommand(Arguments& arguments, Context& context);

}  // namespace tovix::cli
