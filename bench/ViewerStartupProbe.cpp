// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer's start-up until its dictionary view is first painted:
//   ViewerStartupProbe LAUNCH_NS [DICTIONARY-FILE ENG|JPN]

#include "FirstPaintProbe.h"
#include "app/gui/MainWindow.h"
#include "app/gui/StartupWarmUp.h"
#include "components/BigView/BigView.h"

int main(int argc, char** argv) {
    const long long launchNs = std::atoll(argv[1]);
    tovix::FontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments();
    arguments.remove(0, 2);
    fontConfig.Join();
    const tovix::ToolkitWarmUp toolkit;
    tovix::TForm1 window(arguments);
    FirstPaintProbe probe(launchNs);
    window.BigView1()->viewport()->installEventFilter(&probe);
    window.show();
    return QApplication::exec();
}
