// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/FindWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "app/AppMessages.h"
#include "components/MbString.h"
#include "platform/Cp932.h"
#include "platform/Guard.h"
#include "platform/PlatformMessages.h"
#include "platform/qt/GuardedConnect.h"
#include "platform/qt/QtText.h"

namespace tovix {
namespace {

// The longest start of the text of at most `limit` bytes that ends at a
// character's end.
std::string_view CutToBytes(std::string_view cp932, size_t limit) {
    size_t end = 0;
    for (size_t place = 0; place < cp932.size() && NextChar(cp932, place) > 0 && place <= limit;) {
        end = place;
    }
    return cp932.substr(0, end);
}

// The number of UTF-16 units of the text's longest start whose CP932 form
// takes at most `limit` bytes.
qsizetype UnitsWithinBytes(const QString& text, size_t limit) {
    size_t bytes = 0;
    qsizetype units = 0;
    for (const uint code : text.toUcs4()) {
        const char32_t c = code;
        const QString one = QString::fromUcs4(&c, 1);
        bytes += Cp932FromQtText(one).size();
        if (bytes > limit) {
            break;
        }
        units += one.size();
    }
    return units;
}

QPushButton* MakeButton(QWidget* parent, const char* name, std::string_view caption, int y) {
    auto* button = new QPushButton(QtText(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(330, y, 145, 30);
    return button;
}

}  // namespace

TForm4::TForm4(FindState& find, Reporter& reporter, QWidget* parent)
    : QDialog(parent), find_(find), reporter_(reporter) {
    setWindowTitle(QtText(app_text::kFindCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    QFont form = QApplication::font();
    form.setPointSize(14);
    setFont(form);
    setFixedSize(kClientWidth, kClientHeight);
    BuildControls();

    const std::string offered(CutToBytes(find_.previousFindText, kMaxTextBytes));
    edit1_->setText(QtTextFromCp932(offered));
    offered_ = edit1_->text();
    offeredBytes_ = offered;
    checkUperLower_->setChecked(find_.matchCase);
    if (QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move((area.width() - width()) / 2, (area.height() - height()) / 2);
    }
    edit1_->setFocus();
    edit1_->selectAll();
}

// The controls in their tab order.
void TForm4::BuildControls() {
    label1_ = new QLabel(QtText(app_text::kFindTextLabel), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(12, 10, 300, 26);
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setGeometry(12, 40, 300, 30);
    label1_->setBuddy(edit1_);
    btnSearch_ = MakeButton(this, "BtnSearch", app_text::kFindNextButton, 8);
    btnPriorSearch_ = MakeButton(this, "BtnPriorSearch", app_text::kFindPriorButton, 46);
    btnCansel_ = MakeButton(this, "BtnCansel", platform_text::kCancelButton, 84);
    checkUperLower_ = new QCheckBox(QtText(app_text::kMatchCaseBox), this);
    checkUperLower_->setObjectName(QStringLiteral("CheckUperLower"));
    checkUperLower_->setGeometry(12, 82, 310, 30);

    edit1_->installEventFilter(this);
    GuardedConnect(edit1_, &QLineEdit::textChanged, this, reporter_, "Edit1Change",
                   [this] { LimitText(); });
    GuardedConnect(btnSearch_, &QPushButton::clicked, this, reporter_, "BtnSearchClick",
                   [this] { BtnSearchClick(); });
    GuardedConnect(btnPriorSearch_, &QPushButton::clicked, this, reporter_, "BtnPriorSearchClick",
                   [this] { BtnPriorSearchClick(); });
    GuardedConnect(btnCansel_, &QPushButton::clicked, this, reporter_, "BtnCancelClick",
                   [this] { BtnCancelClick(); });
    GuardedConnect(checkUperLower_, &QCheckBox::clicked, this, reporter_, "CheckUperLowerClick",
                   [this] { CheckUperLowerClick(); });
}

void TForm4::BtnSearchClick() {
    find_.direction = FindDirection::Down;
    Search();
}

void TForm4::BtnPriorSearchClick() {
    find_.direction = FindDirection::Up;
    Search();
}

void TForm4::BtnCancelClick() {
    Cancel();
}

void TForm4::CheckUperLowerClick() {
    find_.matchCase = checkUperLower_->isChecked();
}

bool TForm4::EditBoxKeyDown(int key, Qt::KeyboardModifiers /*modifiers*/) {
    switch (key) {
        case Qt::Key_Escape:
            Cancel();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Search();
            return true;
        default:
            return false;
    }
}

bool TForm4::FormKeyDown(int key, Qt::KeyboardModifiers /*modifiers*/) {
    if (key == Qt::Key_Escape) {
        Cancel();
        return true;
    }
    return false;
}

// The find follows with the text in the direction set.
void TForm4::Search() {
    edit1_->setFocus();
    edit1_->end(false);
    const QString text = edit1_->text();
    if (text == offered_) {
        find_.findText = offeredBytes_;
        find_.findTextUnencodable = false;
    } else {
        SetFindText(find_, text.toStdString());
    }
    accept();
}

void TForm4::Cancel() {
    find_.findText.clear();
    reject();
}

void TForm4::LimitText() {
    const QString text = edit1_->text();
    const qsizetype units = UnitsWithinBytes(text, kMaxTextBytes);
    if (units < text.size()) {
        edit1_->setText(text.left(units));
    }
}

// Enter goes to a focused button only (which clicks it); Esc cancels.
void TForm4::keyPressEvent(QKeyEvent* event) {
    bool used = false;
    Guarded(reporter_, "FormKeyDown",
            [&] { used = FormKeyDown(event->key(), event->modifiers()); });
    if (used) {
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit1_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        bool used = false;
        Guarded(reporter_, "EditBoxKeyDown",
                [&] { used = EditBoxKeyDown(key->key(), key->modifiers()); });
        return used;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tovix
