// SPDX-License-Identifier: GPL-3.0-or-later
// For the benchmarks that drive the shown window: bring it up as the program does, and
// read this process's resident memory.
#pragma once

#include "ui/Unit1.h"

#include <QFile>
#include <QTest>

// Initialises the application, creates the window and shows it; false when it is not
// shown.
inline bool ShowMainWindow(TApplication& application)
{
    application.Initialize();
    application.CreateForm(Form1);
    Form1->show();
    return QTest::qWaitForWindowExposed(Form1);
}

// Resident memory of this process in kB, from the kernel's status of it; -1 where there
// is none to read.
inline long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}
