// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the real window, performs "例入力" and "計算" through real input events, points
// at a value of the first chart, and saves both tab pages side by side to the file named
// on the command line.
#include "ui/Unit1.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

QImage GrabWindow(QWidget* window)
{
    QTest::qWait(300);
    return window->screen()->grabWindow(window->winId()).toImage();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshot OUTPUT.png\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    TApplication application(argc, argv);
    application.Initialize();
    application.CreateForm(Form1);
    int status = 1;
    QTimer::singleShot(0, [&] {
        QWidget* window = Form1;
        if (!QTest::qWaitForWindowExposed(window)) {
            QApplication::exit();
            return;
        }
        Form1->N2->trigger();
        QTest::mouseClick(Form1->Button1, Qt::LeftButton);
        QTest::qWait(100);
        const TFastLineSeries* series = Form1->Chart1->GetSeries(0);
        if (series->Count() > 40)
            QTest::mouseMove(Form1->Chart1,
                Form1->Chart1->Map().ToPixel(series->XValue(40), series->YValue(40)).toPoint());
        const QImage first = GrabWindow(window);
        QTest::mouseClick(Form1->PageControl1->tabBar(), Qt::LeftButton, {},
            Form1->PageControl1->tabBar()->tabRect(1).center());
        const QImage second = GrabWindow(window);

        QImage both(first.width() * 2 + 10, first.height(), QImage::Format_RGB32);
        both.fill(Qt::darkGray);
        QPainter painter(&both);
        painter.drawImage(0, 0, first);
        painter.drawImage(first.width() + 10, 0, second);
        painter.end();
        status = both.save(output) ? 0 : 1;
        Form1->Close();
    });
    application.Run();
    return status;
}
