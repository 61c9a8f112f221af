// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

namespace {

QStringList& Trapped()
{
    static QStringList list;
    return list;
}

void Handler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    // The offscreen platform cannot pass size hints on; this says so, nothing more.
    if (message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    Trapped() << message;
}

} // namespace

TWarningTrap::TWarningTrap()
    : previous_(qInstallMessageHandler(Handler))
{
    Trapped().clear();
}

TWarningTrap::~TWarningTrap() { qInstallMessageHandler(previous_); }

QStringList TWarningTrap::Take()
{
    QStringList taken = Trapped();
    Trapped().clear();
    return taken;
}

TReportRecorder::TReportRecorder()
    : previous_(SetErrorReporter([this](const QString& m) { messages << m; }))
{
}

TReportRecorder::~TReportRecorder() { SetErrorReporter(previous_); }
