// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/Desktop.h"

#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QUrl>

#include "app/AppMessages.h"
#include "app/gui/FontDialog.h"
#include "platform/qt/QtText.h"

namespace tovix {
namespace {

QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

}  // namespace

std::optional<std::string> QtDesktop::ClipboardText() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    return Cp932FromQtText(data->text());
}

void QtDesktop::SetClipboardText(std::string_view cp932) {
    QGuiApplication::clipboard()->setText(QtTextFromCp932(cp932));
}

bool QtDesktop::StartProgram(const std::filesystem::path& program,
                             const std::vector<std::string>& arguments,
                             const std::filesystem::path& workingDir) {
    QStringList list;
    for (const std::string& argument : arguments) {
        list << QString::fromStdString(argument);
    }
    return QProcess::startDetached(FromPath(program), list, FromPath(workingDir));
}

bool QtDesktop::OpenFile(const std::filesystem::path& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(FromPath(file)));
}

std::optional<QString> QtDesktop::ChooseOpenFile(QWidget* parent, const QString& caption,
                                                 const QString& filter) {
    const QString file = QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    if (file.isEmpty()) {
        return std::nullopt;
    }
    return file;
}

std::optional<QString> QtDesktop::ChooseSaveFile(QWidget* parent, const QString& caption,
                                                 const QString& filter) {
    const QString file = QFileDialog::getSaveFileName(parent, caption, QString(), filter, nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (file.isEmpty()) {
        return std::nullopt;
    }
    return file;
}

bool QtDesktop::ChooseFont(QWidget* parent, FontChoice& choice) {
    TFontDialog dialog(choice, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    choice = dialog.Choice();
    return true;
}

bool QtDesktop::ChooseColor(QWidget* parent, QColor& color) {
    const QColor chosen = QColorDialog::getColor(color, parent, QtText(app_text::kColorCaption));
    if (!chosen.isValid()) {
        return false;
    }
    color = chosen;
    return true;
}

}  // namespace tovix
