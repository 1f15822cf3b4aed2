// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/ClipboardCommands.h"

#include <algorithm>

#include "app/AppMessages.h"
#include "components/BigView/BigView.h"

namespace tovix {
namespace {

// The text lines from..to, each with CR LF.
std::string LinesText(const TBigView& view, TextLineIndex from, TextLineIndex to) {
    std::string text;
    for (TextLineIndex line = from; line <= to; ++line) {
        text += view.Lines().View(line.value);
        text += "\r\n";
    }
    return text;
}

// The headword line of the entry at the top: entries are two lines, so an
// odd line is a translation line.
TextLineIndex TopHeadword(const TBigView& view) {
    const TextLineIndex line = view.ViewLineToLine(view.TopLine());
    return line.value % 2 == 1 ? line - 1 : line;
}

TextLineIndex BottomTextLine(const TBigView& view) {
    return view.ViewLineToLine(view.BottomLine());
}

}  // namespace

std::string TopEntryText(const TBigView& view) {
    const TextLineIndex first = TopHeadword(view);
    return LinesText(view, first, std::min(first + 1, BottomTextLine(view)));
}

std::string VisibleEntriesText(const TBigView& view) {
    const TextLineIndex first = TopHeadword(view);
    TextLineIndex last = BottomTextLine(view);
    if (last.value % 2 == 0) {
        ++last;
    }
    return LinesText(view, first, std::min(last, BottomTextLine(view)));
}

PasteText CheckPasteText(const std::optional<std::string>& clipboard) {
    if (!clipboard) {
        return {"", std::string(app_text::kClipboardNotText)};
    }
    std::string text = *clipboard;
    // Bytes up to the blank are blanks or control characters; no byte of a
    // double-byte character is one.
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') {
        text.pop_back();
    }
    if (text.empty()) {
        return {"", std::string(app_text::kClipboardEmpty)};
    }
    if (text.find_first_of("\r\n") != std::string::npos) {
        return {"", std::string(app_text::kClipboardNotOneLine)};
    }
    return {text, ""};
}

}  // namespace tovix
