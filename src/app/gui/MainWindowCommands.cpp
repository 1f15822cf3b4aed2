// TForm1's commands of the function-key bar and the pop-up menu: copying and
// pasting through the clipboard, switching to another running copy, the
// function-key bar itself and help.

#include <QCoreApplication>
#include <QEventLoop>
#include <QMenu>
#include <QTimer>
#include <algorithm>

#include "app/gui/ClipboardCommands.h"
#include "app/gui/CopyInstances.h"
#include "app/gui/Desktop.h"
#include "app/gui/FunctionKeyBar.h"
#include "app/gui/MainWindow.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "platform/ProgramDir.h"

namespace tovix {
namespace {

// The pop-up menu: each item runs its button's command; "Ctrl+F10 (MENU)" has
// none. An empty caption is a separator between the rows of the bar.
struct PopupItem {
    const char* name;
    const char* caption;
    void (TForm1::*command)();
};

constexpr PopupItem kPopupItems[] = {
    {"PopBtn01", "F01 ﾍﾙﾌﾟ", &TForm1::PopBtn01Click},
    {"PopBtn02", "F02 検索↑", &TForm1::PopBtn02Click},
    {"PopBtn03", "F03 検索↓", &TForm1::PopBtn03Click},
    {"PopBtn04", "F04 検索", &TForm1::PopBtn04Click},
    {"PopBtn05", "F05 語写", &TForm1::PopBtn05Click},
    {"PopBtn06", "F06 項写", &TForm1::PopBtn06Click},
    {"PopBtn07", "F07 英和", &TForm1::PopBtn07Click},
    {"PopBtn08", "F08 和英", &TForm1::PopBtn08Click},
    {"PopBtn09", "F09 拡大", &TForm1::PopBtn09Click},
    {"PopBtn10", "F10 終了", &TForm1::PopBtn10Click},
    {"", "", nullptr},
    {"PopBtn12", "Shift+F02 登録", &TForm1::PopBtn12Click},
    {"PopBtn13", "Shift+F03 編集", &TForm1::PopBtn13Click},
    {"PopBtn14", "Shift+F04 削除", &TForm1::PopBtn14Click},
    {"PopBtn19", "Shift+F09 拡大EXM", &TForm1::PopBtn19Click},
    {"PopBtn20", "Shift+F10 (OS)", &TForm1::PopBtn20Click},
    {"", "", nullptr},
    {"PopBtn21", "Ctrl+F01 Copy", &TForm1::PopBtn21Click},
    {"PopBtn22", "Ctrl+F02 切替", &TForm1::PopBtn22Click},
    {"PopBtn23", "Ctrl+F03 Delete", &TForm1::PopBtn23Click},
    {"PopBtn24", "Ctrl+F04 Paste", &TForm1::PopBtn24Click},
    {"PopBtn25", "Ctrl+F05 辞替１", &TForm1::PopBtn25Click},
    {"PopBtn26", "Ctrl+F06 辞替２", &TForm1::PopBtn26Click},
    {"PopBtn29", "Ctrl+F09 拡大PDIC", &TForm1::PopBtn29Click},
    {"PopBtn30", "Ctrl+F10 (MENU)", nullptr},
};

}  // namespace

void TForm1::BuildPopupMenu() {
    popupMenu1_ = new QMenu(this);
    popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
    for (const PopupItem& item : kPopupItems) {
        if (*item.name == '\0') {
            popupMenu1_->addSeparator();
            continue;
        }
        QAction* action = popupMenu1_->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromUtf8(item.name));
        if (item.command != nullptr) {
            connect(action, &QAction::triggered, this, item.command);
        }
    }
    bigView1_->SetPopupMenu(popupMenu1_);
}

void TForm1::ButtonClick(int n) {
    switch (n) {
        case 1:
            Button1Click();
            break;
        case 2:
            Button2Click();
            break;
        case 3:
            Button3Click();
            break;
        case 4:
            Button4Click();
            break;
        case 5:
            Button5Click();
            break;
        case 6:
            Button6Click();
            break;
        case 7:
            Button7Click();
            break;
        case 8:
            Button8Click();
            break;
        case 9:
            Button9Click();
            break;
        case 10:
            Button10Click();
            break;
        case 11:
            Button11Click();
            break;
        case 12:
            Button12Click();
            break;
        case 13:
            Button13Click();
            break;
        case 14:
            Button14Click();
            break;
        case 15:
            Button15Click();
            break;
        case 16:
            Button16Click();
            break;
        case 17:
            Button17Click();
            break;
        case 18:
            Button18Click();
            break;
        case 19:
            Button19Click();
            break;
        case 20:
            Button20Click();
            break;
        case 21:
            Button21Click();
            break;
        case 22:
            Button22Click();
            break;
        case 23:
            Button23Click();
            break;
        case 24:
            Button24Click();
            break;
        case 25:
            Button25Click();
            break;
        case 26:
            Button26Click();
            break;
        case 27:
            Button27Click();
            break;
        case 28:
            Button28Click();
            break;
        case 29:
            Button29Click();
            break;
        case 30:
            Button30Click();
            break;
        default:
            break;
    }
}

void TForm1::Button1Click() {
    ShowKeyList();
}

void TForm1::Button2Click() {
    MenuRefindPriorClick();
}

void TForm1::Button3Click() {
    MenuReFindNextClick();
}

void TForm1::Button4Click() {
    MenuFindClick();
}

// Copies the entry at the top of the view.
void TForm1::Button5Click() {
    if (!WarnWhenViewEmpty()) {
        CopyToClipboard(TopEntryText(*bigView1_));
    }
}

// Copies the entries the view shows.
void TForm1::Button6Click() {
    if (!WarnWhenViewEmpty()) {
        CopyToClipboard(VisibleEntriesText(*bigView1_));
    }
}

