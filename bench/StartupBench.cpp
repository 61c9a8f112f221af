// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up benchmark: time from process start to the first painted frame, and peak
// memory then, for the program against two floors measured the same way in the same
// run, round by round:
//   floor A  an empty QMainWindow of the window's size (Qt Widgets alone);
//   floor B  the program's own window and start-up path with empty plain widgets in the
//            charts' places (same stored form, controls, captions, fonts, substitutions).
// Each round starts every child once, in an order rotated from round to round; the
// figures are medians of the per-round ratios, so that drift of a shared machine
// between rounds cancels. A fourth child times the program's start-up phases. Runs
// under the current Qt platform; `make bench` gives it an Xvfb server of its own.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The child's answer: its own clock (wall time from spawning to the answer line) and
// the numbers on that line after its first word.
struct Sample {
    double ms = 0;
    std::vector<double> numbers;
};

bool RunOnce(const QString& program, const char* expected, Sample& sample)
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
    const QList<QByteArray> words = out.left(out.indexOf('\n')).trimmed().split(' ');
    sample.numbers.clear();
    for (qsizetype i = 1; i < words.size(); ++i)
        sample.numbers.push_back(words[i].toDouble());
    return words.value(0) == expected && !sample.numbers.empty();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Child {
    const char* name;
    QString path;
    const char* expected;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QDir dir(QCoreApplication::applicationDirPath());
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    enum { Program, FloorB, FloorA, Phases, ChildCount };
    const std::array<Child, ChildCount> children { {
        { "program", dir.filePath("startup_form"), "frame" },
        { "floor B", dir.filePath("startup_floor"), "frame" },
        { "floor A", dir.filePath("startup_empty"), "frame" },
        { "phases", dir.filePath("startup_phases"), "phases" },
    } };

    // One warm-up each, so that all find their libraries and fonts in the page cache.
    std::array<Sample, ChildCount> s;
    for (int c = 0; c < ChildCount; ++c)
        if (!RunOnce(children[c].path, children[c].expected, s[c])) {
            std::fprintf(
                stderr, "startup_bench: %s did not show its first frame\n", children[c].name);
            return 1;
        }

    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    std::printf("start-up to first frame (%s), %d rounds, order rotated each round\n",
        platform.isEmpty() ? "default platform" : platform.constData(), rounds);
    std::printf("round |  program  floor B  floor A (ms) | prog/B prog/A  B/A "
                "|  program  floor B  floor A (KiB) | prog/B prog/A  B/A\n");
    std::vector<double> ms[3], kib[3], timeRatio[3], memRatio[3];
    constexpr int kPhases = 5;
    std::vector<double> phaseMs[kPhases + 1], phaseKiB[kPhases];
    for (int r = 0; r < rounds; ++r) {
        for (int i = 0; i < ChildCount; ++i) {
            const int c = (r + i) % ChildCount;
            if (!RunOnce(children[c].path, children[c].expected, s[c])) {
                std::fprintf(
                    stderr, "startup_bench: %s failed in round %d\n", children[c].name, r + 1);
                return 1;
            }
        }
        for (int c = 0; c < 3; ++c) {
            ms[c].push_back(s[c].ms);
            kib[c].push_back(s[c].numbers[0]);
        }
        const double t[3] = { s[Program].ms / s[FloorB].ms, s[Program].ms / s[FloorA].ms,
            s[FloorB].ms / s[FloorA].ms };
        const double m[3] = { s[Program].numbers[0] / s[FloorB].numbers[0],
            s[Program].numbers[0] / s[FloorA].numbers[0],
            s[FloorB].numbers[0] / s[FloorA].numbers[0] };
        for (int k = 0; k < 3; ++k) {
            timeRatio[k].push_back(t[k]);
            memRatio[k].push_back(m[k]);
        }
        std::printf("%5d | %8.1f %8.1f %8.1f      | %6.3f %6.3f %5.3f | %8.0f %8.0f %8.0f       "
                    "| %6.3f %6.3f %5.3f\n",
            r + 1, s[Program].ms, s[FloorB].ms, s[FloorA].ms, t[0], t[1], t[2],
            s[Program].numbers[0], s[FloorB].numbers[0], s[FloorA].numbers[0], m[0], m[1], m[2]);

        // Phases: cumulative time and peak after each, then the whole process's time.
        const std::vector<double>& p = s[Phases].numbers;
        if (p.size() == 2 * kPhases) {
            double previous = 0;
            for (int k = 0; k < kPhases; ++k) {
                phaseMs[k].push_back(p[2 * k] - previous);
                previous = p[2 * k];
                phaseKiB[k].push_back(p[2 * k + 1]);
            }
            phaseMs[kPhases].push_back(s[Phases].ms - previous);
        }
    }
    std::printf("median| %8.1f %8.1f %8.1f      | %6.3f %6.3f %5.3f | %8.0f %8.0f %8.0f       "
                "| %6.3f %6.3f %5.3f\n",
        Median(ms[0]), Median(ms[1]), Median(ms[2]), Median(timeRatio[0]), Median(timeRatio[1]),
        Median(timeRatio[2]), Median(kib[0]), Median(kib[1]), Median(kib[2]), Median(memRatio[0]),
        Median(memRatio[1]), Median(memRatio[2]));
    const double tb = Median(timeRatio[0]), mb = Median(memRatio[0]);
    const double ta = Median(timeRatio[1]), ma = Median(memRatio[1]);
    std::printf("program / floor B: start-up %.3f (target <= 1.05: %s), peak memory %.3f "
                "(target <= 1.03: %s); program / floor A: start-up %.3f (target <= 1.6: %s), "
                "peak memory %.3f (target <= 1.45: %s)\n",
        tb, tb <= 1.05 ? "met" : "not met", mb, mb <= 1.03 ? "met" : "not met", ta,
        ta <= 1.6 ? "met" : "not met", ma, ma <= 1.45 ? "met" : "not met");

    if (!phaseMs[0].empty()) {
        static const char* const names[kPhases] = { "application (QApplication created)",
            "fonts (substitutions, first Japanese text in both form fonts)",
            "charts (first chart made and dropped)", "form (stored form, its two charts)",
            "first paint (shown, painted, flushed)" };
        std::printf("phases of the program's start-up, median of %zu (ms, peak KiB after):\n",
            phaseMs[0].size());
        std::printf("  %-62s %6.1f\n", "before main (spawn, exec, dynamic linking; by difference)",
            Median(phaseMs[kPhases]));
        for (int k = 0; k < kPhases; ++k)
            std::printf("  %-62s %6.1f %8.0f\n", names[k], Median(phaseMs[k]), Median(phaseKiB[k]));
    }
    return 0;
}
