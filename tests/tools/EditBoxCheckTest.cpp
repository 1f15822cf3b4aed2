// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/EditBoxCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "platform/Cp932.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"
#include "tools/ToolJob.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

// Placeholders in the edits of a case, replaced by paths in the test's
// directory: "IN" and "IN2" exist, "OUT" exists, anything else does not.
std::string Expand(const std::string& edit, const test::TempDir& dir) {
    if (edit == "IN" || edit == "IN2" || edit == "OUT" || edit == "NEW" || edit == "NEW2") {
        return (dir / edit).string();
    }
    return edit;
}

TEST(EditBoxCheckTest, EveryWindowRefusesWithItsMessageOrAccepts) {
    struct Case {
        const char* what;
        ToolForm window;
        ToolWindowEdits edits;
        std::optional<MessageResult> answer;  // to the overwrite question
        bool accepted;
        MessageKind kind;
        MessageButtons buttons;
        const char* text;  // "%s" stands for the expanded first edit that is named
    };
    using enum ToolForm;
    const auto W = MessageKind::Warning;
    const auto I = MessageKind::Information;
    const auto E = MessageKind::Error;
    const Case cases[] = {
        {"22 empty input",
         OneInOneOut,
         {"", "NEW"},
         {},
         false,
         W,
         kButtonOk,
         "    読込ファイル名が指定されていません。          "},
        {"22 empty output",
         OneInOneOut,
         {"IN", ""},
         {},
         false,
         W,
         kButtonOk,
         "    作成ファイル名が指定されていません。          "},
        {"22 same name",
         OneInOneOut,
         {"IN", "IN"},
         {},
         false,
         W,
         kButtonAbort,
         "   同一のファイル名は指定できません。          "},
        {"22 missing input",
         OneInOneOut,
         {"MISSING", "NEW"},
         {},
         false,
         W,
         kButtonAbort,
         "   MISSING の\r\n   指定されたファイルが存在しません。          "},
        {"22 overwrite no",
         OneInOneOut,
         {"IN", "OUT"},
         MessageResult::No,
         false,
         I,
         kButtonYes | kButtonNo,
         "   %s の\r\n   指定されたファイルを上書きしていいですか。          "},
        {"22 overwrite yes",
         OneInOneOut,
         {"IN", "OUT"},
         MessageResult::Yes,
         true,
         I,
         kButtonYes | kButtonNo,
         "   %s の\r\n   指定されたファイルを上書きしていいですか。          "},
        {"22 new output", OneInOneOut, {"IN", "NEW"}, {}, true, W, 0, nullptr},
        {"23 empty",
         InPlace,
         {""},
         {},
         false,
         W,
         kButtonOk,
         "    ファイル名が指定されていません。          "},
        {"23 missing file is not its concern", InPlace, {"MISSING"}, {}, true, W, 0, nullptr},
        {"25 empty",
         NewFile,
         {""},
         {},
         false,
         W,
         kButtonOk,
         "    ソートするファイル名が指定されていません。          "},
        // Fault: the new-dictionary command replaced an existing dictionary without asking.
        {"25 existing file asks",
         NewFile,
         {"OUT"},
         MessageResult::No,
         false,
         I,
         kButtonYes | kButtonNo,
         "   %s の\r\n   指定されたファイルを上書きしていいですか。          "},
        {"25 new file", NewFile, {"NEW"}, {}, true, W, 0, nullptr},
        {"24 empty 1",
         TwoInOneOut,
         {"", "IN2", "NEW"},
         {},
         false,
         W,
         kButtonOk,
         "    読み込みファイル名１が指定されていません。          "},
        {"24 empty 2",
         TwoInOneOut,
         {"IN", "", "NEW"},
         {},
         false,
         W,
         kButtonOk,
         "    読み込みファイル名２が指定されていません。          "},
        {"24 empty 3",
         TwoInOneOut,
         {"IN", "IN2", ""},
         {},
         false,
         W,
         kButtonOk,
         "    作成ファイル名が指定されていません。          "},
        {"24 same 1 3",
         TwoInOneOut,
         {"IN", "IN2", "IN"},
         {},
         false,
         W,
         kButtonAbort,
         "   同一のファイル名は指定できません。          "},
        {"24 same 2 3",
         TwoInOneOut,
         {"IN", "IN2", "IN2"},
         {},
         false,
         W,
         kButtonAbort,
         "   同一のファイル名は指定できません。          "},
        {"24 missing second",
         TwoInOneOut,
         {"IN", "MISSING", "NEW"},
         {},
         false,
         W,
         kButtonAbort,
         "   MISSING の\r\n   指定されたファイルが存在しません。          "},
        {"24 overwrite no",
         TwoInOneOut,
         {"IN", "IN2", "OUT"},
         MessageResult::No,
         false,
         I,
         kButtonYes | kButtonNo,
         "   %s の\r\n   指定されたファイルを上書きしていいですか。          "},
        {"24 accepted", TwoInOneOut, {"IN", "IN2", "NEW"}, {}, true, W, 0, nullptr},
        {"26 empty 2",
         LengthCheck,
         {"IN", "", "NEW2", "60", "360"},
         {},
         false,
         W,
         kButtonOk,
         "    作成ファイル名１が指定されていません。          "},
        {"26 empty 3",
         LengthCheck,
         {"IN", "NEW", "", "60", "360"},
         {},
         false,
         W,
         kButtonOk,
         "    作成ファイル名２が指定されていません。          "},
        {"26 same outputs",
         LengthCheck,
         {"IN", "NEW", "NEW", "60", "360"},
         {},
         false,
         W,
         kButtonAbort,
         "   同一のファイル名は指定できません。          "},
        {"26 head 0",
         LengthCheck,
         {"IN", "NEW", "NEW2", "0", "360"},
         {},
         false,
         W,
         kButtonAbort,
         "   見出しの文字数は１０２４以下です。          "},
        {"26 head 1025",
         LengthCheck,
         {"IN", "NEW", "NEW2", "1025", "360"},
         {},
         false,
         W,
         kButtonAbort,
         "   見出しの文字数は１０２４以下です。          "},
        {"26 trans 0",
         LengthCheck,
         {"IN", "NEW", "NEW2", "1", "0"},
         {},
         false,
         W,
         kButtonAbort,
         "   訳語の文字数は１０２４以下です。          "},
        {"26 head not a number",
         LengthCheck,
         {"IN", "NEW", "NEW2", "6o", "360"},
         {},
         false,
         E,
         kButtonOk,
         "'6o' は整数ではありません"},
        {"26 trans empty",
         LengthCheck,
         {"IN", "NEW", "NEW2", "60", ""},
         {},
         false,
         E,
         kButtonOk,
         "'' は整数ではありません"},
        {"26 limits 1 and 1024",
         LengthCheck,
         {"IN", "NEW", "NEW2", "1", "1024"},
         {},
         true,
         W,
         0,
         nullptr},
        {"26 second output exists",
         LengthCheck,
         {"IN", "NEW", "OUT", "60", "360"},
         MessageResult::No,
         false,
         I,
         kButtonYes | kButtonNo,
         "   %s の\r\n   指定されたファイルを上書きしていいですか。          "},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        for (const char* name : {"IN", "IN2", "OUT"}) {
            test::WriteBytes(dir / name, "x\r\n");
        }
        ToolWindowEdits edits = c.edits;
        for (std::string* edit : {&edits.Edit1, &edits.Edit2, &edits.Edit3}) {
            *edit = Expand(*edit, dir);
        }
        test::RecordingReporter reporter;
        if (c.answer) {
            reporter.answers.push_back(*c.answer);
        }
        ToolJob job(reporter, dir.path());
        EXPECT_EQ(AcceptToolWindow(c.window, edits, job), c.accepted) << c.what;
        EXPECT_EQ(job.Accepted, c.accepted) << c.what;
        if (c.text == nullptr) {
            EXPECT_TRUE(reporter.messages.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(reporter.messages.size(), 1u) << c.what;
        std::string expected = c.text;
        if (const size_t s = expected.find("%s"); s != std::string::npos) {
            expected.replace(s, 2, (dir / "OUT").string());
        }
        EXPECT_EQ(reporter.messages[0].text, expected) << c.what;
        EXPECT_EQ(reporter.messages[0].kind, c.kind) << c.what;
        EXPECT_EQ(reporter.messages[0].buttons, c.buttons) << c.what;
    }
}

TEST(EditBoxCheckTest, AcceptedNamesGoToTheTypedNamesOfTheJob) {
    test::TempDir dir;
    test::WriteBytes(dir / "in.txt", "x\r\n");
    test::RecordingReporter reporter;
    ToolJob job(reporter, dir.path());
    const std::string in = (dir / "in.txt").string();
    const std::string out1 = (dir / "a.txt").string();
    const std::string out2 = (dir / "b.txt").string();

    ASSERT_TRUE(AcceptToolWindow(ToolForm::LengthCheck, {in, out1, out2, "60", "360"}, job));
    EXPECT_EQ(job.InName1, in);
    EXPECT_EQ(job.OutName1, out1);
    EXPECT_EQ(job.OutName2, out2);
    EXPECT_EQ(job.HeadLimit, "60");
    EXPECT_EQ(job.TransLimit, "360");

    ASSERT_TRUE(AcceptToolWindow(ToolForm::TwoInOneOut, {in, out1 + "x", out2}, job) == false);
    EXPECT_FALSE(job.Accepted);  // a refusal clears the flag of the previous command

    ASSERT_TRUE(AcceptToolWindow(ToolForm::NewFile, {out1}, job));
    EXPECT_EQ(job.OutName1, out1);
}

TEST(EditBoxCheckTest, OneFileUnderTwoSpellingsIsTheSameFile) {
    test::TempDir dir;
    test::WriteBytes(dir / "dict.txt", "x\r\n");
    fs::create_directory(dir / "sub");
    fs::create_symlink(dir / "dict.txt", dir / "link.txt");
    const std::string plain = (dir / "dict.txt").string();
    struct Case {
        std::string other;
        bool same;
    };
    const Case cases[] = {
        {plain, true},
        {(dir / "sub" / ".." / "dict.txt").string(), true},
        {(dir / "." / "dict.txt").string(), true},
        {(dir / "link.txt").string(), true},
        {(dir / "sub" / "dict.txt").string(), false},
        {(dir / "Dict.txt").string(), false},  // another file on a case-sensitive disk
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SameFileName(plain, c.other), c.same) << c.other;
    }
    // Neither exists: the spelling is resolved without them.
    EXPECT_TRUE(SameFileName((dir / "new.DIC").string(), (dir / "sub/../new.DIC").string()));

    test::RecordingReporter reporter;
    EXPECT_FALSE(
        EditBoxCheck(ToolForm::OneInOneOut, {plain, (dir / "link.txt").string()}, reporter));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, "   同一のファイル名は指定できません。          ");
}

