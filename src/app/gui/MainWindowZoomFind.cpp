// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's zoom and find commands: the entry at the top in the zoom window,
// and the free-text find through the find window, with its re-finds.

#include <QAction>

#include "app/gui/FindWindow.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MessageWindow.h"
#include "app/gui/ZoomWindow.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"

namespace tovix {

// Nothing happens while the view has no lines.
void TForm1::ShowZoom(ZoomRule rule) {
    std::vector<std::string> lines = ZoomLines(*viewLines_, rule);
    if (lines.empty()) {
        return;
    }
    SettleWord();
    TForm3 form3(settings_, settings_.zoomWindow, QRect(x(), y(), width(), height()), reporter_,
                 this);
    form3.ShowLines(std::move(lines));
    DialogOpenScope open(*this);
    form3.exec();
}

// Asks for the text in the find window and finds it in the direction chosen
// there; a cancelled window changes nothing else. Without a dictionary every
// find command finds nothing.
void TForm1::MenuFindClick() {
    find_.findText.clear();
    if (search_.dicFile.empty()) {
        ShowFindNotice(FindOutcome::NotFound);
        return;
    }
    SettleWord();
    {
        TForm4 form4(find_, reporter_, this);
        DialogOpenScope open(*this);
        form4.exec();
    }
    settings_.findMatchCase = find_.matchCase;
    const FindOutcome outcome = RunFind(search_, find_, *viewLines_, reporter_);
    if (outcome == FindOutcome::Cancelled) {
        return;
    }
    ConcludeFind(outcome);
    MenuItem("MenuReFindNext")->setEnabled(true);
    MenuItem("MenuRefindPrior")->setEnabled(true);
    settings_.findText = find_.previousFindText;
}

// The last find again: downwards past the entry at the top, or upwards from
// the line above the top.
void TForm1::ReFind(FindDirection direction) {
    if (search_.dicFile.empty()) {
        ConcludeFind(FindOutcome::NotFound);
        return;
    }
    ConcludeFind(direction == FindDirection::Down
                     ? ReFindNext(search_, find_, *viewLines_, reporter_)
                     : ReFindPrior(search_, find_, *viewLines_, reporter_));
}

// The entry of a hit is at the top: the search field's caret goes to the
// end of its text and the found text is marked until the next keystroke or
// scroll. Otherwise the notice, if the outcome has one.
void TForm1::ConcludeFind(FindOutcome outcome) {
    if (outcome != FindOutcome::Found) {
        ShowFindNotice(outcome);
        return;
    }
    dicEdit1_->end(false);
    const TextLineIndex line = bigView1_->ViewLineToLine(find_.foundLine);
    if (line < TextLineIndex(0)) {
        return;
    }
    const size_t place =
        HitPlace(bigView1_->Lines().View(line.value), find_.findText, find_.matchCase);
    if (place != std::string_view::npos) {
        bigView1_->SetMark(line, place, find_.findText.size());
    }
}

void TForm1::ShowFindNotice(FindOutcome outcome) {
    const std::string notice = FindNotice(outcome);
    if (notice.empty()) {
        return;
    }
    DialogOpenScope open(*this);
    TForm17::ShowNotice(this, QString::fromStdString(notice));
}

}  // namespace tovix
