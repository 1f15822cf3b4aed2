#include "tools/EditBoxCheck.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "platform/MessageText.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

// One window's checks, run in order; each shows its own message and returns
// false when the names are refused.
class Checks {
  public:
    Checks(const ToolWindowEdits& edits, Reporter& reporter) : edits_(edits), reporter_(reporter) {}

    bool NotEmpty(const std::string& edit, std::string_view message) {
        if (!edit.empty()) {
            return true;
        }
        reporter_.Message(MessageKind::Warning, PaddedMessage(message), kButtonOk);
        return false;
    }

    bool Different(const std::string& a, const std::string& b) {
        if (!SameFileName(a, b)) {
            return true;
        }
        Refuse(PaddedMessage(tool_text::kSameFileName));
        return false;
    }

    bool Exists(const std::string& name) {
        std::error_code error;
        if (fs::exists(name, error) && !fs::is_directory(name, error)) {
            return true;
        }
        Refuse(FileMessage(name, tool_text::kFileMissing));
        return false;
    }

    // Asks before an existing output is replaced; only はい goes on.
    bool MayOverwrite(const std::string& name) {
        std::error_code error;
        if (!fs::exists(fs::symlink_status(name, error))) {
            return true;
        }
        return reporter_.Message(MessageKind::Information,
                                 FileMessage(name, tool_text::kOverwriteQuestion),
                                 kButtonYes | kButtonNo) == MessageResult::Yes;
    }

    bool Limit(const std::string& edit, std::string_view message) {
        const std::optional<long long> value = ParseInteger(edit);
        if (!value) {
            // The text is shown as typed, like the platform's conversion error.
            reporter_.Message(MessageKind::Error, tool_text::NotAnInteger(edit), kButtonOk);
            return false;
        }
        if (*value >= kMinLengthLimit && *value <= kMaxLengthLimit) {
            return true;
        }
        Refuse(PaddedMessage(message));
        return false;
    }

    const ToolWindowEdits& edits() const { return edits_; }

  private:
    void Refuse(const std::string& text) {
        reporter_.Message(MessageKind::Warning, text, kButtonAbort);
    }

    const ToolWindowEdits& edits_;
    Reporter& reporter_;
};

bool CheckOneInOneOut(Checks& c) {
    const ToolWindowEdits& e = c.edits();
    return c.NotEmpty(e.Edit1, tool_text::kNoInputName) &&
           c.NotEmpty(e.Edit2, tool_text::kNoOutputName) && c.Different(e.Edit1, e.Edit2) &&
           c.Exists(e.Edit1) && c.MayOverwrite(e.Edit2);
}

bool CheckJoin(Checks& c) {
    const ToolWindowEdits& e = c.edits();
    return c.NotEmpty(e.Edit1, tool_text::kNoInputName1) &&
           c.NotEmpty(e.Edit2, tool_text::kNoInputName2) &&
           c.NotEmpty(e.Edit3, tool_text::kNoOutputName) && c.Different(e.Edit1, e.Edit2) &&
           c.Different(e.Edit1, e.Edit3) && c.Different(e.Edit2, e.Edit3) && c.Exists(e.Edit1) &&
           c.Exists(e.Edit2) && c.MayOverwrite(e.Edit3);
}

bool CheckLengthCheck(Checks& c) {
    const ToolWindowEdits& e = c.edits();
    return c.NotEmpty(e.Edit1, tool_text::kNoInputName1) &&
           c.NotEmpty(e.Edit2, tool_text::kNoOutputName1) &&
           c.NotEmpty(e.Edit3, tool_text::kNoOutputName2) && c.Different(e.Edit1, e.Edit2) &&
           c.Different(e.Edit1, e.Edit3) && c.Different(e.Edit2, e.Edit3) && c.Exists(e.Edit1) &&
           c.MayOverwrite(e.Edit2) && c.MayOverwrite(e.Edit3) &&
           c.Limit(e.Edit4, tool_text::kHeadLimitRange) &&
           c.Limit(e.Edit5, tool_text::kTransLimitRange);
}

// The file a name stands for, as far as it can be known without the file.
fs::path Resolved(const std::string& name) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(fs::absolute(name, error), error);
    return error ? fs::path(name).lexically_normal() : resolved;
}

}  // namespace

bool SameFileName(const std::string& a, const std::string& b) {
    if (a == b) {
        return true;
    }
    std::error_code error;
    if (fs::exists(a, error) && fs::exists(b, error)) {
        return fs::equivalent(a, b, error) && !error;
    }
    return Resolved(a) == Resolved(b);
}

std::optional<long long> ParseInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

bool EditBoxCheck(ToolWindow window, const ToolWindowEdits& edits, Reporter& reporter) {
    Checks checks(edits, reporter);
    switch (window) {
        case ToolWindow::TForm22:
            return CheckOneInOneOut(checks);
        case ToolWindow::TForm23:
            return checks.NotEmpty(edits.Edit1, tool_text::kNoFileName);
        case ToolWindow::TForm24:
            return CheckJoin(checks);
        case ToolWindow::TForm25:
            return checks.NotEmpty(edits.Edit1, tool_text::kNoSortFileName);
        case ToolWindow::TForm26:
            return CheckLengthCheck(checks);
    }
    return false;
}

bool AcceptToolWindow(ToolWindow window, const ToolWindowEdits& edits, ToolJob& job) {
    job.Accepted = false;
    if (!EditBoxCheck(window, edits, job.reporter)) {
        return false;
    }
    switch (window) {
        case ToolWindow::TForm22:
            job.InName1 = edits.Edit1;
            job.OutName1 = edits.Edit2;
            break;
        case ToolWindow::TForm23:
            job.InName1 = edits.Edit1;
            break;
        case ToolWindow::TForm24:
            job.InName1 = edits.Edit1;
            job.InName2 = edits.Edit2;
            job.OutName1 = edits.Edit3;
            break;
        case ToolWindow::TForm25:
            job.OutName1 = edits.Edit1;
            break;
        case ToolWindow::TForm26:
            job.InName1 = edits.Edit1;
            job.OutName1 = edits.Edit2;
            job.OutName2 = edits.Edit3;
            job.HeadLimit = edits.Edit4;
            job.TransLimit = edits.Edit5;
            break;
    }
    job.Accepted = true;
    return true;
}

}  // namespace tovix
