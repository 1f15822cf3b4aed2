// The viewer: tovix [DICTIONARY-FILE ENG|JPN]

#include <QApplication>

#include "app/gui/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    tovix::TForm1 window(arguments);
    window.show();
    return QApplication::exec();
}
