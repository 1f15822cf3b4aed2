// SPDX-License-Identifier: GPL-3.0-or-later
// Refused and failing commands through tovix-tool: the exit status, the
// message on standard error, and the user's files left exactly as they were.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliRun.h"

namespace tovix {
namespace {

using test::CliRun;

std::string ManySenses(int count) {
    std::string senses;
    for (int i = 1; i <= count; ++i) {
        senses += (i == 1 ? "" : ",") + std::to_string(i);
    }
    return senses;
}

TEST(FailureTest, RefusedOrFailedCommandsKeepTheUsersFiles) {
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        int status;
        const char* message;  // part of standard error
    };
    const std::string e = "exm-to-tovix";
    const Case cases[] = {
        {"missing input",
         {e, "--eng", "none.txt", "NEW.DIC"},
         1,
         "none.txt の\n  指定されたファイルが存在しません。"},
        {"same file twice",
         {e, "--eng", "good.txt", "./good.txt"},
         1,
         "同一のファイル名は指定できません。"},
        {"existing output, nobody to ask",
         {e, "--eng", "good.txt", "EJ.DIC"},
         1,
         "指定されたファイルを上書きしていいですか。"},
        {"line without TAB",
         {"--yes", e, "--eng", "bad.txt", "EJ.DIC"},
         1,
         "bad.txt の\n  辞書ファイルの内容が正しくありません。"},
        {"gather [EXM] with a line without TAB",
         {"gather", "--eng", "--exm", "bad.txt"},
         1,
         "辞書ファイルの内容が正しくありません。"},
        {"129 senses",
         {"gather", "--eng", "--exm", "senses.txt"},
         1,
         "辞書ファイルの作成に失敗しました。"},
        {"re-make without its part files",
         {"remake", "--eng", "GONE.DIC"},
         1,
         "辞書ファイルの変換に失敗しました。"},
        {"limit not a number",
         {"check", "--exm", "--head", "abc", "good.txt", "o1", "o2"},
         1,
         "'abc' は整数ではありません"},
        {"limit 0",
         {"check", "--pdic", "--trans", "0", "good.txt", "o1", "o2"},
         1,
         "訳語の文字数は１０２４以下です。"},
        {"division question, nobody to ask",
         {"divide", "--pdic", "--head", "2", "good.txt", "o1", "o2"},
         1,
         "終了しますか"},
        // Faults: new replaced an existing dictionary without asking; an
        // output's derived names overwrote an input; remake made a set of the
        // other direction unopenable.
        {"new over an existing set, nobody to ask",
         {"new", "--eng", "EJ.DIC"},
         1,
         "指定されたファイルを上書きしていいですか。"},
        {"the set's table file is the input",
         {"--yes", e, "--eng", "words.DAT", "words.DIC"},
         1,
         "同一のファイル名は指定できません。"},
        {"remake of the other direction",
         {"--yes", "remake", "--eng", "JE.DIC"},
         1,
         "和英辞書のファイルです。英和辞書として処理できません。"},
        {"unknown subcommand", {"convert", "a", "b"}, 2, "サブコマンドはありません"},
        {"two directions", {e, "--eng", "--jpn", "good.txt", "X.DIC"}, 2, "使い方:"},
        {"unknown option", {e, "--eng", "--fast", "good.txt", "X.DIC"}, 2, "使い方:"},
        {"one name missing", {"join", "--eng", "--exm", "a", "b"}, 2, "使い方:"},
    };
    for (const Case& c : cases) {
        CliRun run;
        run.Write("good.txt", "apple\tりんご\r\nbank\t銀行\r\n");
        run.Write("bad.txt", "apple\tりんご\r\nbroken line\r\nbank\t銀行\r\n");
        run.Write("senses.txt", "a\t" + ManySenses(129) + "\r\na\tx\r\n");
        run.Write("GONE.DIC", "GONE.DIC\r\n\r\n");
        run.Write("words.DAT", "apple\tりんご\r\n");
        run.Write("JE.DIC", "JE.DIC\r\n\r\n");
        run.Write("JE.DAT", "＊＊=0\r\nああ=0\r\n");
        ASSERT_EQ(run.Run({e, "--eng", "good.txt", "EJ.DIC"}).status, 0);
        // The user's files: not the program, its work files or a set's lock
        // file (taken by a command that would replace the set; it stays).
        const auto users = [](const std::filesystem::path& path) {
            const std::string name = path.filename().string();
            return name != "tovix-tool" && !name.starts_with("TOVIX") &&
                   !name.ends_with(".tovix-lock");
        };
        std::vector<std::pair<std::filesystem::path, std::string>> before;
        for (const auto& file : std::filesystem::directory_iterator(run / "")) {
            if (users(file.path())) {
                before.emplace_back(file.path(), test::ReadBytes(file.path()));
            }
        }

        const auto result = run.Run(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.what << "\n" << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << c.what << "\n" << result.err;
        size_t after = 0;
        for (const auto& file : std::filesystem::directory_iterator(run / "")) {
            after += users(file.path());
        }
        EXPECT_EQ(after, before.size()) << c.what << ": a file was added or left behind";
        for (const auto& [path, bytes] : before) {
            EXPECT_EQ(test::ReadBytes(path), bytes) << c.what << ": " << path;
        }
    }
}

}  // namespace
}  // namespace tovix
