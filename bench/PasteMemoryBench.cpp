// SPDX-License-Identifier: GPL-3.0-or-later
// The resident memory long pastes leave behind: pastes one text over the whole of the
// first field again and again (select all, Ctrl+V, as a user does), with the window
// shown and painting, and prints the process's resident memory at start-up, once the
// text is on the clipboard, and after the pastes.
// Usage: paste_memory_bench [pastes] [megabytes] [unbounded]
//   defaults: 100 pastes of 8 MB;
//   unbounded: the field takes any length, as it did before it kept a bound (for the
//   figures to compare with; a few pastes are enough there).
#include "ShownWindow.h"
#include "ui/Unit1.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

} // namespace

int main(int argc, char* argv[])
{
    TApplication application(argc, argv);
    application.Initialize();
    application.CreateForm(Form1);
    int reports = 0;
    SetErrorReporter([&](const QString&) { ++reports; });
    Form1->show();
    if (!QTest::qWaitForWindowExposed(Form1))
        return 1;
    const int pastes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const int megabytes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 8;
    const bool unbounded = argc > 3 && QByteArray(argv[3]) == "unbounded";
    QLineEdit* field = Form1->Edit1;
    if (unbounded) {
        field->setValidator(nullptr);
        field->setMaxLength(INT_MAX);
    }
    Form1->N2->trigger();
    QTest::qWait(200);
    const long startup = ResidentKiB();

    // Digits: every cut of them would read as a number.
    QGuiApplication::clipboard()->setText(QString(megabytes * 1024 * 1024, QLatin1Char('1')));
    QTest::qWait(50);
    const long withClipboard = ResidentKiB();

    for (int i = 0; i < pastes; ++i) {
        field->setFocus();
        field->selectAll();
        QTest::keySequence(field, QKeySequence::Paste);
        QTest::qWait(10); // the field repaints, the refusal is reported
    }
    QTest::qWait(200);
    const long after = ResidentKiB();
    std::printf("paste memory (%s, %s field, %d pastes of %d MB; field holds %lld characters, "
                "%d reports)\n",
        qgetenv("QT_QPA_PLATFORM").constData(), unbounded ? "unbounded" : "bounded", pastes,
        megabytes, static_cast<long long>(field->text().size()), reports);
    std::printf("  resident at start-up: %ld kB; with the text on the clipboard: %ld kB; "
                "after the pastes: %ld kB (%+ld kB over start-up, %+ld kB over the clipboard's)\n",
        startup, withClipboard, after, after - startup, after - withClipboard);
    Form1->Close();
    return 0;
}
