// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer: tovix [DICTIONARY-FILE [ENG|JPN]]

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <iostream>
#include <string_view>

#include "app/AppMessages.h"
#include "app/gui/LookupCommand.h"
#include "app/gui/MainWindow.h"
#include "app/gui/StartupWarmUp.h"
#include "platform/VersionText.h"

int main(int argc, char** argv) {
    // Answered before any window or display is needed.
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--version") {
            std::cout << tovix::VersionText("tovix");
            return 0;
        }
        if (argument == "--help" || argument == "-h") {
            std::cout << tovix::app_text::kViewerHelp;
            return 0;
        }
    }
    tovix::FontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    // The program speaks Japanese whatever the desktop's language: so do the
    // toolkit's own dialogs (file, font, colour), when their translation is
    // installed.
    QTranslator toolkitText;
    if (toolkitText.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&toolkitText);
    }
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!arguments.isEmpty() && arguments.front() == QStringLiteral("--lookup")) {
        arguments.removeFirst();
        return tovix::RunLookupCommand(arguments);
    }
    fontConfig.Join();
    const tovix::ToolkitWarmUp toolkit;
    tovix::TForm1 window(arguments);
    window.show();
    return QApplication::exec();
}
