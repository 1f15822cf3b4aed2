// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/OptionsWindow.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>

#include "app/AppMessages.h"
#include "app/WrapLength.h"
#include "app/gui/WindowHelpers.h"
#include "platform/MessageText.h"
#include "platform/Reporter.h"
#include "platform/qt/GuardedConnect.h"
#include "platform/qt/QtText.h"

namespace tovix {
namespace {

constexpr int kPanelHeight = 41;

}  // namespace

// A page's tab caption (with its ideographic spaces) and its two buttons.
struct TForm2::Page {
    const char* caption;
    const char* cancelName;
    const char* cancelHandler;
    void (TForm2::*cancel)();
    const char* saveName;
    const char* saveHandler;
    void (TForm2::*save)();
};

TForm2::TForm2(GeneralSettings& settings, int& lastPage, Reporter& reporter, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      lastPage_(lastPage),
      reporter_(reporter),
      tabNote_(new QTabWidget(this)) {
    setWindowTitle(QtText(app_text::kOptionsCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(517, 333);
    QFont font = DialogFont();
    font.setPixelSize(12);
    setFont(font);
    tabNote_->setObjectName(QStringLiteral("TabNote"));
    tabNote_->setGeometry(6, 8, 505, 317);
    tabNote_->setFont(DialogFont());

    using T = TForm2;
    // clang-format off
    static constexpr Page kPages[] = {
        {"　画面表示位置　", "BtnFormCansel", "BtnFormCanselClick", &T::BtnFormCanselClick,
                             "BtnFormSave", "BtnFormSaveClick", &T::BtnFormSaveClick},
        {"　　履歴設定　　", "BtnFileCansel", "BtnFileCanselClick", &T::BtnFileCanselClick,
                             "BtnFileSave", "BtnFileSaveClick", &T::BtnFileSaveClick},
        {"　表示情報設定　", "BtnDispCansel", "BtnDispCanselClick", &T::BtnDispCanselClick,
                             "BtnDispSave", "BtnDispSaveClick", &T::BtnDispSaveClick},
        {app_text::kInputPageCaption.data(), "BtnInputCansel", "BtnInputCanselClick",
                             &T::BtnInputCanselClick, "BtnInputSave", "BtnInputSaveClick",
                             &T::BtnInputSaveClick},
    };
    // clang-format on
    QWidget* place = AddPage(kPages[0]);
    checkFormMain_ = AddCheck(place, "CheckFormMain", "メイン画面(&M)", 70);
    checkFormView_ = AddCheck(place, "CheckFormView", "拡大画面(&K)", 105);
    BuildHistoryPage(AddPage(kPages[1]));
    BuildDisplayPage(AddPage(kPages[2]));
    BuildInputPage(AddPage(kPages[3]));

    checkFormMain_->setChecked(settings_.mainWindow.mem);
    checkFormView_->setChecked(settings_.zoomWindow.mem);
    checkFnKeyDisp_->setChecked(settings_.showFunctionKeys);
    checkWrapSet_->setChecked(settings_.zoomWrap);
    edit1_->setText(QtTextFromCp932(settings_.zoomWrapLength));
    checkImeN_->setChecked(settings_.imeStyleN);
    checkSelectionLookup_->setChecked(settings_.selectionLookup);
    checkReopenLast_->setChecked(settings_.reopenLast);
    historySize_->setValue(settings_.historySize);
    tabNote_->setCurrentIndex(lastPage_);
}

// A page with its panel of Cancel and Save buttons at the top.
QWidget* TForm2::AddPage(const Page& row) {
    auto* page = new QWidget;
    auto* panel = new QFrame(page);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(0, 0, 499, kPanelHeight);
    GuardedConnect(new DialogButton(panel, row.cancelName, "ｷｬﾝｾﾙ", 8, 8, 100),
                   &QPushButton::clicked, this, reporter_, row.cancelHandler,
                   [this, cancel = row.cancel] { (this->*cancel)(); });
    GuardedConnect(new DialogButton(panel, row.saveName, "保存(&S)", 116, 8, 100),
                   &QPushButton::clicked, this, reporter_, row.saveHandler,
                   [this, save = row.save] { (this->*save)(); });
    tabNote_->addTab(page, QString::fromUtf8(row.caption));
    return page;
}

QCheckBox* TForm2::AddCheck(QWidget* page, const char* name, const char* caption, int y) {
    auto* check = new QCheckBox(QString::fromUtf8(caption), page);
    check->setObjectName(QString::fromUtf8(name));
    check->setGeometry(30, y, 300, 25);
    return check;
}

void TForm2::BuildDisplayPage(QWidget* page) {
    checkFnKeyDisp_ = AddCheck(page, "CheckFnKeyDisp", "ファンクションキー表示(&F)", 70);
    checkWrapSet_ = AddCheck(page, "CheckWrapSet", "拡大表示折り返し文字数(&C)", 105);
    auto* label = new QLabel(QStringLiteral("設定値(&1)"), page);
    label->setGeometry(60, 140, 90, 25);
    edit1_ = new QLineEdit(page);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setGeometry(150, 140, 91, 25);
    label->setBuddy(edit1_);
    auto* range = new QLabel(QStringLiteral("(2-512)"), page);
    range->setGeometry(250, 140, 80, 25);
}

void TForm2::BuildHistoryPage(QWidget* page) {
    checkReopenLast_ = AddCheck(page, "CheckReopenLast", app_text::kReopenLastBox.data(), 70);
    auto* label = new QLabel(QtText(app_text::kHistorySizeLabel), page);
    label->setGeometry(30, 105, 150, 25);
    historySize_ = new QSpinBox(page);
    historySize_->setObjectName(QStringLiteral("HistorySize"));
    historySize_->setRange(0, kHistorySizeMax);
    historySize_->setGeometry(180, 105, 91, 25);
    label->setBuddy(historySize_);
    auto* range = new QLabel(QtText(app_text::kHistorySizeRange), page);
    range->setGeometry(280, 105, 200, 25);
    btnHistoryClear_ = new DialogButton(page, "BtnHistoryClear",
                                        app_text::kHistoryClearButton.data(), 30, 145, 150);
    GuardedConnect(btnHistoryClear_, &QPushButton::clicked, this, reporter_, "BtnHistoryClearClick",
                   [this] {
                       if (clearHistory_) {
                           clearHistory_();
                       }
                   });
}

void TForm2::BuildInputPage(QWidget* page) {
    checkImeN_ = AddCheck(page, "CheckImeN", app_text::kImeStyleNBox.data(), 70);
    checkImeN_->setGeometry(30, 70, 440, 25);
    auto* note = new QLabel(QtText(app_text::kImeStyleNNote), page);
    note->setObjectName(QStringLiteral("LabelImeNote"));
    note->setGeometry(52, 100, 420, 50);
    checkSelectionLookup_ =
        AddCheck(page, "CheckSelectionLookup", app_text::kSelectionLookupBox.data(), 160);
    checkSelectionLookup_->setGeometry(30, 160, 440, 25);
    auto* selectionNote = new QLabel(QtText(app_text::kSelectionLookupNote), page);
    selectionNote->setGeometry(52, 190, 420, 50);
}

void TForm2::BtnFormSaveClick() {
    settings_.mainWindow.mem = checkFormMain_->isChecked();
    settings_.zoomWindow.mem = checkFormView_->isChecked();
    accept();
}

void TForm2::BtnFileSaveClick() {
    settings_.reopenLast = checkReopenLast_->isChecked();
    settings_.historySize = historySize_->value();
    accept();
}

// The length is checked before anything is stored; a refusal keeps the
// window open.
void TForm2::BtnDispSaveClick() {
    const QString typed = edit1_->text();
    const WrapLengthCheck check = CheckWrapLength(typed.toStdString());
    if (check.notInteger) {
        std::string message(app_text::kNotInteger);
        message.replace(message.find("%s"), 2, typed.toStdString());
        reporter_.Message(MessageKind::Error, message, kButtonOk);
        return;
    }
    if (check.outOfRange) {
        reporter_.Message(MessageKind::Warning, Padded(app_text::kWrapOutOfRange, 4, 0), kButtonOk);
        return;
    }
    settings_.showFunctionKeys = checkFnKeyDisp_->isChecked();
    settings_.zoomWrap = checkWrapSet_->isChecked();
    settings_.zoomWrapLength = std::to_string(*check.value);
    accept();
}

void TForm2::BtnInputSaveClick() {
    settings_.imeStyleN = checkImeN_->isChecked();
    settings_.selectionLookup = checkSelectionLookup_->isChecked();
    accept();
}

void TForm2::BtnFormCanselClick() {
    reject();
}

void TForm2::BtnFileCanselClick() {
    reject();
}

void TForm2::BtnDispCanselClick() {
    reject();
}

void TForm2::BtnInputCanselClick() {
    reject();
}

// However the window closes, it opens on this page next time.
void TForm2::done(int result) {
    lastPage_ = tabNote_->currentIndex();
    QDialog::done(result);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    Guarded(reporter_, "FormKeyDown", [this] {
        if (reporter_.Message(MessageKind::Information, NoticeText(app_text::kBackToMain),
                              kButtonYes | kButtonNo) == MessageResult::Yes) {
            reject();
        }
    });
}

}  // namespace tovix
