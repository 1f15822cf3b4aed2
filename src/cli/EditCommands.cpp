// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/EditCommands.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliMessages.h"
#include "cli/SearchCommands.h"
#include "dict/DicFileSet.h"
#include "dict/KanaText.h"
#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/OpenDictionary.h"
#include "editing/EntryEdit.h"
#include "platform/Cp932.h"
#include "platform/MessageText.h"
#include "tools/EditBoxCheck.h"

namespace tovix::cli {
namespace {

namespace fs = std::filesystem;

// The names a change or an add takes: the dictionary file and the fields,
// of which the Japanese-English written form may be left out.
std::optional<std::vector<std::string>> FieldNames(const Arguments& arguments,
                                                   Direction direction) {
    return arguments.Names(3, direction == Direction::Japanese ? 4 : 3);
}

// The entry a change or a delete works on, as the viewer would show it after
// the headword is typed (or scrolled to line `line` of that part). Nothing
// after a message when there is no such entry.
std::optional<ViewedEntry> FindEntry(Reporter& reporter, const fs::path& dicFile,
                                     Direction direction, const std::string& headword,
                                     std::optional<long long> line) {
    OpenedDictionary opened = OpenDictionary(dicFile, direction);
    if (!opened.Opened()) {
        reporter.Message(MessageKind::Warning, opened.message, kButtonOk);
        return std::nullopt;
    }
    SearchState state{direction, dicFile, 0, 0, std::move(opened.table)};
    LineStoreView view;
    const bool matched = Lookup(state, view, reporter, headword).matched;
    const long long top = line.value_or(matched ? view.TopLine().value : -1);
    if (state.currentPart == 0 || top < 0 || top % 2 != 0 || top >= view.ViewLineCount().value) {
        reporter.Message(MessageKind::Warning, PaddedMessage(cli_text::kNoSuchEntry), kButtonOk);
        return std::nullopt;
    }
    const ViewLineIndex n(static_cast<int>(top));
    ViewedEntry viewed{state.currentPart, n.value, std::string(view.ViewLine(n)), std::nullopt};
    if (n + 1 < view.ViewLineCount()) {
        viewed.translationLine = std::string(view.ViewLine(n + 1));
    }
    const EntryFields shown =
        FieldsFromView(direction, viewed.headLine, viewed.translationLine.value_or(std::string()));
    if (EndSpaceDelete(shown.headword) != EndSpaceDelete(headword)) {
        reporter.Message(MessageKind::Warning, PaddedMessage(cli_text::kNoSuchEntry), kButtonOk);
        return std::nullopt;
    }
    return viewed;
}

// The field texts in window order: the headword, then (Japanese-English) the
// written form, then the translation; a Japanese-English change or add
// given without the written form keeps the one shown, or offers "[]".
std::vector<std::string> Typed(Direction direction, const std::vector<std::string>& names,
                               const EntryFields& offered) {
    std::vector<std::string> typed(names.begin() + 1, names.end());
    if (direction == Direction::Japanese && typed.size() == 2) {
        typed.insert(typed.begin() + 1, Cp932ToUtf8(offered.writtenForm));
    }
    return typed;
}

int RunEdit(Context& context, ViewerReporter& reporter, EntryEdit& edit,
            const std::vector<std::string>& typed, const EntryFields& offered) {
    const std::optional<EntryFields> fields =
        EditBoxCheck(edit.direction, typed, offered, reporter);
    if (!fields) {
        return kExitFailed;
    }
    edit.fields = *fields;
    const EditOutcome outcome =
        RunEntryEdit(edit, reporter, EditLockMode::Wait, context.job.workDir);
    if (outcome.status == EditStatus::Pending) {
        return kExitOk;  // decided: the set holds the edit from its next opening on
    }
    if (outcome.status != EditStatus::Done) {
        return kExitFailed;
    }
    std::cout << cli_text::Done(
        PartFileName(edit.dicFile, outcome.part).string() + ", " +
        TableFileName(edit.dicFile).string() + ", " +
        (context.job.workDir / EditLogName(edit.command, edit.direction)).string());
    return kExitOk;
}

// Change and delete: the entry found, its fields offered as the window
// offers them, the given texts put over the editable ones.
int EditShownEntry(Arguments& arguments, Context& context, EditCommand command) {
    const std::optional<Direction> direction = TakeDirection(arguments);
    const std::optional<std::string> lineText = arguments.Value("--line");
    const std::optional<long long> line =
        lineText ? ParseInteger(*lineText) : std::optional<long long>();
    if (!direction) {
        return UsageError(context);
    }
    const auto names =
        command == EditCommand::Delete ? arguments.Names(2, 2) : FieldNames(arguments, *direction);
    if (!names || (lineText && !line)) {
        return UsageError(context);
    }
    ViewerReporter reporter(context.reporter);
    EntryEdit edit{command, *direction, (*names)[0], {}, {}};
    const std::optional<std::string> headword = Utf8ToCp932Exact((*names)[1]);
    const std::optional<ViewedEntry> viewed =
        headword ? FindEntry(reporter, edit.dicFile, *direction, *headword, line) : std::nullopt;
    if (!viewed) {
        if (!headword) {
            reporter.Message(MessageKind::Warning, PaddedMessage(cli_text::kNoSuchEntry),
                             kButtonOk);
        }
        return kExitFailed;
    }
    edit.viewed = *viewed;
    const EntryFields offered = FieldsFromView(*direction, viewed->headLine,
                                               viewed->translationLine.value_or(std::string()));
    std::vector<std::string> typed;
    for (const std::string& value : FieldValues(*direction, offered)) {
        typed.push_back(Cp932ToUtf8(value));
    }
    if (command == EditCommand::Change) {
        const std::vector<std::string> given = Typed(*direction, *names, offered);
        std::copy(given.begin() + 1, given.end(), typed.begin() + 1);
    }
    return RunEdit(context, reporter, edit, typed, offered);
}

}  // namespace

int AddCommand(Arguments& arguments, Context& context) {
    const std::optional<Direction> direction = TakeDirection(arguments);
    const auto names = direction ? FieldNames(arguments, *direction) : std::nullopt;
    if (!names) {
        return UsageError(context);
    }
    ViewerReporter reporter(context.reporter);
    EntryEdit edit{EditCommand::Add, *direction, (*names)[0], {}, {}};
    const EntryFields offered = EmptyFields(*direction);
    return RunEdit(context, reporter, edit, Typed(*direction, *names, offered), offered);
}

int ChangeCommand(Arguments& arguments, Context& context) {
    return EditShownEntry(arguments, context, EditCommand::Change);
}

int DeleteCommand(Arguments& arguments, Context& context) {
    return EditShownEntry(arguments, context, EditCommand::Delete);
}

}  // namespace tovix::cli
