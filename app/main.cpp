// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Unit1.h"

#include <QGuiApplication>

int main(int argc, char* argv[])
{
    // Ties the window to its desktop entry (and so to its icon and name in the desktop).
    QGuiApplication::setDesktopFileName(QStringLiteral(CVPLOT_APP_ID));
    // The window icon in the sizes drawn for it, carried as resources (app/CMakeLists.txt).
    TProgramIdentity identity { QStringLiteral("cvplot"),
        { QStringLiteral(":/icons/cvplot-16.png"), QStringLiteral(":/icons/cvplot-32.png"),
            QStringLiteral(":/icons/cvplot-48.png") } };
    return TApplication::RunProgram(argc, argv, Form1, std::move(identity));
}
