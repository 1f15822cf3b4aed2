#include "app/gui/ClipboardCommands.h"

#include <algorithm>

#include "app/AppMessages.h"
#include "components/BigView/BigView.h"

namespace tovix {
namespace {

// The view lines from..to (text lines and view lines are the same in the
// main view, which does not wrap), each with CR LF.
std::string LinesText(const TBigView& view, int from, int to) {
    std::string text;
    for (int n = from; n <= to; ++n) {
        text += view.GetViewLine(n);
        text += "\r\n";
    }
    return text;
}

// The headword line of the entry at the top: entries are two lines, so an
// odd line is a translation line.
int TopHeadword(const TBigView& view) {
    const int line = view.ViewLineToLine(view.TopLine());
    return line % 2 == 1 ? line - 1 : line;
}

}  // namespace

std::string TopEntryText(const TBigView& view) {
    const int first = TopHeadword(view);
    return LinesText(view, first, std::min(first + 1, view.BottomLine()));
}

std::string VisibleEntriesText(const TBigView& view) {
    const int first = TopHeadword(view);
    int last = view.ViewLineToLine(view.BottomLine());
    if (last % 2 == 0) {
        ++last;
    }
    return LinesText(view, first, std::min(last, view.BottomLine()));
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
