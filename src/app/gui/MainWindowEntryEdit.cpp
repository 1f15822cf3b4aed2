// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's entry editing: add, change and delete from Shift+F2, F3 and F4,
// the bar and the pop-up menu. The command checks the view, shows the entry
// window of the direction, hands the fields to the edit of the set
// (editing/EntryEdit.h), run by the tool runner on its thread, and then shows
// the edited place: the view is loaded
// with the dictionary file again and the search field set to the headword,
// so that the lookup brings the place to the top.

#include "app/gui/EntryWindow.h"
#include "app/gui/MainWindow.h"
#include "app/gui/ToolRunner.h"
#include "app/gui/WindowHelpers.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "dict/DicFileSet.h"
#include "dict/DicTableError.h"
#include "dict/DictMessages.h"
#include "dict/Lookup.h"
#include "editing/EditMessages.h"
#include "editing/EntryEdit.h"
#include "platform/IoError.h"
#include "platform/ProgramDir.h"

namespace tovix {

void TForm1::EditEntry(EditCommand command) {
    const Direction direction = search_.direction;
    if (direction == Direction::None) {
        return;
    }
    const ViewedEntry viewed = ViewedTopEntry();
    const bool hasDictionary = !search_.dicFile.empty();
    if (command == EditCommand::Add && !hasDictionary) {
        Warn(edit_text::kNoDictionary);
        return;
    }
    if (command != EditCommand::Add) {
        const std::string_view refusal =
            ViewRefusal(direction, viewed, hasDictionary, viewLines_->ViewLineCount().value);
        if (!refusal.empty()) {
            Warn(refusal);
            return;
        }
    }
    const EntryFields offered =
        command == EditCommand::Add
            ? EmptyFields(direction)
            : FieldsFromView(direction, viewed.headLine, viewed.translationLine.value_or(""));
    // A field the window cannot hold whole is not offered for editing; the
    // view keeps showing the entry.
    if (const std::string refusal = OversizedFieldRefusal(direction, offered); !refusal.empty()) {
        Warn(refusal);
        return;
    }
    const std::optional<EntryFields> fields = RunEntryWindow(command, offered);
    if (!fields) {
        return;
    }
    const EntryEdit edit{command, direction, search_.dicFile, *fields, viewed};
    // On the tool runner's thread, as a tool command: the window stays painted
    // and the user's input waits for nothing.
    EditOutcome outcome;
    toolRunner_->RunWork([&] {
        outcome =
            RunEntryEdit(edit, toolRunner_->JobReporter(), EditLockMode::Refuse, ProgramDir());
    });
    if (outcome.status == EditStatus::Done) {
        search_.table = std::move(outcome.table);
        ShowEditedEntry(SearchHeadword(*fields));
    } else if (outcome.status == EditStatus::ChangedUnderView ||
               outcome.status == EditStatus::Pending) {
        ReloadSet();
    }
}

// The part shown, the top line and the two lines from there.
ViewedEntry TForm1::ViewedTopEntry() const {
    const ViewLineIndex top = viewLines_->TopLine();
    const LineCount count = viewLines_->ViewLineCount();
    ViewedEntry viewed{search_.currentPart, top.value, "", std::nullopt};
    if (top < count) {
        viewed.headLine = viewLines_->ViewLine(top);
    }
    if (top + 1 < count) {
        viewed.translationLine = std::string(viewLines_->ViewLine(top + 1));
    }
    return viewed;
}

std::optional<EntryFields> TForm1::RunEntryWindow(EditCommand command, const EntryFields& offered) {
    std::unique_ptr<TEntryWindow> window;
    if (search_.direction == Direction::Japanese) {
        window = std::make_unique<TForm5>(command, offered, reporter_, this);
    } else {
        window = std::make_unique<TForm6>(command, offered, reporter_, this);
    }
    CentreOnScreen(*window);
    const DialogOpenScope dialog(*this);
    window->exec();
    return window->Accepted();
}

// The view shows the dictionary file again (current part 0); the field is
// emptied, and after half a second set to the headword, whose lookup loads
// the part and brings the edited place to the top.
void TForm1::ShowEditedEntry(const std::string& headword) {
    TBvStrings lines;
    try {
        lines.LoadFromFile(search_.dicFile);
    } catch (const IoError&) {
        lines.Clear();
    }
    bigView1_->TakeLines(std::move(lines));
    search_.currentPart = 0;
    search_.currentPartCopy = 0;
    dicEdit1_->SetText("");
    DelayTime(500);
    dicEdit1_->SetText(headword);
    dicEdit1_->end(false);
}

// The table and the part shown, read again when the set changed under the
// view (another copy's edit) or its replacement is pending: the window
// follows the files, and the next lookup uses the table of the part it reads.
void TForm1::ReloadSet() {
    try {
        const std::filesystem::path table = TableFileName(search_.dicFile);
        const FileStamp stamp = StampOf(table);
        search_.table = TDicTable::LoadFromFile(table, search_.direction);
        search_.tableStamp = stamp;
    } catch (const DicTableError&) {
        WarnAboutFile(TableFileName(search_.dicFile).string(), dict_text::kTableFileUnreadable);
    }
    if (search_.currentPart != 0) {
        ReloadPart();
    }
}

// The part shown, read again after another copy changed it; the view stays
// at its top line as far as the part still reaches.
void TForm1::ReloadPart() {
    const std::filesystem::path part = PartFileName(search_.dicFile, search_.currentPart);
    const ViewLineIndex top = viewLines_->TopLine();
    try {
        viewLines_->LoadFromFile(part);
    } catch (const IoError&) {
        WarnAboutFile(part.string(), dict_text::kPartFileUnreadable);
        return;
    }
    viewLines_->SetTopLine(top);
}

}  // namespace tovix
