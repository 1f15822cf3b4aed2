#pragma once
// The state of the running tool command. The tool windows (or the command line)
// fill the typed names; the command copies them into Source, Dest, Extra and
// DatName before each step; a step reads only those, reports its progress and
// failure through the reporter, and sets Failed when it fails.

#include <filesystem>
#include <string>

#include "platform/Reporter.h"

namespace tovix {

struct ToolJob {
    explicit ToolJob(Reporter& r, std::filesystem::path work)
        : reporter(r), workDir(std::move(work)) {}

    Reporter& reporter;
    // The directory of the work files ("TOVIXSRT.TXT" ...): the program
    // directory, or a directory of its own in tests.
    std::filesystem::path workDir;

    // File names of the current step, as typed (UTF-8 paths).
    std::string Source;
    std::string Dest;
    std::string Extra;
    std::string DatName;
    // Length limits of check and divide, decimal texts as typed.
    std::string HeadLimit = "256";
    std::string TransLimit = "512";

    // Names typed in the tool window.
    std::string InName1;
    std::string InName2;
    std::string OutName1;
    std::string OutName2;

    bool Accepted = false;
    bool Failed = false;

    std::filesystem::path WorkFile(const char* name) const { return workDir / name; }
};

}  // namespace tovix
