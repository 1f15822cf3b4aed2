// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/ToolWindows.h"

#include <QLabel>
#include <QLineEdit>

#include "app/AppMessages.h"
#include "app/gui/Desktop.h"
#include "app/gui/WindowHelpers.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"
#include "platform/PlatformMessages.h"
#include "platform/qt/GuardedConnect.h"
#include "platform/qt/QtText.h"
#include "tools/ToolMessages.h"

namespace tovix {
namespace {

enum class Browse { None, Open, Save };

// One edit of a window: its label, and its browse button with the dialog the
// button opens.
struct FieldRow {
    const char* label = nullptr;  // nullptr: the window has no such edit
    const char* button = nullptr;
    const char* buttonCaption = nullptr;
    Browse browse = Browse::None;
};

struct WindowRow {
    ToolForm kind;
    std::array<FieldRow, 5> fields;
    std::string_view openFilter;
};

constexpr FieldRow Open(const char* label, const char* button, const char* caption) {
    return {label, button, caption, Browse::Open};
}

constexpr FieldRow Save(const char* label, const char* button, const char* caption) {
    return {label, button, caption, Browse::Save};
}

constexpr WindowRow kWindows[] = {
    {ToolForm::OneInOneOut,
     {Open("読込ﾌｧｲﾙ名(&1)", "BtnOpenRef", "参照(&B)..."),
      Save("作成ﾌｧｲﾙ名(&2)", "BtnSaveRef", "参照(&C)...")},
     app_text::kToolOpenFilter},
    {ToolForm::InPlace,
     {Open("ﾌｧｲﾙ名(&1)", "BtnOpenRef", "参照(&B)...")},
     app_text::kToolOpenFilter},
    {ToolForm::TwoInOneOut,
     {Open("読込ﾌｧｲﾙ名1(&1)", "BtnOpenRef1", "参照(&B)..."),
      Open("読込ﾌｧｲﾙ名2(&2)", "BtnOpenRef2", "参照(&C)..."),
      Save("作成ﾌｧｲﾙ名 (&3)", "BtnSaveRef", "参照(&D)...")},
     app_text::kToolOpenFilterTxt},
    {ToolForm::NewFile,
     {Save("ﾌｧｲﾙ名(&1)", "BtnOpenRef", "参照(&B)...")},
     app_text::kToolOpenFilter},
    {ToolForm::LengthCheck,
     {Open("読込ﾌｧｲﾙ名 (&1)", "BtnOpenRef1", "参照(&B)..."),
      Save("作成ﾌｧｲﾙ名1(&2)", "BtnOpenRef2", "参照(&C)..."),
      Save("作成ﾌｧｲﾙ名2(&3)", "BtnSaveRef", "参照(&D)..."), FieldRow{"見出文字数(&4)"},
      FieldRow{"訳語文字数(&5)"}},
     app_text::kToolOpenFilterTxt},
};

const WindowRow& RowOf(ToolForm kind) {
    for (const WindowRow& row : kWindows) {
        if (row.kind == kind) {
            return row;
        }
    }
    return kWindows[0];
}

// Geometry: one row of label, edit and browse button per edit; the limits'
// edits are short, with the limit label beside them.
constexpr int kWidth = 560;
constexpr int kRowHeight = 34;
constexpr int kLabelX = 12;
constexpr int kEditX = 165;
constexpr int kEditWidth = 270;
constexpr int kLimitWidth = 70;
constexpr int kBrowseX = 445;
constexpr int kButtonWidth = 100;

// A lock taken by `take`, which refuses with a message when another holds
// it; a lock file that cannot be created is reported likewise.
template <class Take>
std::optional<ToolLock> Refusing(Reporter& reporter, Take take) {
    try {
        return take();
    } catch (const IoError& e) {
        reporter.Message(MessageKind::Warning,
                         FileMessage(e.path().string(), tool_text::kCannotCreate), kButtonAbort);
        return std::nullopt;
    }
}

}  // namespace

TToolWindow::TToolWindow(const ToolCommand& command, Direction direction, ToolJob& job,
                         Desktop& desktop, QWidget* parent)
    : QDialog(parent),
      kind_(command.form),
      roles_(command.Roles(direction)),
      job_(job),
      desktop_(desktop) {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogFont());
    Build(command);
    setWindowTitle(QtText(command.Caption(direction)));
    CentreOnScreen(*this);
    edits_[0]->setFocus();
}

TToolWindow::~TToolWindow() = default;

