// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DictionaryListEditor.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/AppMessages.h"
#include "app/WrapLength.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

// A list whose slot n holds the title at position n - 1 ("" leaves it empty);
// each title's file is "<title>.DIC".
DictionaryList ListOf(const std::vector<std::string>& titles) {
    DictionaryList list;
    for (size_t n = 0; n < titles.size(); ++n) {
        if (!titles[n].empty()) {
            list[n] = {titles[n], titles[n] + ".DIC", " "};
        }
    }
    return list;
}

// The nine slots as "title:file" joined by "|", empty slots as "-"; a slot
// whose title and file disagree shows that they were moved apart.
std::string Shown(const DictionaryList& list) {
    std::string out;
    for (const DictionarySlot& slot : list) {
        out += out.empty() ? "" : "|";
        if (slot.title.empty() && slot.fileName.empty()) {
            out += "-";
        } else {
            out += slot.fileName == slot.title + ".DIC" ? slot.title
                                                        : slot.title + ":" + slot.fileName;
        }
    }
    return out;
}

// Runs a script of button presses: "s2" selects line 2, "u" up, "d" down,
// "x" cut, "c" copy, "v" paste, "del" delete, "+T" adds the dictionary T,
// "eT" edits the selected line into T. Returns the outcomes, one letter each:
// D(one), N(othing), F(ull).
std::string Press(DictionaryListEditor& editor, const std::string& script) {
    std::istringstream words(script);
    std::string outcomes;
    auto note = [&](ListAction action) {
        outcomes += action == ListAction::Done ? 'D' : action == ListAction::Nothing ? 'N' : 'F';
    };
    for (std::string word; words >> word;) {
        if (word[0] == 's') {
            editor.Select(std::stoi(word.substr(1)));
        } else if (word == "u") {
            note(editor.Up());
        } else if (word == "d") {
            note(editor.Down());
        } else if (word == "x") {
            note(editor.Cut());
        } else if (word == "c") {
            note(editor.Copy());
        } else if (word == "v") {
            note(editor.Paste());
        } else if (word == "del") {
            note(editor.Delete());
        } else if (word[0] == '+') {
            int index = -1;
            const ListAction action = editor.Add(index);
            note(action);
            if (action == ListAction::Done) {
                const std::string title = word.substr(1);
                editor.Store(index, {title, title + ".DIC", " "});
            }
        } else if (word[0] == 'e') {
            const std::string title = word.substr(1);
            editor.Store(editor.EditIndex(), {title, title + ".DIC", " "});
        }
    }
    return outcomes;
}

TEST(DictionaryListEditorTest, ButtonsKeepTheSlotsInUseWithoutGaps) {
    const std::vector<std::string> none;
    const std::vector<std::string> abc = {"A", "B", "C"};
    const std::vector<std::string> nine = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    struct Case {
        const char* what;
        std::vector<std::string> stored;
        const char* script;
        const char* outcomes;
        const char* slots;
        int selected;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"empty settings: one empty line; adding fills slot 1",
         none,
         "+A",
         "D",
         "A|-|-|-|-|-|-|-|-",
         0,
         {"A"}},
        {"an addition goes last and is selected",
         abc,
         "s0 +D",
         "D",
         "A|B|C|D|-|-|-|-|-",
         3,
         {"A", "B", "C", "D"}},
        {"cut the second of three", abc, "s1 x", "D", "A|C|-|-|-|-|-|-|-", 1, {"A", "C"}},
        {"... and paste it before the first",
         abc,
         "s1 x s0 v",
         "DD",
         "B|A|C|-|-|-|-|-|-",
         0,
         {"B", "A", "C"}},
        {"cutting the last line selects the new last line",
         abc,
         "s2 x",
         "D",
         "A|B|-|-|-|-|-|-|-",
         1,
         {"A", "B"}},
        {"deleting the only entry leaves the empty line",
         {"A"},
         "del",
         "D",
         "-|-|-|-|-|-|-|-|-",
         0,
         {""}},
        {"copy keeps the list; paste doubles the entry",
         abc,
         "s2 c s0 v",
         "DD",
         "C|A|B|C|-|-|-|-|-",
         0,
         {"C", "A", "B", "C"}},
        {"up on the first, down on the last",
         abc,
         "s0 u s2 d",
         "NN",
         "A|B|C|-|-|-|-|-|-",
         2,
         {"A", "B", "C"}},
        {"up and down move the entry with its file",
         abc,
         "s2 u u s0 d",
         "DDD",
         "A|C|B|-|-|-|-|-|-",
         1,
         {"A", "C", "B"}},
        // Fault guarded: the empty line of an empty list was cut as an entry,
        // and pasting it put an untitled slot in front of real ones.
        {"the empty line is no entry",
         none,
         "x c del u d v",
         "NNNNNN",
         "-|-|-|-|-|-|-|-|-",
         0,
         {""}},
        {"a cut entry pastes into an emptied list",
         {"A"},
         "x v",
         "DD",
         "A|-|-|-|-|-|-|-|-",
         0,
         {"A"}},
        {"nine entries refuse add and paste", nine, "s4 c +X v", "DFF", "1|2|3|4|5|6|7|8|9", 4,
         nine},
        {"the ninth by paste",
         {"1", "2", "3", "4", "5", "6", "7", "8"},
         "s0 c v",
         "DD",
         "1|1|2|3|4|5|6|7|8",
         0,
         {"1", "1", "2", "3", "4", "5", "6", "7", "8"}},
        {"an edit replaces the selected slot",
         abc,
         "s1 eX",
         "",
         "A|X|C|-|-|-|-|-|-",
         1,
         {"A", "X", "C"}},
        {"an edit of the empty line fills slot 1", none, "eX", "", "X|-|-|-|-|-|-|-|-", 0, {"X"}},
        // Fault guarded: slots after a gap (a file edited by hand) were
        // shown on lines that map to other slots.
        {"gaps close when the list is read",
         {"", "", "A", "", "B"},
         "s1 u",
         "D",
         "B|A|-|-|-|-|-|-|-",
         0,
         {"B", "A"}},
    };
    for (const Case& c : cases) {
        DictionaryListEditor editor(ListOf(c.stored));
        EXPECT_EQ(Press(editor, c.script), c.outcomes) << c.what;
        EXPECT_EQ(Shown(editor.Slots()), c.slots) << c.what;
        EXPECT_EQ(editor.Selected(), c.selected) << c.what;
        EXPECT_EQ(editor.Lines(), c.lines) << c.what;
    }
}

