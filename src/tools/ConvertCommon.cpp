// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ConvertCommon.h"

#include <algorithm>
#include <limits>

#include "components/MbString.h"
#include "dict/KanaText.h"
#include "platform/MessageText.h"
#include "platform/ProgramDir.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

constexpr std::string_view kWorkFileNames[] = {
    "TOVIXCNV.TXT", "TOVIXTAB.TXT", "TOVIXTA1.TXT", "TOVIXTA2.TXT", "TOVIXSRT.TXT", "TOVIXSEP.TXT",
    "TOVIXDUP.TXT", "TOVIXCRR.TXT", "TOVIXIN1.TXT", "TOVIXIN2.TXT", "TOVIXOUT.TXT", "TOVIXKJI.TXT",
};

// Entry editing's work files, the program's name with these extensions.
constexpr std::string_view kEditWorkExtensions[] = {".AD1", ".ADD"};

bool IsWorkFileName(const std::string& name) {
    return std::ranges::find(kWorkFileNames, name) != std::end(kWorkFileNames) ||
           std::ranges::any_of(kEditWorkExtensions, [&](std::string_view extension) {
               return NameWithExtension(kProgramName, extension) == name;
           });
}

// The directory without a trailing separator, so that "/prog/" and "/prog"
// name the same place.
std::filesystem::path DirectoryName(const std::filesystem::path& dir) {
    const std::filesystem::path normal = dir.lexically_normal();
    return normal.has_filename() ? normal : normal.parent_path();
}

bool IsWorkFile(const ToolJob& job, const std::filesystem::path& path) {
    const std::filesystem::path normal = path.lexically_normal();
    return normal.parent_path() == DirectoryName(job.workDir) &&
           IsWorkFileName(normal.filename().string());
}

// The places of the written form's brackets in a J-E headword: the columns
// of the first "[" and the first "]", 0 when absent.
struct Brackets {
    explicit Brackets(std::string_view head)
        : open(MbPosEnd("[", head)), close(MbPosEnd("]", head)) {}
    // "[" directly followed by "]": the written form is missing.
    bool Empty() const { return open && close == open + 1; }
    std::string_view Reading(std::string_view head) const { return head.substr(0, open.Offset()); }
    std::string_view FromOpen(std::string_view head) const { return head.substr(open.Offset()); }

    ByteColumn open;
    ByteColumn close;
};

}  // namespace

std::filesystem::path OutputPath(ToolJob& job, const std::string& name) {
    const std::filesystem::path path(name);
    return IsWorkFile(job, path) ? path : job.WritePath(name);
}

std::vector<std::filesystem::path> WorkFiles(const std::filesystem::path& workDir) {
    std::vector<std::filesystem::path> files;
    for (const std::string_view name : kWorkFileNames) {
        files.push_back(workDir / name);
    }
    for (const std::string_view extension : kEditWorkExtensions) {
        files.push_back(workDir / NameWithExtension(kProgramName, extension));
    }
    return files;
}

std::filesystem::path InputPath(const ToolJob& job, const std::string& name) {
    return job.ReadPath(name);
}

bool SplitAtTab(std::string_view line, std::string_view& head, std::string_view& rest) {
    const ByteColumn tab = MbPosEnd("\t", line);
    if (!tab) {
        return false;
    }
    head = line.substr(0, tab.Offset());
    rest = line.substr(tab.Offset() + 1);
    return true;
}

std::string JpnWorkHead(std::string_view head) {
    std::string out;
    AppendJpnWorkHead(head, out);
    return out;
}

void AppendJpnWorkHead(std::string_view head, std::string& out) {
    const Brackets brackets(head);
    if (!brackets.open) {
        out.append(head).append(" [").append(head).append("]");
    } else if (brackets.Empty()) {
        const std::string_view reading = brackets.Reading(head);
        out.append(reading).append(" [").append(HiraToKata(reading)).append("]");
    } else {
        out.append(brackets.Reading(head)).append(" ").append(brackets.FromOpen(head));
    }
}

std::string JpnPairHead(std::string_view head) {
    std::string out;
    AppendJpnPairHead(head, out);
    return out;
}

void AppendJpnPairHead(std::string_view head, std::string& out) {
    const Brackets brackets(head);
    if (!brackets.open) {
        out.append(head).append("[").append(head).append("]");
    } else if (brackets.Empty()) {
        const std::string_view reading = brackets.Reading(head);
        out.append(reading).append("[").append(HiraToKata(reading)).append("]");
    } else {
        out.append(head);
    }
}

void ThrowContentError(const ToolJob& job) {
    throw StepError(FileMessage(job.Source, tool_text::kBadContent));
}

void PercentMeter::ShowPercent(unsigned long long done, unsigned long long total) {
    total_ = total;
    if (total == 0) {
        next_ = std::numeric_limits<unsigned long long>::max();
        return;
    }
    const unsigned long long percent = std::min(done, total) * 100 / total;
    if (static_cast<int>(percent) != shown_) {
        shown_ = static_cast<int>(percent);
        reporter_.Percent(shown_);
    }
    next_ = ((percent + 1) * total + 99) / 100;
}

}  // namespace tovix
