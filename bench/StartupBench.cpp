// Start-up benchmark: time from process start to the first painted frame, and peak
// memory then, for the program's window against an empty QMainWindow measured the same
// way in the same run. Runs both children alternately under the current Qt platform.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Sample {
    double ms;
    long peakKiB;
};

bool RunOnce(const QString& program, Sample& sample)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(program, {});
    if (!child.waitForStarted(10000))
        return false;
    QByteArray out;
    while (!out.contains('\n')) {
        if (!child.waitForReadyRead(20000))
            return false;
        out += child.readAllStandardOutput();
    }
    sample.ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    child.waitForFinished(10000);
    const QList<QByteArray> words = out.trimmed().split(' ');
    sample.peakKiB = words.size() == 2 ? words[1].toLong() : -1;
    return words.value(0) == "frame";
}

template <typename T> T Median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString dir = QCoreApplication::applicationDirPath();
    const QString form = QDir(dir).filePath("startup_form");
    const QString empty = QDir(dir).filePath("startup_empty");
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;

    std::vector<double> formMs, emptyMs;
    std::vector<long> formKiB, emptyKiB;
    Sample s {};
    // One warm-up each, so that both find the libraries in the page cache.
    if (!RunOnce(empty, s) || !RunOnce(form, s)) {
        std::fprintf(stderr, "startup_bench: a child did not show its first frame\n");
        return 1;
    }
    for (int i = 0; i < runs; ++i) {
        if (!RunOnce(empty, s))
            return 1;
        emptyMs.push_back(s.ms);
        emptyKiB.push_back(s.peakKiB);
        if (!RunOnce(form, s))
            return 1;
        formMs.push_back(s.ms);
        formKiB.push_back(s.peakKiB);
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const double fm = Median(formMs), em = Median(emptyMs);
    const long fk = Median(formKiB), ek = Median(emptyKiB);
    std::printf("start-up (%s, median of %d): window %.1f ms, empty QMainWindow %.1f ms, "
                "ratio %.2f (target <= 1.5 under xcb)\n",
        platform.isEmpty() ? "default platform" : platform.constData(), runs, fm, em, fm / em);
    std::printf("peak memory at first frame: window %ld KiB, empty QMainWindow %ld KiB, "
                "ratio %.2f (target <= 1.4)\n",
        fk, ek, ek > 0 ? double(fk) / double(ek) : 0.0);
    return 0;
}
