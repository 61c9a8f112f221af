// SPDX-License-Identifier: GPL-3.0-or-later
// Child of the start-up benchmark: the baseline, an empty QMainWindow up to its first frame.
#include "FirstFrame.h"

#include <QMainWindow>

FIRST_FRAME_WATCHER

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(811, 530);
    window.show();
    return QApplication::exec();
}
