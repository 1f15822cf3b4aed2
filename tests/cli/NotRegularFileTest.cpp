// SPDX-License-Identifier: GPL-3.0-or-later
// Files that are not regular files (here FIFOs, which block a reader until
// someone writes) where the tools, the lookup, the find and the settings
// expect a file: refused with the message of the place that opens them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "support/Fifo.h"

namespace tovix {
namespace {

using test::CliRun;

// Guards: a FIFO as a tool's input, table file, part file or settings file
// hung the command.
TEST(NotRegularFileTest, FifosAreRefusedWithTheOpeningMessage) {
    struct Case {
        const char* what;
        const char* fifo;
        std::vector<std::string> arguments;
        const char* message;  // part of standard error
    };
    const Case cases[] = {
        {"tool input",
         "in.txt",
         {"exm-to-tovix", "--eng", "in.txt", "NEW.DIC"},
         "辞書ファイルの変換に失敗しました。"},
        {"table file",
         "EJ.DAT",
         {"lookup", "--eng", "EJ.DIC", "bank"},
         "指定された辞書テーブルファイルがオープンできませんでした。"},
        {"part file in the lookup",
         "EJ.002",
         {"lookup", "--eng", "EJ.DIC", "bank"},
         "辞書ファイルがオープンできません。"},
        {"part file in the find",
         "EJ.002",
         {"find", "EJ.DIC", "銀行"},
         "辞書ファイルがオープンできません。"},
        {"settings file",
         "tovix.INI",
         {"register", "--eng", "EJ", "EJ.DIC"},
         "指定されたファイルが作成できませんでした。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CliRun run;
        run.Write("ej.txt", "apple\tりんご\r\nbank\t銀行\r\n");
        ASSERT_EQ(run.Run({"exm-to-tovix", "--eng", "ej.txt", "EJ.DIC"}).status, 0);
        test::MakeFifo(run / c.fifo);
        test::FifoWatchdog watchdog({run / c.fifo});
        const test::CliResult result = run.Run(c.arguments);
        EXPECT_FALSE(watchdog.Fired()) << "the command waited for the FIFO";
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_TRUE(std::filesystem::is_fifo(run / c.fifo)) << "the FIFO was replaced";
    }
}

}  // namespace
}  // namespace tovix