// Fault: an input that was a work file of the program directory, named so
// or through another name, was emptied by the step that writes that work
// file, and an empty dictionary was built with success reported.
TEST(EditBoxCheckTest, ANameOfAWorkFileIsRefusedHoweverItIsSpelled) {
    test::TempDir dir;
    const fs::path work = dir / "program";
    fs::create_directories(work);
    fs::create_directories(dir / "other");
    for (const char* name : {"TOVIXCNV.TXT", "TOVIXSRT.TXT", "TOVIXSEP.TXT", "tovix.AD1"}) {
        test::WriteBytes(work / name, "apple\tりんご\r\n");
    }
    fs::create_hard_link(work / "TOVIXSRT.TXT", dir / "other" / "hard.txt");
    fs::create_symlink(work / "TOVIXSEP.TXT", dir / "other" / "soft.txt");
    test::WriteBytes(dir / "other" / "words.txt", "x\r\n");
    const std::string fine = (dir / "other" / "words.txt").string();
    const std::string out = (dir / "other" / "W.DIC").string();
    const ToolNameRoles build{false, true, Direction::English};
    struct Case {
        ToolWindowEdits edits;
        ToolNameRoles roles;
        std::string named;  // the name refused; empty: accepted
    };
    const std::vector<Case> cases = {
        {{(work / "TOVIXCNV.TXT").string(), out}, build, (work / "TOVIXCNV.TXT").string()},
        {{(dir / "program" / ".." / "program" / "TOVIXCNV.TXT").string(), out},
         build,
         (dir / "program" / ".." / "program" / "TOVIXCNV.TXT").string()},
        {{(dir / "other" / "hard.txt").string(), out},
         build,
         (dir / "other" / "hard.txt").string()},
        {{fine, (dir / "other" / "soft.txt").string()}, {}, (dir / "other" / "soft.txt").string()},
        {{(work / "tovix.AD1").string(), out}, build, (work / "tovix.AD1").string()},
        {{fine, (work / "TOVIXTAB.TXT").string()}, {}, (work / "TOVIXTAB.TXT").string()},
        {{fine, out}, build, ""},
    };
    for (const Case& c : cases) {
        test::RecordingReporter reporter;
        ToolJob job(reporter, work);
        reporter.answers = {MessageResult::Yes};
        const bool accepted = AcceptToolWindow(ToolForm::OneInOneOut, c.edits, job, c.roles);
        EXPECT_EQ(accepted, c.named.empty()) << c.edits.Edit1;
        if (!c.named.empty()) {
            ASSERT_FALSE(reporter.messages.empty());
            EXPECT_NE(reporter.messages.back().text.find(c.named), std::string::npos);
            EXPECT_NE(reporter.messages.back().text.find(
                          "プログラムの作業ファイルと同じファイルは指定できません。"),
                      std::string::npos)
                << reporter.messages.back().text;
        }
    }
    EXPECT_EQ(test::ReadBytes(work / "TOVIXCNV.TXT"), "apple\tりんご\r\n");
}

