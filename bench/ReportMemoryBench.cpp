// SPDX-License-Identifier: GPL-3.0-or-later
// The heap an error report keeps: drives rejected calculations through the shown window
// with the real report (the message box, closed as soon as it is up, as a user pressing
// OK would) and prints how much the live heap grew per calculation once start-up and the
// first reports have settled.
// Usage: report_memory_bench [runs] [typed|typed-valid]
//   default: each rejected text is set into the field, which isolates the report;
//   typed: the text is typed into the field key by key, as a user does;
//   typed-valid: the same typing of a valid number, which shows no report.
// Run the typed modes in processes of their own: the field's editing history grows by
// doubling, so one run's growth would hide the next one's.
#include "ShownWindow.h"
#include "ui/Unit1.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Bytes of heap in use, or -1 where the C library cannot tell.
long long LiveHeap()
{
#if defined(__GLIBC__) && __GLIBC_PREREQ(2, 33)
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long long>(info.uordblks) + static_cast<long long>(info.hblkhd);
#else
    return -1;
#endif
}

int reportsShown = 0;

// Closes the report once it is up.
void CloseReportSoon()
{
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            ++reportsShown;
            box->close();
        } else {
            CloseReportSoon();
        }
    });
}

enum class TEntry { Set, Typed };

// One 計算 with `text` in the first field; a rejected text ends it with a report.
void Calculation(const QString& text, TEntry entry, bool rejected)
{
    QLineEdit* field = Form1->Edit1;
    if (entry == TEntry::Typed) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    } else {
        field->setText(text);
    }
    if (rejected)
        CloseReportSoon();
    QTest::mouseClick(Form1->Button1, Qt::LeftButton);
    QTest::qWait(0); // what the click posted runs, as it would before the next input
}

using TText = QString (*)(int);

// Heap growth in bytes over `runs` calculations after a warm-up.
long long Growth(TText text, TEntry entry, bool rejected, int runs)
{
    Form1->Edit1->setText(QString()); // starts each run with an empty editing history
    for (int i = 0; i < 50; ++i) // warm-up: fonts, glyphs, styles
        Calculation(text(i), entry, rejected);
    QTest::qWait(50);
    reportsShown = 0;
    const long long before = LiveHeap();
    for (int i = 0; i < runs; ++i)
        Calculation(text(i + 50), entry, rejected);
    QTest::qWait(50);
    return LiveHeap() - before;
}

} // namespace

int main(int argc, char* argv[])
{
    TApplication application(argc, argv);
    if (!ShowMainWindow(application))
        return 1;
    Form1->N2->trigger();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const QByteArray mode = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    if (LiveHeap() < 0) {
        std::printf("report memory: this C library does not report its heap; nothing measured\n");
        return 0;
    }
    const auto perRun = [&](long long bytes) { return static_cast<double>(bytes) / 1000.0 / runs; };
    const QByteArray platformName = qgetenv("QT_QPA_PLATFORM");
    const char* platform = platformName.constData();

    if (mode == "typed" || mode == "typed-valid") {
        // 33 characters each, like the markup of a hostile paste.
        const bool valid = mode == "typed-valid";
        const long long growth = valid
            ? Growth(
                [](int i) {
                    return QStringLiteral("1.0000000000000000000000000%1")
                        .arg(i, 6, 10, QLatin1Char('0'));
                },
                TEntry::Typed, false, runs)
            : Growth(
                [](int i) {
                    return QStringLiteral("<img src=x width=3000 height=%1>")
                        .arg(i, 4, 10, QLatin1Char('0'));
                },
                TEntry::Typed, true, runs);
        std::printf("report memory (%s, %s, %d runs of 33 typed characters): %+.3f kB per run\n",
            platform, mode.constData(), runs, perRun(growth));
        Form1->Close();
        return valid || reportsShown == runs ? 0 : 1;
    }

    const struct {
        const char* name;
        TText text;
    } kinds[] = {
        { "same text", [](int) { return QStringLiteral("abc"); } },
        { "new text", [](int i) { return QStringLiteral("x%1").arg(i); } },
        { "markup",
            [](int i) { return QStringLiteral("<img src=x width=3000 height=%1>").arg(i); } },
        { "large font",
            [](int i) {
                return QStringLiteral("<p style=\"font-size:%1px\">1").arg(100 + i % 300);
            } },
        { "invisible characters",
            [](int i) { return QStringLiteral("1\u200b\u00a0%1\n").arg(i); } },
    };
    bool allShown = true;
    for (const auto& kind : kinds) {
        const long long growth = Growth(kind.text, TEntry::Set, true, runs);
        allShown = allShown && reportsShown == runs;
        std::printf("report memory (%s, %s, %d reports): %+.3f kB per report\n", platform,
            kind.name, runs, perRun(growth));
    }
    Form1->Close();
    return allShown ? 0 : 1;
}