TEST(DictionaryListEditorTest, SlotWithoutTitleIsDroppedWhenRead) {
    DictionaryList stored = ListOf({"A"});
    stored[1] = {"", "ORPHAN.DIC", "O"};
    stored[2] = {"B", "B.DIC", "b"};
    const DictionaryListEditor editor(stored);
    EXPECT_EQ(Shown(editor.Slots()), "A|B|-|-|-|-|-|-|-");
    EXPECT_EQ(editor.Slots()[1].shortCut, "b");
}

TEST(DictionaryListEditorTest, EditBoxCheck) {
    struct Case {
        const char* what;
        RegistrationFields fields;
        std::string_view refusal;
        DictionarySlot entry;
    };
    const Case cases[] = {
        {"no title", {"", "/d/E.DIC", "E"}, app_text::kNoTitle, {}},
        {"blanks only are no title", {"  ", "/d/E.DIC", ""}, app_text::kNoTitle, {}},
        {"no file", {"英和", "", ""}, app_text::kNoFile, {}},
        // Fault guarded: a path CP932 cannot hold was stored with "?" and
        // the dictionary could never be opened from the list again.
        {"accented folder", {"E", "/home/josé/E.DIC", ""}, app_text::kFileNotCp932, {}},
        {"wave dash", {"E", "/d/〜/E.DIC", ""}, app_text::kFileNotCp932, {}},
        {"Japanese path, shortcut kept",
         {"英和辞典", "/home/太郎/辞書.DIC", "E"},
         {},
         {Utf8ToCp932("英和辞典"), Utf8ToCp932("/home/太郎/辞書.DIC"), "E"}},
        {"empty shortcut stored as one blank; blanks around dropped",
         {" Eng ", " /d/E.DIC", " "},
         {},
         {"Eng", "/d/E.DIC", " "}},
    };
    for (const Case& c : cases) {
        const RegistrationCheck check = EditBoxCheck(c.fields);
        EXPECT_EQ(check.refusal, c.refusal) << c.what;
        if (c.refusal.empty()) {
            ASSERT_TRUE(check.entry.has_value()) << c.what;
            EXPECT_EQ(*check.entry, c.entry) << c.what;
        } else {
            EXPECT_FALSE(check.entry.has_value()) << c.what;
        }
    }
    EXPECT_EQ(EditBoxCheck({"E", "/home/josé/E.DIC", ""}).refusedFile, "/home/josé/E.DIC");
    EXPECT_EQ(ShownShortCut(" "), "");
    EXPECT_EQ(ShownShortCut("E"), "E");
}

TEST(WrapLengthTest, RangeAndIntegerForms) {
    struct Case {
        const char* text;
        int value;  // 0: refused
        bool notInteger;
    };
    const Case cases[] = {
        {"1", 0, false},       {"2", 2, false},          {"512", 512, false}, {"513", 0, false},
        {"-60", 0, false},     {"abc", 0, true},         {"", 0, true},       {"6O", 0, true},
        {" 60", 60, false},    {"60 ", 0, true},         {"+60", 60, false},  {"$3C", 60, false},
        {"0x200", 512, false}, {"99999999999", 0, true}, {"--2", 0, true},
    };
    for (const Case& c : cases) {
        const WrapLengthCheck check = CheckWrapLength(c.text);
        EXPECT_EQ(check.value.value_or(0), c.value) << c.text;
        EXPECT_EQ(check.notInteger, c.notInteger) << c.text;
        EXPECT_EQ(check.outOfRange, c.value == 0 && !c.notInteger) << c.text;
    }
}

}  // namespace
}  // namespace tovix
