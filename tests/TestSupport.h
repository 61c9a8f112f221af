// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the window tests: Qt warnings become failures, and error reports are
// recorded instead of shown in a dialog.
#pragma once

#include "toolkit/Application.h"

#include <QStringList>
#include <QtGlobal>

// Collects every Qt warning (and worse) printed while it lives.
class TWarningTrap {
public:
    TWarningTrap();
    ~TWarningTrap();
    QStringList Take();

private:
    QtMessageHandler previous_;
};

// Records the messages the window reports while it lives.
class TReportRecorder {
public:
    TReportRecorder();
    ~TReportRecorder();
    QStringList messages;

private:
    ErrorReporter previous_;
};
