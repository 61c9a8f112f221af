// SPDX-License-Identifier: GPL-3.0-or-later
// Child of the start-up benchmark: the program's start-up cut into phases, timed in one
// process. Prints one line once the window has painted its first frame,
//   phases <ms> <KiB> <ms> <KiB> ... (application, fonts, charts, form, first paint)
// with the time since main() began and the peak resident memory after each phase, and
// ends the process. Linux (peak memory from getrusage in KiB).
#include "toolkit/Application.h"
#include "toolkit/Chart.h"
#include "ui/Unit1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

QElapsedTimer clock_;
std::string line_ = "phases";

void Mark()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, " %.3f %ld",
        static_cast<double>(clock_.nsecsElapsed()) / 1e6, usage.ru_maxrss);
    line_ += buffer;
}

class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && widget->isWindow() && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                Mark();
                std::printf("%s\n", line_.c_str());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool seen_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    clock_.start();
    QCoreApplication::setApplicationName(QStringLiteral("cvplot"));
    QApplication app(argc, argv);
    Mark(); // application

    // The substitutions, then the first Japanese text in each of the form's fonts, by
    // the installed families the form gives its controls: fontconfig is asked, the
    // fonts and their CJK fallbacks are opened.
    InstallFontSubstitutions();
    QFont gothic(InstalledFontFamily(QStringLiteral("ＭＳ Ｐゴシック")));
    gothic.setPixelSize(12);
    QFont mincho(InstalledFontFamily(QStringLiteral("ＭＳ Ｐ明朝")));
    mincho.setPixelSize(19);
    volatile int width = QFontMetrics(gothic).horizontalAdvance(QStringLiteral("計算"))
        + QFontMetrics(mincho).horizontalAdvance(QStringLiteral("ドナー密度　N"));
    (void)width;
    Mark(); // fonts

    // The first chart made, with the stored label font (whatever the chart sets up once
    // per process), and dropped again.
    {
        TChart chart;
        chart.setLabelFontName(QStringLiteral("ＭＳ Ｐ明朝"));
        chart.setTitle(QStringLiteral("C-V特性"));
    }
    Mark(); // charts

    auto form = std::make_unique<TForm1>();
    Form1 = form.get();
    form->DoCreate();
    Mark(); // form (its own two charts included)

    app.installEventFilter(new FirstPaint);
    form->show();
    return QApplication::exec();
}