void TForm1::Button7Click() {
    MenuEngDicOpenClick();
}

void TForm1::Button8Click() {
    MenuJpnDicOpenClick();
}

void TForm1::Button9Click() {
    ZoomCommand(ZoomLayout::Tovix);
}

// Closes the window without the exit question.
void TForm1::Button10Click() {
    close();
}

void TForm1::Button11Click() {}

void TForm1::Button12Click() {
    AddEntry();
}

void TForm1::Button13Click() {
    ChangeEntry();
}

void TForm1::Button14Click() {
    DeleteEntry();
}

void TForm1::Button15Click() {}
void TForm1::Button16Click() {}
void TForm1::Button17Click() {}
void TForm1::Button18Click() {}

void TForm1::Button19Click() {
    ZoomCommand(ZoomLayout::Exm);
}

void TForm1::Button20Click() {}

// Copies the search text.
void TForm1::Button21Click() {
    if (!WarnWhenViewEmpty()) {
        CopyToClipboard(dicEdit1_->Text());
    }
}

void TForm1::Button22Click() {
    FocusSelectAnother();
}

void TForm1::Button23Click() {
    dicEdit1_->setFocus();
    EmptySearchField();
}

// Appends the clipboard's text to the search text.
void TForm1::Button24Click() {
    Paste(false);
}

// Carries the search word to the other copy, which takes it with
// ClearAndPaste.
void TForm1::Button25Click() {
    Button21Click();
    Button22Click();
}

void TForm1::Button26Click() {
    ClearAndPaste();
}

void TForm1::Button27Click() {}
void TForm1::Button28Click() {}

void TForm1::Button29Click() {
    ZoomCommand(ZoomLayout::Pdic);
}

void TForm1::Button30Click() {}

void TForm1::PopBtn01Click() {
    Button1Click();
}
void TForm1::PopBtn02Click() {
    Button2Click();
}
void TForm1::PopBtn03Click() {
    Button3Click();
}
void TForm1::PopBtn04Click() {
    Button4Click();
}
void TForm1::PopBtn05Click() {
    Button5Click();
}
void TForm1::PopBtn06Click() {
    Button6Click();
}
void TForm1::PopBtn07Click() {
    Button7Click();
}
void TForm1::PopBtn08Click() {
    Button8Click();
}
void TForm1::PopBtn09Click() {
    Button9Click();
}
void TForm1::PopBtn10Click() {
    Button10Click();
}
void TForm1::PopBtn12Click() {
    Button12Click();
}
void TForm1::PopBtn13Click() {
    Button13Click();
}
void TForm1::PopBtn14Click() {
    Button14Click();
}
void TForm1::PopBtn19Click() {
    Button19Click();
}
void TForm1::PopBtn20Click() {
    Button20Click();
}
void TForm1::PopBtn21Click() {
    Button21Click();
}
void TForm1::PopBtn22Click() {
    Button22Click();
}
void TForm1::PopBtn23Click() {
    Button23Click();
}
void TForm1::PopBtn24Click() {
    Button24Click();
}
void TForm1::PopBtn25Click() {
    Button25Click();
}
void TForm1::PopBtn26Click() {
    Button26Click();
}
void TForm1::PopBtn29Click() {
    Button29Click();
}

// The search field becomes the clipboard's text: the other copy's half of
// carrying a search word over.
void TForm1::ClearAndPaste() {
    Paste(true);
}

bool TForm1::WarnWhenViewEmpty() {
    if (bigView1_->ViewLineCount() > 0) {
        return false;
    }
    Warn("辞書が読み込まれていません。");
    return true;
}

void TForm1::CopyToClipboard(const std::string& text) {
    desktop_->SetClipboardText(text);
}

// A refused clipboard text is reported and left on the clipboard as it was.
void TForm1::Paste(bool replace) {
    const PasteText paste = CheckPasteText(desktop_->ClipboardText());
    if (!paste.refusal.empty()) {
        Warn(paste.refusal);
        return;
    }
    if (replace) {
        dicEdit1_->setFocus();
        EmptySearchField();
        dicEdit1_->SetText(paste.text);
    } else {
        dicEdit1_->SetText(dicEdit1_->Text() + paste.text);
    }
}

// Shows or hides the function-key bar for this run; the stored setting is
// the options window's.
void TForm1::MenuFuncKeyDispClick() {
    panel2_->setHidden(!panel2_->isHidden());
    dicEdit1_->end(false);
}

// Opens the help file beside the program with the desktop's viewer for it.
void TForm1::MenuHelpDispClick() {
    const std::filesystem::path help = ProgramDir() / "TOVIX.HLP";
    std::error_code ec;
    if (std::filesystem::is_regular_file(help, ec)) {
        desktop_->OpenFile(help);
    }
}

// The copies as the desktop stacks their windows, most recently active first:
// the last one is the copy used least recently, the other one of two.
void TForm1::FocusSelectAnother() {
    std::vector<RunningCopy> copies = copies_->Enumerate();
    std::erase_if(copies,
                  [](const RunningCopy& copy) { return !copy.title.toUtf8().startsWith("Tovix"); });
    if (!copies.empty()) {
        copies_->BringToFront(copies.back());
    }
}

void TForm1::DelayTime(int ms) {
    QEventLoop loop;
    QTimer::singleShot(std::max(ms, 0), &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void TForm1::ShowKeyList() {}
void TForm1::MenuFindClick() {}
void TForm1::MenuReFindNextClick() {}
void TForm1::MenuRefindPriorClick() {}
void TForm1::ZoomCommand(ZoomLayout /*layout*/) {}
void TForm1::AddEntry() {}
void TForm1::ChangeEntry() {}
void TForm1::DeleteEntry() {}

}  // namespace tovix
