// SPDX-License-Identifier: GPL-3.0-or-later
// Text files in UTF-8 (with or without byte-order mark), CP932 and files that
// could be either, read by the tools end to end: what the dictionary holds is
// checked by converting it back to CP932 [EXM].

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

using test::CliRun;
using test::Sjis;

// `count` lines of Japanese in UTF-8: many multi-byte characters.
std::string Utf8Lines(int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += "k" + std::to_string(1000 + i) + "\t日本語の訳語\n";
    }
    return out;
}

std::string Cp932Lines(int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += "k" + std::to_string(1000 + i) + "\t" + Sjis("日本語の訳語") + "\r\n";
    }
    return out;
}

TEST(EncodingTest, TextInputsAreReadInTheEncodingTheyAreWrittenIn) {
    struct Case {
        const char* name;
        std::string input;
        std::vector<std::string> options;
        std::string exm;     // the set converted back to CP932 [EXM]
        const char* notice;  // a part of standard error, or ""
    };
    const Case cases[] = {
        {"UTF-8, LF",
         "bank\t銀行\napple\tりんご\n",
         {},
         Sjis("apple\tりんご\r\nbank\t銀行\r\n"),
         ""},
        // Guards: the byte-order mark stayed at the start of the first headword.
        {"UTF-8 with BOM",
         "\xEF\xBB\xBF"
         "apple\tりんご\r\n",
         {},
         Sjis("apple\tりんご\r\n"),
         ""},
        {"CP932", Sjis("apple\tりんご\r\n"), {}, Sjis("apple\tりんご\r\n"), ""},
        {"ASCII", "apple\tring\n", {}, "apple\tring\r\n", ""},
        // ﾂｱ in CP932 is C2 B1, also the UTF-8 of ±: the look decides UTF-8,
        // --encoding keeps the CP932 reading.
        {"ambiguous, auto", "x\t\xC2\xB1\n", {}, Sjis("x\t±\r\n"), ""},
        {"ambiguous, cp932", "x\t\xC2\xB1\n", {"--encoding", "cp932"}, "x\t\xC2\xB1\r\n", ""},
        {"CP932 beginning like UTF-8",
         "a\t\xC2\xB1\n" + Sjis("b\tりんご\r\n"),
         {},
         "a\t\xC2\xB1\r\n" + Sjis("b\tりんご\r\n"),
         ""},
        // A damaged byte in a long UTF-8 file, and characters CP932 lacks:
        // replaced by "?", counted, and their lines named.
        {"UTF-8 with a damaged byte",
         Utf8Lines(30) + "z1\tbad \xFF byte\nz2\t𠮷と🍎\n",
         {},
         Cp932Lines(30) + Sjis("z1\tbad ? byte\r\nz2\t?と?\r\n"),
         "CP932 にない文字 3 文字を「?」に置き換えて読み込みました (31, 32 行目)。"},
        {"forced UTF-8",
         Sjis("a\tあ\r\n"),
         {"--encoding=utf-8"},
         "a\t??\r\n",
         "CP932 にない文字 2 文字"},
    };
    for (const Case& c : cases) {
        CliRun run;
        test::WriteBytes(run / "in.txt", c.input);
        std::vector<std::string> build{"exm-to-tovix", "--eng"};
        build.insert(build.end(), c.options.begin(), c.options.end());
        build.insert(build.end(), {"in.txt", "X.DIC"});
        const auto built = run.Run(build);
        ASSERT_EQ(built.status, 0) << c.name << built.err;
        EXPECT_NE(built.err.find(c.notice), std::string::npos) << c.name << built.err;
        ASSERT_EQ(run.Run({"tovix-to-exm", "--eng", "X.DIC", "out.txt"}).status, 0) << c.name;
        EXPECT_EQ(test::ReadBytes(run / "out.txt"), c.exm) << c.name;
    }
}

TEST(EncodingTest, UsersUtf8FilesAreWrittenInUtf8) {
    CliRun run;
    test::WriteBytes(run / "ej.txt", "pear\t梨\napple\tりんご\n");
    ASSERT_EQ(run.Run({"exm-to-tovix", "--eng", "ej.txt", "EJ.DIC"}).status, 0);
    ASSERT_EQ(run.Run({"tovix-to-exm", "--eng", "--output-encoding", "utf-8", "EJ.DIC", "ej2.txt"})
                  .status,
              0);
    EXPECT_EQ(test::ReadBytes(run / "ej2.txt"), "apple\tりんご\r\npear\t梨\r\n");

    test::WriteBytes(run / "p.txt", "apple\n\tりんご\n");
    ASSERT_EQ(
        run.Run({"pdic-to-exm", "--eng", "--output-encoding=UTF-8", "p.txt", "p2.txt"}).status, 0);
    EXPECT_EQ(test::ReadBytes(run / "p2.txt"), "apple\tりんご\r\n");
    EXPECT_EQ(
        run.Run({"pdic-to-exm", "--eng", "--output-encoding", "euc-jp", "p.txt", "p3.txt"}).status,
        2);

    // Gathering in place keeps a UTF-8 file UTF-8; with characters CP932
    // lacks it asks first, and without an answer the file stays as it was.
    test::WriteBytes(run / "g.txt", "b\t梨\na\tりんご\na\t林檎\n");
    ASSERT_EQ(run.Run({"gather", "--eng", "--exm", "g.txt"}).status, 0);
    EXPECT_EQ(test::ReadBytes(run / "g.txt"), "a\tりんご,林檎\r\nb\t梨\r\n");
    const std::string lossy = "a\t🍎\nb\t梨\n";
    test::WriteBytes(run / "g.txt", lossy);
    const auto refused = run.Run({"gather", "--eng", "--exm", "g.txt"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("置き換えた内容で元のファイルを上書きしていいですか。"),
              std::string::npos);
    EXPECT_EQ(test::ReadBytes(run / "g.txt"), lossy);
    ASSERT_EQ(run.Run({"--yes", "gather", "--eng", "--exm", "g.txt"}).status, 0);
    EXPECT_EQ(test::ReadBytes(run / "g.txt"), "a\t?\r\nb\t梨\r\n");
}

}  // namespace
}  // namespace tovix
