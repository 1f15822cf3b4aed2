// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/EditBoxCheck.h"

#include <sys/stat.h>

#include <charconv>
#include <filesystem>
#include <set>
#include <system_error>

#include "dict/DicFileSet.h"
#include "dict/KeyAlphabet.h"

#include "platform/MessageText.h"
#include "tools/ConvertCommon.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

// The file a name stands for, as far as it can be known without the file.
fs::path Resolved(const std::string& name) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(fs::absolute(name, error), error);
    return error ? fs::path(name).lexically_normal() : resolved;
}

// What tells two names of one file: the device and inode of a file that
// exists, else the resolved name.
std::string FileKey(const fs::path& name) {
    struct stat status {};
    if (::stat(name.c_str(), &status) == 0) {
        return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
    }
    return Resolved(name.string()).string();
}

// The keys of the files `name` stands for: the file, or every file of a set.
std::set<std::string> FileKeys(const std::string& name, bool isSet, Direction direction) {
    std::set<std::string> keys{FileKey(name)};
    if (isSet) {
        for (int part = 1; part <= AlphabetSize(direction); ++part) {
            keys.insert(FileKey(PartFileName(name, part)));
        }
        keys.insert(FileKey(TableFileName(name)));
        keys.insert(FileKey(GlobalTableFileName(name)));
        keys.insert(FileKey(WrittenFormFileName(name)));
    }
    return keys;
}

// One window's checks, run in order; each shows its own message and returns
// false when the names are refused.
class Checks {
  public:
    Checks(const ToolWindowEdits& edits, Reporter& reporter, const ToolNameRoles& roles)
        : edits_(edits), reporter_(reporter), roles_(roles) {}

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

    // An output whose files (a set's derived names too) include a file of
    // the input would overwrite the input.
    bool DistinctFiles(const std::string& input, const std::string& output) {
        if (!roles_.readsSets && !roles_.writesSet) {
            return true;
        }
        const std::set<std::string> read = FileKeys(input, roles_.readsSets, roles_.direction);
        for (const std::string& key : FileKeys(output, roles_.writesSet, roles_.direction)) {
            if (read.contains(key)) {
                Refuse(PaddedMessage(tool_text::kSameFileName));
                return false;
            }
        }
        return true;
    }

    // A set that is read must be of the command's direction: re-making a
    // Japanese-English set as English-Japanese would make it unopenable.
    bool OfDirection(const std::string& name) {
        if (!roles_.readsSets) {
            return true;
        }
        const std::optional<Direction> direction = SetDirection(name);
        if (!direction || *direction == roles_.direction) {
            return true;
        }
        Refuse(FileMessage(
            name, *direction == Direction::Japanese ? tool_text::kSetIsJpn : tool_text::kSetIsEng));
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
    const ToolNameRoles& roles_;
};

bool CheckOneInOneOut(Checks& c) {
    const ToolWindowEdits& e = c.edits();
    return c.NotEmpty(e.Edit1, tool_text::kNoInputName) &&
           c.NotEmpty(e.Edit2, tool_text::kNoOutputName) && c.Different(e.Edit1, e.Edit2) &&
           c.DistinctFiles(e.Edit1, e.Edit2) && c.Exists(e.Edit1) && c.OfDirection(e.Edit1) &&
           c.MayOverwrite(e.Edit2);
}

bool CheckJoin(Checks& c) {
    const ToolWindowEdits& e = c.edits();
    return c.NotEmpty(e.Edit1, tool_text::kNoInputName1) &&
           c.NotEmpty(e.Edit2, tool_text::kNoInputName2) &&
           c.NotEmpty(e.Edit3, tool_text::kNoOutputName) && c.Different(e.Edit1, e.Edit2) &&
           c.Different(e.Edit1, e.Edit3) && c.Different(e.Edit2, e.Edit3) &&
           c.DistinctFiles(e.Edit1, e.Edit3) && c.DistinctFiles(e.Edit2, e.Edit3) &&
           c.Exists(e.Edit1) && c.Exists(e.Edit2) && c.OfDirection(e.Edit1) &&
           c.OfDirection(e.Edit2) && c.MayOverwrite(e.Edit3);
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

// The steps write the work files in place: a typed name that is one of them,
// by its name or another (a link, a hard link, another spelling of its
// folder), would be overwritten while it is read or replaced. Files are
// compared by device and inode.
bool ApartFromWorkFiles(const ToolWindowEdits& edits, ToolJob& job, const ToolNameRoles& roles) {
    std::set<std::string> work;
    for (const fs::path& file : WorkFiles(job.workDir)) {
        work.insert(FileKey(file));
    }
    const bool sets = roles.readsSets || roles.writesSet;
    for (const std::string* name : {&edits.Edit1, &edits.Edit2, &edits.Edit3}) {
        if (name->empty()) {
            continue;
        }
        for (const std::string& key : FileKeys(*name, sets, roles.direction)) {
            if (work.contains(key)) {
                job.reporter.Message(MessageKind::Warning,
                                     FileMessage(*name, tool_text::kWorkFileNamed), kButtonAbort);
                return false;
            }
        }
    }
    return true;
}

}  // namespace

std::string WrittenSet(ToolForm window, const ToolNameRoles& roles, const ToolJob& job) {
    if (!roles.writesSet) {
        return {};
    }
    return window == ToolForm::InPlace ? job.InName1 : job.OutName1;
}

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

bool EditBoxCheck(ToolForm window, const ToolWindowEdits& edits, Reporter& reporter,
                  const ToolNameRoles& roles) {
    Checks checks(edits, reporter, roles);
    switch (window) {
        case ToolForm::OneInOneOut:
            return CheckOneInOneOut(checks);
        case ToolForm::InPlace:
            return checks.NotEmpty(edits.Edit1, tool_text::kNoFileName) &&
                   checks.OfDirection(edits.Edit1);
        case ToolForm::TwoInOneOut:
            return CheckJoin(checks);
        case ToolForm::NewFile:
            // Asked like every other output: replacing a dictionary by the
            // seed entries without a question would lose it.
            return checks.NotEmpty(edits.Edit1, tool_text::kNoSortFileName) &&
                   checks.MayOverwrite(edits.Edit1);
        case ToolForm::LengthCheck:
            return CheckLengthCheck(checks);
    }
    return false;
}

bool AcceptToolWindow(ToolForm window, const ToolWindowEdits& edits, ToolJob& job,
                      const ToolNameRoles& roles) {
    job.Accepted = false;
    if (!EditBoxCheck(window, edits, job.reporter, roles) ||
        !ApartFromWorkFiles(edits, job, roles)) {
        return false;
    }
    switch (window) {
        case ToolForm::OneInOneOut:
            job.InName1 = edits.Edit1;
            job.OutName1 = edits.Edit2;
            break;
        case ToolForm::InPlace:
            job.InName1 = edits.Edit1;
            break;
        case ToolForm::TwoInOneOut:
            job.InName1 = edits.Edit1;
            job.InName2 = edits.Edit2;
            job.OutName1 = edits.Edit3;
            break;
        case ToolForm::NewFile:
            job.OutName1 = edits.Edit1;
            break;
        case ToolForm::LengthCheck:
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
