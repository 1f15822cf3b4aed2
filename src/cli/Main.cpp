// SPDX-License-Identifier: GPL-3.0-or-later
// tovix-tool: the dictionary tools of the viewer's menus on the command line.

#include <cstddef>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Arguments.h"
#include "cli/CliMessages.h"
#include "cli/Subcommands.h"
#include "cli/TerminalReporter.h"
#include "platform/Guard.h"
#include "platform/PlatformMessages.h"
#include "platform/ProgramDir.h"
#include "platform/VersionText.h"
#include "tools/Chains.h"

namespace tovix::cli {
namespace {

void PrintHelp() {
    std::cout << cli_text::kHelpHead;
    for (const Subcommand& s : Subcommands()) {
        std::cout << "  " << s.name << " " << s.usage << "\n      " << s.summary << "\n";
    }
    std::cout << cli_text::kHelpTail << ProgramDir().string() << cli_text::kHelpEnd;
}

int Run(int argc, char** argv) {
    std::vector<std::string> tokens(argv + 1, argv + argc);
    // --yes, --help and --version may stand anywhere before "--".
    const auto given = [&](std::string_view longName, std::string_view shortName) {
        bool found = false;
        for (size_t i = 0; i < tokens.size() && tokens[i] != "--";) {
            if (tokens[i] == longName || tokens[i] == shortName) {
                tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i));
                found = true;
            } else {
                ++i;
            }
        }
        return found;
    };
    const bool help = given("--help", "-h");
    const bool yes = given("--yes", "-y");
    if (given("--version", "--version")) {
        std::cout << VersionText("tovix-tool");
        return kExitOk;
    }
    if (help) {
        PrintHelp();
        return kExitOk;
    }
    if (tokens.empty()) {
        std::cerr << kProgramCaption << ": " << cli_text::kNoSubcommand << "\n";
        return kExitUsage;
    }
    const Subcommand* subcommand = FindSubcommand(tokens.front());
    if (subcommand == nullptr) {
        std::cerr << kProgramCaption << ": " << cli_text::UnknownSubcommand(tokens.front()) << "\n";
        return kExitUsage;
    }
    Arguments arguments(std::vector<std::string>(tokens.begin() + 1, tokens.end()));
    TerminalReporter reporter(yes);
    ToolJob job(reporter, ProgramDir());
    Context context{reporter, job, *subcommand};
    try {
        return subcommand->run(arguments, context);
    } catch (const CommandRefused&) {
        return kExitFailed;
    } catch (...) {
        reporter.Note(std::string(platform_text::kCannotContinue) + ": " +
                      FailureReason(std::current_exception()));
        return kExitFailed;
    }
}

}  // namespace
}  // namespace tovix::cli

int main(int argc, char** argv) {
    return tovix::cli::Run(argc, argv);
}
