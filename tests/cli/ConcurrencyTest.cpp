// SPDX-License-Identifier: GPL-3.0-or-later
// Tool commands run at once from one program directory, as real processes:
// they take turns through the tool lock, so each gives exactly what it gives
// alone; and a command that replaces a set takes turns with the edits of it.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "cli/CliRun.h"
#include "dict/DicFileSet.h"
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

// Waits until the started program `tag` says `text` on standard error.
bool Says(const CliRun& run, const std::string& tag, std::string_view text) {
    for (int i = 0; i < 500; ++i) {
        if (run.ErrorsSoFar(tag).find(text) != std::string::npos) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Fault: two exm-to-tovix runs at once shared the work files, and one
// "succeeded" with entries of the other input; a gather beside a build
// rewrote the user's file without half of its headwords.
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
        for (const Command& c : kCommands) {
            EXPECT_TRUE(Says(together, c.tag, tool_text::kProgressWaitForTool)) << c.tag;
        }
    }
    for (size_t i = 0; i < kCommands.size(); ++i) {
        const test::CliResult result = together.Wait(pids[i], kCommands[i].tag);
        EXPECT_EQ(result.status, 0) << kCommands[i].tag << "\n" << result.err;
    }
    EXPECT_TRUE(Results(together) == Results(alone));
}

// Fault: a command that replaces a set read or replaced it while another
// copy added an entry to it, and the entry was lost with the set it replaced.
TEST(ConcurrencyTest, ACommandReplacingASetWaitsForItsEditsAndKeepsTheirEntries) {
    struct Case {
        std::vector<std::string> arguments;
        bool keepsEdits;  // the command builds from the set itself
    };
    const Case cases[] = {
        {{"remake", "--eng", "EJ.DIC"}, true},
        {{"gather", "--eng", "--tovix", "EJ.DIC"}, true},
        {{"exm-to-tovix", "--eng", "--yes", "b.txt", "EJ.DIC"}, false},
        {{"join", "--eng", "--tovix", "--yes", "A.DIC", "B.DIC", "EJ.DIC"}, false},
        {{"new", "--eng", "--yes", "EJ.DIC"}, false},
    };
    for (const Case& c : cases) {
        CliRun run;
        WriteInputs(run);
        for (const char* name : {"A", "B", "EJ"}) {
            const std::string input = name == std::string("B") ? "b.txt" : "a.txt";
            ASSERT_EQ(run.Run({"exm-to-tovix", "--eng", input, std::string(name) + ".DIC"}).status,
                      0);
        }
        pid_t command = 0;
        pid_t add = 0;
        {
            // Another copy edits EJ.DIC: both wait for it.
            const FileLock editing(SetLockFileName(run / "EJ.DIC"), "lock");
            command = run.Start(c.arguments, "command");
            add = run.Start({"add", "--eng", "EJ.DIC", "apple", "りんご"}, "add");
            EXPECT_TRUE(Says(run, "command", tool_text::kProgressWaitForSet)) << c.arguments[0];
            EXPECT_TRUE(Says(run, "add", tool_text::kProgressWaitForSet));
        }
        const test::CliResult result = run.Wait(command, "command");
        EXPECT_EQ(result.status, 0) << c.arguments[0] << "\n" << result.err;
        EXPECT_EQ(run.Wait(add, "add").status, 0);
        if (c.keepsEdits) {
            // Whichever ran first, the entry is in the set.
            const std::string part = test::ReadBytes(PartFileName(run / "EJ.DIC", 1));
            EXPECT_NE(part.find("apple \r\n"), std::string::npos) << c.arguments[0];
        }
    }
}

}  // namespace
}  // namespace tovix