// Faults: an output whose derived names were an input overwrote it
// ("words.DAT" read, "words.DIC" built), and re-making a Japanese-English set
// as English-Japanese made it unopenable.
TEST(EditBoxCheckTest, SetNamesStandForAllTheirFilesAndTheirDirection) {
    const ToolNameRoles build{false, true, Direction::English};
    const ToolNameRoles read{true, false, Direction::English};
    const ToolNameRoles both{true, true, Direction::English};
    const ToolNameRoles bothJpn{true, true, Direction::Japanese};
    struct Case {
        ToolForm window;
        ToolNameRoles roles;
        ToolWindowEdits edits;
        const char* refusal;  // nullptr: accepted
    };
    using enum ToolForm;
    const char* same = "同一のファイル名は指定できません。";
    const Case cases[] = {
        {OneInOneOut, build, {"words.DAT", "words.DIC"}, same},
        {OneInOneOut, build, {"words.txt", "words.DIC"}, nullptr},
        {OneInOneOut, read, {"EJ.DIC", "EJ.003"}, same},
        {OneInOneOut, read, {"EJ.DIC", "EJ.TXT"}, nullptr},
        {TwoInOneOut, both, {"EJ.DIC", "JE.DIC", "OUT.DIC"}, "和英辞書のファイルです。"},
        {TwoInOneOut, both, {"EJ.DIC", "words.txt", "words.DIC"}, same},
        {InPlace, both, {"JE.DIC"}, "和英辞書のファイルです。英和辞書として処理できません。"},
        {InPlace, bothJpn, {"EJ.DIC"}, "英和辞書のファイルです。和英辞書として処理できません。"},
        {InPlace, bothJpn, {"JE.DIC"}, nullptr},
        {InPlace, both, {"NOTABLE.DIC"}, nullptr},  // no table: the chain reports it
    };
    test::TempDir dir;
    for (const char* name : {"words.DAT", "words.txt", "EJ.DIC", "EJ.003", "JE.DIC"}) {
        test::WriteBytes(dir / name, "x\r\n");
    }
    test::WriteBytes(dir / "EJ.DAT", "**=0\r\naa=0\r\n");
    test::WriteBytes(dir / "JE.DAT", Utf8ToCp932("＊＊=0\r\nああ=0\r\n"));
    for (const Case& c : cases) {
        ToolWindowEdits edits = c.edits;
        for (std::string* edit : {&edits.Edit1, &edits.Edit2, &edits.Edit3}) {
            *edit = edit->empty() ? "" : (dir / *edit).string();
        }
        test::RecordingReporter reporter;
        EXPECT_EQ(EditBoxCheck(c.window, edits, reporter, c.roles), c.refusal == nullptr)
            << c.edits.Edit1 << " " << c.edits.Edit2;
        if (c.refusal != nullptr) {
            ASSERT_EQ(reporter.messages.size(), 1u) << c.edits.Edit1;
            EXPECT_NE(reporter.messages[0].text.find(c.refusal), std::string::npos)
                << reporter.messages[0].text;
        }
    }
}

TEST(EditBoxCheckTest, LimitsAreDecimalIntegers) {
    struct Case {
        const char* text;
        std::optional<long long> value;
    };
    const Case cases[] = {
        {"60", 60},  {" 1024 ", 1024}, {"+5", 5},    {"-1", -1},   {"", {}},
        {"1e3", {}}, {"0x10", {}},     {"６０", {}}, {"12 3", {}}, {"99999999999999999999", {}}};
    for (const Case& c : cases) {
        EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
    }
}

}  // namespace
}  // namespace tovix