void TToolWindow::Build(const ToolCommand& command) {
    const WindowRow& row = RowOf(kind_);
    int y = 12;
    for (size_t n = 0; n < row.fields.size() && row.fields[n].label != nullptr;
         ++n, y += kRowHeight) {
        const FieldRow& field = row.fields[n];
        auto* label = new QLabel(QString::fromUtf8(field.label), this);
        label->setGeometry(kLabelX, y, kEditX - kLabelX - 4, 25);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Edit%1").arg(n + 1));
        const bool limit = n >= 3;
        edit->setGeometry(kEditX, y, limit ? kLimitWidth : kEditWidth, 25);
        label->setBuddy(edit);
        edits_[n] = edit;
        if (field.button != nullptr) {
            browse_[n] = new DialogButton(this, field.button, field.buttonCaption, kBrowseX, y,
                                          kButtonWidth);
            GuardedConnect(browse_[n], &QPushButton::clicked, this, job_.reporter,
                           std::string(field.button) + "Click",
                           [this, n] { Browse(static_cast<int>(n) + 1); });
        }
        if (limit) {
            auto* limitLabel = new QLabel(QtText(app_text::kLimitLabel), this);
            limitLabel->setObjectName(n == 3 ? QStringLiteral("Label8") : QStringLiteral("Label9"));
            limitLabel->setGeometry(kEditX + kLimitWidth + 10, y, 260, 25);
            (n == 3 ? label8_ : label9_) = limitLabel;
        }
    }
    if (kind_ == ToolForm::LengthCheck) {
        edits_[3]->setText(QtText(command.headLimit));
        edits_[4]->setText(QtText(command.transLimit));
        for (const std::string_view note : {app_text::kInRangeNote, app_text::kOutOfRangeNote}) {
            auto* text = new QLabel(QtText(note), this);
            text->setGeometry(kLabelX, y, kWidth - 2 * kLabelX, 22);
            y += 24;
        }
        y += 6;
    }
    btnOk_ = new DialogButton(this, "BtnOk", app_text::kRunButton.data(),
                              kBrowseX - kButtonWidth - 10, y + 6, kButtonWidth);
    btnCansel_ = new DialogButton(this, "BtnCansel", platform_text::kCancelButton.data(), kBrowseX,
                                  y + 6, kButtonWidth);
    setFixedSize(kWidth, y + 6 + 25 + 12);
    GuardedConnect(btnOk_, &QPushButton::clicked, this, job_.reporter, "BtnOkClick",
                   [this] { BtnOkClick(); });
    GuardedConnect(btnCansel_, &QPushButton::clicked, this, job_.reporter, "BtnCanselClick",
                   [this] { BtnCanselClick(); });
}

QLineEdit* TToolWindow::Edit(int n) const {
    return n >= 1 && n <= 5 ? edits_[static_cast<size_t>(n - 1)] : nullptr;
}

QPushButton* TToolWindow::BrowseButton(int n) const {
    return n >= 1 && n <= 5 ? browse_[static_cast<size_t>(n - 1)] : nullptr;
}

// The tool lock first: the checks look at files that another command may be
// writing. Then the lock of the set the command replaces. A refusal releases
// both.
void TToolWindow::BtnOkClick() {
    const auto mode = ToolLock::Mode::Refuse;
    std::optional<ToolLock> lock =
        Refusing(job_.reporter, [&] { return ToolLock::Take(job_.workDir, job_.reporter, mode); });
    if (!lock) {
        return;
    }
    ToolWindowEdits edits;
    std::string* texts[] = {&edits.Edit1, &edits.Edit2, &edits.Edit3, &edits.Edit4, &edits.Edit5};
    for (size_t n = 0; n < edits_.size(); ++n) {
        if (edits_[n] != nullptr) {
            *texts[n] = edits_[n]->text().toStdString();
        }
    }
    if (!AcceptToolWindow(kind_, edits, job_, roles_)) {
        return;
    }
    std::vector<ToolLock> locks;
    locks.push_back(std::move(*lock));
    const std::string set = WrittenSet(kind_, roles_, job_);
    if (!set.empty()) {
        lock = Refusing(job_.reporter, [&] { return ToolLock::TakeSet(set, job_.reporter, mode); });
        if (!lock) {
            job_.Accepted = false;
            return;
        }
        locks.push_back(std::move(*lock));
    }
    locks_ = std::move(locks);
    accept();
}

void TToolWindow::BtnCanselClick() {
    reject();
}

void TToolWindow::Browse(int n) {
    const FieldRow& field = RowOf(kind_).fields[static_cast<size_t>(n - 1)];
    const std::optional<QString> file =
        field.browse == Browse::Open ? desktop_.ChooseOpenFile(this, QtText(app_text::kOpenCaption),
                                                               QtText(RowOf(kind_).openFilter))
                                     : desktop_.ChooseSaveFile(this, QtText(app_text::kSaveCaption),
                                                               QtText(app_text::kToolSaveFilter));
    if (file) {
        Edit(n)->setText(*file);
    }
}

std::unique_ptr<TToolWindow> MakeToolWindow(const ToolCommand& command, Direction direction,
                                            ToolJob& job, Desktop& desktop, QWidget* parent) {
    switch (command.form) {
        case ToolForm::OneInOneOut:
            return std::make_unique<TForm22>(command, direction, job, desktop, parent);
        case ToolForm::InPlace:
            return std::make_unique<TForm23>(command, direction, job, desktop, parent);
        case ToolForm::TwoInOneOut:
            return std::make_unique<TForm24>(command, direction, job, desktop, parent);
        case ToolForm::NewFile:
            return std::make_unique<TForm25>(command, direction, job, desktop, parent);
        case ToolForm::LengthCheck:
            break;
    }
    return std::make_unique<TForm26>(command, direction, job, desktop, parent);
}

}  // namespace tovix
