#include "app/entry/window_program.h"

#include <QApplication>
#include <QMessageBox>

int runWindowProgram(int argc, char** argv, const CommandLine&) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QuillanveroSoftware v.1.0.10"));
    QMessageBox::information(nullptr, QApplication::applicationName(),
                             QStringLiteral("The delay window is being built; use --headless."));
    return 0;
}
