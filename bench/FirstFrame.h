// SPDX-License-Identifier: GPL-3.0-or-later
// For the start-up benchmark's child processes: once the first window has painted its
// first frame, print "frame <peak KiB>" on stdout and end the process at once.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>
#endif

namespace first_frame {

// Peak resident memory of this process in KiB, where the system tells it; else -1.
inline long PeakKiB()
{
#if defined(__unix__) || defined(__APPLE__)
    rusage usage {};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
#ifdef __APPLE__
    return usage.ru_maxrss / 1024; // reported in bytes there
#else
    return usage.ru_maxrss; // reported in KiB
#endif
#else
    return -1;
#endif
}

class Watcher : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && widget->isWindow() && !seen_) {
            seen_ = true;
            // Posted behind the paint of the whole window and its flush to the screen.
            QTimer::singleShot(0, [] {
                std::printf("frame %ld\n", PeakKiB());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool seen_ = false;
};

} // namespace first_frame

inline void InstallFirstFrameWatcher() { qApp->installEventFilter(new first_frame::Watcher); }

// Hooks the watcher into any QApplication this process creates, whoever creates it.
#define FIRST_FRAME_WATCHER Q_COREAPP_STARTUP_FUNCTION(InstallFirstFrameWatcher)
