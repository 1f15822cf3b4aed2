// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the viewer's start-up: the minimal Qt window program, a
// label saying hello, started the same way, until it is first painted:
//   MinimalQtProbe LAUNCH_NS

#include <QLabel>

#include "FirstPaintProbe.h"

int main(int argc, char** argv) {
    const long long launchNs = std::atoll(argv[1]);
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Hello"));
    window.resize(560, 420);
    FirstPaintProbe probe(launchNs);
    window.installEventFilter(&probe);
    window.show();
    return QApplication::exec();
}
