// Tool commands run at once from one program directory, as real processes:
// they take turns through the tool lock, so each gives exactly what it gives
// alone.
// Fault: two exm-to-tovix runs at once shared the work files, and one
// "succeeded" with entries of the other input; a gather beside a build
// rewrote the user's file without half of its headwords.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "cli/CliRun.h"
#include "platform/FileLock.h"
#include "support/SetFiles.h"
#include "tools/ToolLock.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

using test::CliRun;

// An [EXM] file of `count` entries whose headwords begin with every letter.
std::string Entries(const std::string& tag, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += std::string(1, static_cast<char>('a' + i % 26)) + tag + std::to_string(i) + "\t" +
                tag + std::to_string(i) + "\r\n";
        if (i % 3 == 0) {  // duplicate headwords for the gather
            text += std::string(1, static_cast<char>('a' + i % 26)) + tag + std::to_string(i) +
                    "\tmore\r\n";
        }
    }
    return text;
}

struct Command {
    std::string tag;
    std::vector<std::string> arguments;
};

const std::vector<Command> kCommands = {
    {"a", {"exm-to-tovix", "--eng", "a.txt", "A.DIC"}},
    {"b", {"exm-to-tovix", "--eng", "b.txt", "B.DIC"}},
    {"g", {"gather", "--eng", "--exm", "g.txt"}},
};

void WriteInputs(const CliRun& run) {
    test::WriteBytes(run / "a.txt", Entries("a", 3000));
    test::WriteBytes(run / "b.txt", Entries("b", 3000));
    test::WriteBytes(run / "g.txt", Entries("g", 3000));
}

// The outputs of the three commands.
std::string Results(const CliRun& run) {
    return test::SetBytes(run / "A.DIC", Direction::English) +
           test::SetBytes(run / "B.DIC", Direction::English) + test::ReadBytes(run / "g.txt");
}

TEST(ConcurrencyTest, ToolRunsAtOnceWaitForEachOtherAndGiveWhatTheyGiveAlone) {
    CliRun alone;
    WriteInputs(alone);
    for (const Command& c : kCommands) {
        ASSERT_EQ(alone.Run(c.arguments).status, 0);
    }

    CliRun together;
    WriteInputs(together);
    std::vector<pid_t> pids;
    {
        // Holding the lock here makes all three start while a command runs.
        const FileLock held(ToolLockFileName(together / ""), "lock");
        for (const Command& c : kCommands) {
            pids.push_back(together.Start(c.arguments, c.tag));
        }
        const std::string waiting(tool_text::kProgressWaitForTool);
        for (const Command& c : kCommands) {
            for (int i = 0;
                 i < 500 && together.ErrorsSoFar(c.tag).find(waiting) == std::string::npos; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            EXPECT_NE(together.ErrorsSoFar(c.tag).find(waiting), std::string::npos) << c.tag;
        }
    }
    for (size_t i = 0; i < kCommands.size(); ++i) {
        const test::CliResult result = together.Wait(pids[i], kCommands[i].tag);
        EXPECT_EQ(result.status, 0) << kCommands[i].tag << "\n" << result.err;
    }
    EXPECT_TRUE(Results(together) == Results(alone));
}

}  // namespace
}  // namespace tovix
