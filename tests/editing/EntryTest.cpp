// SPDX-License-Identifier: GPL-3.0-or-later
// The entry windows' field checks, the fields a change or a delete starts
// with, when the view may be edited at all, and a part file split into lines
// as the view splits it.

#include "editing/Entry.h"

#include <gtest/gtest.h>

#include "editing/EditMessages.h"
#include "editing/EntryEdit.h"
#include "editing/EntryFile.h"
#include "platform/Cp932.h"
#include "platform/MessageText.h"
#include "support/RecordingReporter.h"

namespace tovix {
namespace {

TEST(EntryTest, EditBoxCheckRefusesTheFirstBadFieldNamingIt) {
    struct Case {
        Direction direction;
        std::vector<std::string> typed;
        std::string refusal;  // empty: accepted
    };
    const std::string noEnglish(edit_text::kEnglishField.missing);
    const std::string noKanji(edit_text::kKanjiField.missing);
    const std::string brk(edit_text::kFieldHasBreak);
    const Case cases[] = {
        {Direction::English, {"", ""}, noEnglish},
        {Direction::English, {"apple", ""}, std::string(edit_text::kJapaneseField.missing)},
        // Pasted TAB, CR or LF would break the part file's two-line entry.
        {Direction::English, {"ap\tple", "りんご"}, "英語" + brk},
        {Direction::English, {"apple", "り\nんご"}, "和訳" + brk},
        {Direction::English, {"apple", "り\rんご"}, "和訳" + brk},
        // A character CP932 lacks would be stored as "?".
        {Direction::English,
         {"apple\U0001F34E", "りんご"},
         "英語" + std::string(edit_text::kFieldNotCp932)},
        {Direction::English, {"apple", "りんご"}, ""},
        {Direction::Japanese, {"", "[木]", "tree"}, std::string(edit_text::kReadingField.missing)},
        {Direction::Japanese, {"き", "[]", "tree"}, noKanji},
        {Direction::Japanese, {"き", "[", "tree"}, noKanji},
        {Direction::Japanese, {"き", "[a]", "tree"}, ""},
        {Direction::Japanese,
         {"き", "[木]", ""},
         std::string(edit_text::kEnglishTranslationField.missing)},
        {Direction::Japanese, {"き", "[木]", "tr\tee"}, "英訳" + brk},
        {Direction::Japanese, {"き\t", "[]", ""}, "よみ" + brk},
        // Fault: a headword without a part was refused only later, as a
        // failed sort ("tori" typed as the reading of 鳥).
        {Direction::Japanese, {"tori", "[鳥]", "bird"}, std::string(edit_text::kReadingNotKana)},
        {Direction::Japanese, {"とりa", "[鳥]", "bird"}, std::string(edit_text::kReadingNotKana)},
        {Direction::Japanese, {"鳥", "[鳥]", "bird"}, std::string(edit_text::kReadingNotKana)},
        {Direction::Japanese, {"トリ", "[鳥]", "bird"}, ""},
        {Direction::English, {"りんご", "林檎"}, std::string(edit_text::kEnglishWithoutInitial)},
        {Direction::English, {"-", "x"}, std::string(edit_text::kEnglishWithoutInitial)},
        {Direction::English, {"3-D", "立体"}, ""},
    };
    for (const Case& c : cases) {
        test::RecordingReporter reporter;
        const std::optional<EntryFields> fields =
            EditBoxCheck(c.direction, c.typed, EmptyFields(c.direction), reporter);
        const std::string what = c.typed[0] + "|" + c.typed[1];
        if (c.refusal.empty()) {
            ASSERT_TRUE(fields) << what;
            EXPECT_EQ(FieldValues(c.direction, *fields)[1], Utf8ToCp932(c.typed[1])) << what;
            EXPECT_TRUE(reporter.messages.empty()) << what;
            continue;
        }
        EXPECT_FALSE(fields) << what;
        ASSERT_EQ(reporter.messages.size(), 1u) << what;
        EXPECT_EQ(reporter.messages[0].text, Padded(c.refusal, 4, 10)) << what;
        EXPECT_EQ(reporter.messages[0].buttons, kButtonOk) << what;
        EXPECT_EQ(reporter.messages[0].kind, MessageKind::Warning) << what;
    }
}

// 87 90 (≒ of the NEC rows) reads as U+2252, which CP932 writes as 81 E0:
// a field left as offered keeps the dictionary's own bytes.
TEST(EntryTest, AFieldLeftAsOfferedKeepsItsBytes) {
    const EntryFields offered{"x\x87\x90 ", "", "\x87\x90"};
    test::RecordingReporter reporter;
    const std::optional<EntryFields> kept = EditBoxCheck(
        Direction::English, {Cp932ToUtf8(offered.headword), Cp932ToUtf8(offered.translation)},
        offered, reporter);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->headword, offered.headword);
    EXPECT_EQ(kept->translation, offered.translation);
}

TEST(EntryTest, FieldsFromTheViewsLines) {
    struct Case {
        Direction direction;
        const char* head;
        const char* translation;
        EntryFields expected;  // UTF-8
    };
    const Case cases[] = {
        {Direction::English, "apple ", "\tりんご", {"apple ", "", "りんご"}},
        // A translation line without its TAB is taken whole.
        {Direction::English, "apple ", "りんご", {"apple ", "", "りんご"}},
        {Direction::Japanese, "りんご [林檎]", "\tapple", {"りんご ", "[林檎]", "apple"}},
        // ー is 81 5B: its second byte is no "[".
        {Direction::Japanese, "ケーキ [菓子]", "\tcake", {"ケーキ ", "[菓子]", "cake"}},
        {Direction::Japanese, "ケーキ]", "\tcake", {"", "", "cake"}},
        {Direction::Japanese, "りんご", "\tapple", {"", "", "apple"}},
    };
    for (const Case& c : cases) {
        const EntryFields fields =
            FieldsFromView(c.direction, Utf8ToCp932(c.head), Utf8ToCp932(c.translation));
        EXPECT_EQ(Cp932ToUtf8(fields.headword), c.expected.headword) << c.head;
        EXPECT_EQ(Cp932ToUtf8(fields.writtenForm), c.expected.writtenForm) << c.head;
        EXPECT_EQ(Cp932ToUtf8(fields.translation), c.expected.translation) << c.head;
    }
}

// Fault: with the view still showing the dictionary file (no part loaded),
// a change took the file's first line for a headword.
TEST(EntryTest, ChangeAndDeleteNeedAPartShownWithAHeadwordOnTop) {
    struct Case {
        Direction direction;
        bool dictionary;
        int part;
        int top;
        int lines;
        std::string_view refusal;
    };
    const Case cases[] = {
        {Direction::English, false, 0, 0, 0, edit_text::kNoDictionary},
        {Direction::English, true, 0, 0, 2, edit_text::kNoDictionary},
        {Direction::Japanese, true, 3, 0, 0, edit_text::kNoDictionary},
        {Direction::English, true, 1, 3, 8, edit_text::kTopLineNotEnglish},
        {Direction::Japanese, true, 1, 1, 8, edit_text::kTopLineNotReading},
        {Direction::Japanese, true, 1, 2, 8, ""},
    };
    for (const Case& c : cases) {
        const ViewedEntry viewed{c.part, c.top, "", std::nullopt};
        EXPECT_EQ(ViewRefusal(c.direction, viewed, c.dictionary, c.lines), c.refusal)
            << c.part << " " << c.top;
    }
}

// Fault guarded: a line longer than the line store's scanner records (8 MB)
// must not shift the lines after it, or an edit would take the wrong entry.
TEST(EntryTest, APartSplitsIntoTheViewsLinesAlsoPastEightMegabytes) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    for (const std::string& middle : {std::string("mid"), std::string(9 << 20, 'x')}) {
        const Case cases[] = {
            {"a\r\n" + middle + "\r\nb", {"a", middle, "b"}},
            {"a\r" + middle + "\n\r\nb\r", {"a", middle, "", "b"}},
            {"a\n\r" + middle + "\r\r\n", {"a", "", middle, ""}},
        };
        for (const Case& c : cases) {
            const EntryFile file(c.text, 2);
            ASSERT_EQ(file.LineCount(), c.lines.size()) << middle.size();
            for (size_t i = 0; i < c.lines.size(); ++i) {
                EXPECT_EQ(file.Line(i), c.lines[i]) << middle.size() << " line " << i;
            }
        }
    }
}

}  // namespace
}  // namespace tovix
