#include "Program.h"

#include "app/RunMode.h"

#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>

namespace korvex {

int runProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvanta Express"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Corvanta Express"));
    window.resize(900, 690);
    window.show();
    return QApplication::exec();
}

} // namespace korvex
