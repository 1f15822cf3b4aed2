// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SearchCommands.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dict/DicFileSet.h"
#include "dict/DictMessages.h"
#include "dict/KanaText.h"
#include "dict/KeyAlphabet.h"
#include "dict/LineStoreView.h"
#include "dict/Lookup.h"
#include "dict/OpenDictionary.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "views/Find.h"
#include "views/ViewMessages.h"

namespace tovix::cli {
namespace {

namespace fs = std::filesystem;

void WarnAbout(Reporter& reporter, const fs::path& file, std::string_view text) {
    reporter.Message(MessageKind::Warning, FileMessage(file.string(), text), kButtonOk);
}

// Loads `file` into the view; false after the warning when it cannot be read.
bool LoadView(Reporter& reporter, LineStoreView& view, const fs::path& file,
              std::string_view failure) {
    try {
        view.LoadFromFile(file);
    } catch (const IoError&) {
        WarnAbout(reporter, file, failure);
        return false;
    }
    return true;
}

// Opens the dictionary as the viewer does; nothing after the warning when the
// dictionary file or its table cannot be read.
std::optional<OpenedDictionary> Open(Reporter& reporter, const fs::path& dicFile,
                                     Direction direction) {
    OpenedDictionary opened = OpenDictionary(dicFile, direction);
    if (!opened.Opened()) {
        reporter.Message(MessageKind::Warning, opened.message, kButtonOk);
        return std::nullopt;
    }
    return opened;
}

std::string TopLineText(const LineStoreView& view) {
    return view.ViewLineCount().Empty() ? std::string()
                                        : Cp932ToUtf8(view.ViewLine(view.TopLine()));
}

// One word in a freshly opened dictionary, whose view shows the dictionary
// file's lines: typed a character at a time (each keystroke runs the lookup
// and the field takes its text), or pasted whole. An empty word changes
// nothing in the empty field, so no lookup runs. Returns whether a lookup
// found the set without its written-form file.
bool LookupWord(Reporter& reporter, SearchState state, const std::vector<std::string>& dicLines,
                const std::string& word, bool paste) {
    LineStoreView view;
    view.Assign(dicLines);
    std::string field;
    bool matched = false;
    bool writtenFormsMissing = false;
    const std::vector<std::string> keys =
        paste ? std::vector<std::string>{Utf8ToCp932(word)} : Keystrokes(word);
    for (const std::string& key : keys) {
        if (key.empty()) {
            continue;
        }
        const LookupOutcome outcome = Lookup(state, view, reporter, field + key, paste);
        field = outcome.fieldText;
        // A text that went to its base form (or to a phrase's leading part)
        // is found as the viewer finds it.
        matched = outcome.matched || outcome.movedToBase;
        writtenFormsMissing = writtenFormsMissing || outcome.writtenFormsMissing;
    }
    std::cout << Cp932ToUtf8(field) << '\t' << state.currentPart << '\t' << view.TopLine() << '\t'
              << (matched ? 1 : 0) << '\t' << TopLineText(view) << '\n';
    return writtenFormsMissing;
}

// The direction a table file is written for: its block markers and keys are
// 2 bytes wide in an English-Japanese set and 4 in a Japanese-English one,
// so it reads as one of them only. Nothing after the warning when the
// dictionary cannot be opened either way.
std::optional<Direction> OpenEitherDirection(Reporter& reporter, const fs::path& dicFile) {
    if (OpenDictionary(dicFile, Direction::English).Opened()) {
        return Direction::English;
    }
    if (Open(reporter, dicFile, Direction::Japanese)) {
        return Direction::Japanese;
    }
    return std::nullopt;
}

bool LoadPart(Reporter& reporter, SearchState& state, LineStoreView& view, int part) {
    if (!LoadView(reporter, view, PartFileName(state.dicFile, part),
                  dict_text::kPartFileUnreadable)) {
        return false;
    }
    state.currentPart = state.currentPartCopy = part;
    return true;
}

// Puts the view where a find starts: the first line of part 1, or upwards
// the last line of the last part. Part files at the end that hold no entry
// add nothing to an upward find, so it starts in the last one that has lines.
bool PlaceStart(Reporter& reporter, SearchState& state, LineStoreView& view, bool up) {
    if (!up) {
        return LoadPart(reporter, state, view, 1);
    }
    for (int part = AlphabetSize(state.direction); part >= 1; --part) {
        if (!LoadPart(reporter, state, view, part)) {
            return false;
        }
        if (!view.ViewLineCount().Empty()) {
            view.SetTopLine(view.ViewLineCount().Last<ViewLineIndex>());
            break;
        }
    }
    return true;
}

void PrintEntry(const SearchState& state, const FindState& find, const LineStoreView& view) {
    const ViewLineIndex top = view.TopLine();
    const auto line = [&](ViewLineIndex n) {
        return n < view.ViewLineCount() ? Cp932ToUtf8(view.ViewLine(n)) : std::string();
    };
    std::cout << state.currentPart << '\t' << find.foundLine << '\n'
              << line(top) << '\n'
              << line(top + 1) << '\n';
}

// One hit of a find that lists them all: part, line and the headword
// without its trailing blanks.
void PrintHit(const SearchState& state, const FindState& find, const LineStoreView& view) {
    const ViewLineIndex top = view.TopLine();
    const std::string headword =
        top < view.ViewLineCount() ? EndSpaceDelete(view.ViewLine(top)) : std::string();
    std::cout << state.currentPart << '\t' << find.foundLine << '\t' << Cp932ToUtf8(headword)
              << '\n';
}

// Every entry the find and then each find again stops at, in the direction
// of the find; true when the last find again ran off the end.
bool PrintEveryHit(SearchState& state, FindState& find, LineStoreView& view, Reporter& reporter) {
    FindOutcome outcome = FindOutcome::Found;
    while (outcome == FindOutcome::Found) {
        PrintHit(state, find, view);
        outcome = find.direction == FindDirection::Up ? ReFindPrior(state, find, view, reporter)
                                                      : ReFindNext(state, find, view, reporter);
    }
    return outcome == FindOutcome::NotFound;
}

// The notice of a find without its dialog padding.
std::string NoticeLine(FindOutcome outcome) {
    const std::string notice = FindNotice(outcome);
    const size_t first = notice.find_first_not_of(' ');
    return first == std::string::npos
               ? std::string()
               : notice.substr(first, notice.find_last_not_of(' ') - first + 1);
}

}  // namespace

MessageResult ViewerReporter::Message(MessageKind kind, const std::string& text, MessageButtons) {
    ++messages_;
    terminal_.Message(kind, text, kButtonOk);
    return MessageResult::Yes;
}

std::vector<std::string> Keystrokes(std::string_view utf8) {
    std::vector<std::string> keys;
    size_t start = 0;
    for (size_t i = 1; i <= utf8.size(); ++i) {
        if (i == utf8.size() || (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            keys.push_back(Utf8ToCp932(utf8.substr(start, i - start)));
            start = i;
        }
    }
    return keys;
}

int LookupCommand(Arguments& arguments, Context& context) {
    const std::optional<size_t> direction = arguments.OneOf({"--eng", "--jpn"});
    const bool paste = arguments.Flag("--paste");
    const bool imeStyleN = arguments.Flag("--ime-n");
    const auto names = arguments.Names(2, SIZE_MAX);
    if (!direction || !names) {
        return UsageError(context);
    }
    ViewerReporter reporter(context.reporter);
    SearchState state;
    state.direction = *direction == 0 ? Direction::English : Direction::Japanese;
    state.dicFile = (*names)[0];
    state.imeStyleN = imeStyleN;
    state.findBaseForms = true;
    std::optional<OpenedDictionary> opened = Open(reporter, state.dicFile, state.direction);
    if (!opened) {
        return kExitFailed;
    }
    state.table = std::move(opened->table);
    std::vector<std::string> dicLines;
    opened->lines.AssignTo(dicLines);
    for (size_t i = 1; i < names->size(); ++i) {
        if (LookupWord(reporter, state, dicLines, (*names)[i], paste)) {
            context.reporter.Note(WrittenFormFileName(state.dicFile).string() + ": " +
                                  std::string(dict_text::kWrittenFormsMissing));
        }
    }
    return reporter.Messages() == 0 ? kExitOk : kExitFailed;
}

int FindCommand(Arguments& arguments, Context& context) {
    FindState find;
    find.matchCase = arguments.Flag("--case");
    find.direction = arguments.Flag("--up") ? FindDirection::Up : FindDirection::Down;
    const bool all = arguments.Flag("--all");
    const auto names = arguments.Names(2, 2);
    if (!names) {
        return UsageError(context);
    }
    SetFindText(find, (*names)[1]);
    if (find.findText.empty()) {
        context.reporter.Note(std::string(view_text::kNoFindText));
        return kExitUsage;
    }
    ViewerReporter reporter(context.reporter);
    const fs::path dicFile = (*names)[0];
    const std::optional<Direction> direction = OpenEitherDirection(reporter, dicFile);
    if (!direction) {
        return kExitFailed;
    }
    SearchState state;
    state.direction = *direction;
    state.dicFile = dicFile;
    LineStoreView view;
    if (!PlaceStart(reporter, state, view, find.direction == FindDirection::Up)) {
        return kExitFailed;
    }
    const FindOutcome outcome = RunFind(state, find, view, reporter);
    if (outcome == FindOutcome::Found && all) {
        return PrintEveryHit(state, find, view, reporter) ? kExitOk : kExitFailed;
    }
    if (outcome == FindOutcome::Found) {
        PrintEntry(state, find, view);
        return kExitOk;
    }
    if (outcome == FindOutcome::NotFound) {
        std::cout << NoticeLine(outcome) << '\n';
    }
    return kExitFailed;
}

}  // namespace tovix::cli
