// SPDX-License-Identifier: GPL-3.0-or-later
// One "計算" on the shown window, from the click to the next painted frame of the
// window, repeated; prints the median and the spread for the example inputs (44 points)
// and for the longest sweep (diffusion potential 4: all 80 points).
#include "ShownWindow.h"
#include "ui/Unit1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Ends `loop` once the window has painted (and flushed) its next frame.
class FramePainted : public QObject {
public:
    explicit FramePainted(QEventLoop& loop)
        : loop_(loop)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !armed_) {
            armed_ = true;
            QTimer::singleShot(0, &loop_, &QEventLoop::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& loop_;
    bool armed_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    TApplication application(argc, argv);
    if (!ShowMainWindow(application))
        return 1;
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 40;
    struct Case {
        const char* name;
        const char* vd;
        double target;
    };
    for (const Case& c : { Case { "example inputs, 44 points", "0.4", 16.0 },
             Case { "Vd = 4, 80 points", "4", 3.0 } }) {
        Form1->N2->trigger();
        Form1->Edit3->setText(QString::fromLatin1(c.vd));
        QTest::qWait(100);
        std::vector<double> ms;
        for (int i = 0; i < runs + 3; ++i) {
            QEventLoop loop;
            FramePainted painted(loop);
            QElapsedTimer timer;
            timer.start();
            QTest::mouseClick(Form1->Button1, Qt::LeftButton);
            qApp->installEventFilter(&painted);
            loop.exec();
            qApp->removeEventFilter(&painted);
            if (i >= 3) // the first runs warm up caches and glyphs
                ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            QTest::qWait(20);
        }
        std::sort(ms.begin(), ms.end());
        std::printf("計算 to next frame (%s, %s, %d runs): median %.2f ms, min %.2f ms, "
                    "max %.2f ms (target <= %g ms median)\n",
            qgetenv("QT_QPA_PLATFORM").constData(), c.name, runs, ms[ms.size() / 2], ms.front(),
            ms.back(), c.target);
    }
    Form1->Close();
    return 0;
}
