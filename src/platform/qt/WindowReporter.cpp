// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/WindowReporter.h"

#include <QWidget>

#include "platform/qt/MessageDialog.h"

namespace tovix {

MessageResult WindowReporter::Message(MessageKind kind, const std::string& text,
                                      MessageButtons buttons) {
    return ShowMessageDialog(window_, kind, QString::fromStdString(text), buttons);
}

std::string WindowReporter::Caption() const {
    return window_->windowTitle().toStdString();
}

void WindowReporter::SetCaption(const std::string& caption) {
    window_->setWindowTitle(QString::fromStdString(caption));
}

}  // namespace tovix
