#include "ui/Unit1.h"

#include <QGuiApplication>

int main(int argc, char* argv[])
{
    // Ties the window to its desktop entry (and so to its icon and name in the desktop).
    QGuiApplication::setDesktopFileName(QStringLiteral(CVPLOT_APP_ID));
    return TApplication::RunProgram(argc, argv, Form1);
}
