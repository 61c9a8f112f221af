// SPDX-License-Identifier: GPL-3.0-or-later
// What right-clicks on the first page leave behind: sends context requests to the page
// and to its chart, in turn, as right-clicks do (the page's handler draws a line under
// the chart), letting the window paint every 100 of them, and prints the process's
// resident memory and the time of a tab switch (a switch to the second page and back,
// each painted at once) before and after.
// Usage: canvas_bench [clicks]   (default 50,000)
#include "ShownWindow.h"
#include "ui/Unit1.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Median time in ms of a switch to the second page and back, each painted at once.
double TabSwitchMs()
{
    std::vector<double> times;
    for (int i = 0; i < 201; ++i) {
        QElapsedTimer timer;
        timer.start();
        Form1->PageControl1->setCurrentIndex(1);
        Form1->centralWidget()->repaint();
        Form1->PageControl1->setCurrentIndex(0);
        Form1->centralWidget()->repaint();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + 100, times.end());
    return times[100];
}

void RightClick(QWidget* widget, const QPoint& at)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

} // namespace

int main(int argc, char* argv[])
{
    TApplication application(argc, argv);
    if (!ShowMainWindow(application))
        return 1;
    const int clicks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50000;
    Form1->N2->trigger();
    Form1->Button1->click();
    // Warm-up: the first line, fonts, the second page's first paint.
    RightClick(Form1->TabSheet1, QPoint(5, 5));
    TabSwitchMs();
    QTest::qWait(100);
    const long before = ResidentKiB();
    const double switchBefore = TabSwitchMs();

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < clicks; ++i) {
        if (i % 2 == 0)
            RightClick(Form1->TabSheet1, QPoint(5, 5));
        else
            RightClick(Form1->Chart1, QPoint(100, 100));
        if (i % 100 == 99)
            QApplication::processEvents();
    }
    QTest::qWait(100);
    const double clicking = static_cast<double>(timer.elapsed()) / 1000.0;
    const long after = ResidentKiB();
    const double switchAfter = TabSwitchMs();
    std::printf("canvas (%s, %d right-clicks on the first page and its chart, %.1f s)\n",
        qgetenv("QT_QPA_PLATFORM").constData(), clicks, clicking);
    std::printf("  resident: %ld kB before, %ld kB after (%+.3f kB per click)\n", before, after,
        static_cast<double>(after - before) / clicks);
    std::printf(
        "  tab switch and back: %.2f ms before, %.2f ms after\n", switchBefore, switchAfter);
    Form1->Close();
    return 0;
}
