// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/Find.h"

#include <optional>

#include "dict/DicFileSet.h"
#include "dict/DictMessages.h"
#include "dict/KeyAlphabet.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "platform/Warning.h"
#include "views/LineMatcher.h"
#include "views/PartFileSearch.h"
#include "views/ViewMessages.h"

namespace tovix {
namespace {

struct Hit {
    int part = 0;  // 0: in the view
    // The line in the view once the hit's part is shown there.
    ViewLineIndex line{0};
};

std::optional<ViewLineIndex> SearchView(const LookupView& view, LineMatcher& matcher,
                                        ViewLineIndex from, FindDirection direction) {
    const int step = direction == FindDirection::Down ? 1 : -1;
    for (ViewLineIndex n = from; n >= ViewLineIndex(0) && n < view.ViewLineCount(); n += step) {
        if (matcher.Holds(view.ViewLine(n))) {
            return n;
        }
    }
    return std::nullopt;
}

void WarnUnreadable(Reporter& reporter, const std::filesystem::path& file) {
    ShowWarning(reporter, FileMessage(file.string(), dict_text::kPartFileUnreadable));
}

// Searches the part files after (or before) the current part, one at a time.
FindOutcome SearchParts(const SearchState& search, Reporter& reporter, LineMatcher& matcher,
                        FindDirection direction, Hit& hit) {
    const int last = AlphabetSize(search.direction);
    const int step = direction == FindDirection::Down ? 1 : -1;
    PartFileSearch partSearch;
    for (int part = search.currentPartCopy + step; part >= 1 && part <= last; part += step) {
        const std::filesystem::path file = PartFileName(search.dicFile, part);
        std::optional<int> line;
        try {
            line = partSearch.Search(file, matcher, direction);
        } catch (const IoError&) {
            WarnUnreadable(reporter, file);
            return FindOutcome::ReadFailed;
        }
        if (line) {
            hit = {part, ViewLineIndex(*line)};
            return FindOutcome::Found;
        }
    }
    return FindOutcome::NotFound;
}

// Brings the entry of the hit to the top: its headword line first.
FindOutcome Conclude(SearchState& search, FindState& find, LookupView& view, Reporter& reporter,
                     const Hit& hit) {
    if (hit.part != 0) {
        const std::filesystem::path file = PartFileName(search.dicFile, hit.part);
        try {
            view.LoadFromFile(file);
        } catch (const IoError&) {
            search.currentPart = search.currentPartCopy = 0;
            WarnUnreadable(reporter, file);
            return FindOutcome::ReadFailed;
        }
        search.currentPart = search.currentPartCopy = hit.part;
    }
    find.foundLine = hit.line;
    view.SetTopLine(hit.line.value % 2 == 1 ? hit.line - 1 : hit.line);
    return FindOutcome::Found;
}

FindOutcome Search(SearchState& search, FindState& find, LookupView& view, Reporter& reporter,
                   ViewLineIndex from, FindDirection direction) {
    if (search.direction == Direction::None || search.dicFile.empty() || find.findTextUnencodable) {
        return FindOutcome::NotFound;
    }
    LineMatcher matcher(find.findText, find.matchCase);
    if (std::optional<ViewLineIndex> line = SearchView(view, matcher, from, direction)) {
        return Conclude(search, find, view, reporter, {0, *line});
    }
    Hit hit;
    FindOutcome outcome = SearchParts(search, reporter, matcher, direction, hit);
    if (outcome != FindOutcome::Found) {
        return outcome;
    }
    return Conclude(search, find, view, reporter, hit);
}

}  // namespace

std::string FindNotice(FindOutcome outcome) {
    switch (outcome) {
        case FindOutcome::NotFound:
            return NoticeText(view_text::kNotFound);
        case FindOutcome::NoFindText:
            return NoticeText(view_text::kNoFindText);
        case FindOutcome::Found:
        case FindOutcome::Cancelled:
        case FindOutcome::ReadFailed:
            break;
    }
    return {};
}

void SetFindText(FindState& find, std::string_view typed) {
    const std::optional<std::string> exact = Utf8ToCp932Exact(typed);
    find.findTextUnencodable = !exact;
    find.findText = exact ? *exact : Utf8ToCp932(typed);
}

FindOutcome RunFind(SearchState& search, FindState& find, LookupView& view, Reporter& reporter) {
    if (find.findText.empty()) {
        return FindOutcome::Cancelled;
    }
    find.findRun = true;
    // An empty view (a part without entries) is searched like any other: the
    // preceding part files follow, upwards as downwards.
    const FindOutcome outcome =
        Search(search, find, view, reporter, view.TopLine(), find.direction);
    find.previousFindText = find.findText;
    return outcome;
}

FindOutcome ReFindNext(SearchState& search, FindState& find, LookupView& view, Reporter& reporter) {
    if (find.findText.empty()) {
        return FindOutcome::NoFindText;
    }
    return Search(search, find, view, reporter, view.TopLine() + 2, FindDirection::Down);
}

FindOutcome ReFindPrior(SearchState& search, FindState& find, LookupView& view,
                        Reporter& reporter) {
    if (find.findText.empty()) {
        return FindOutcome::NoFindText;
    }
    return Search(search, find, view, reporter, view.TopLine() - 1, FindDirection::Up);
}

bool LineHolds(std::string_view line, std::string_view text, bool matchCase) {
    LineMatcher matcher(text, matchCase);
    return matcher.Holds(line);
}

size_t HitPlace(std::string_view line, std::string_view text, bool matchCase) {
    LineMatcher matcher(text, matchCase);
    return matcher.Place(line);
}

}  // namespace tovix
