// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one full 80-point sweep delivered to a consumer that keeps the points, against
// a bare loop doing the same arithmetic in the same run (no checks, no consumer call).
#include "calc/CapacitanceSweep.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

const TJunctionInput kInput { 1e-16, 10.0, 100.0, 10.0 }; // Vd above the ladder: 80 points

// Times `sweep(input, points)` with the same input handling and point storage for both.
template <typename Sweep> void Measure(benchmark::State& state, Sweep sweep)
{
    std::vector<TCVPoint> points;
    points.reserve(80);
    for (auto _ : state) {
        points.clear();
        TJunctionInput in = kInput;
        benchmark::DoNotOptimize(in);
        sweep(in, points);
        benchmark::DoNotOptimize(points.data());
        benchmark::ClobberMemory();
    }
    state.counters["points"] = static_cast<double>(points.size());
}

void BM_FullSweep(benchmark::State& state)
{
    Measure(state, [](const TJunctionInput& in, std::vector<TCVPoint>& points) {
        SweepCV(in, [&](const TCVPoint& p) { points.push_back(p); });
    });
}
BENCHMARK(BM_FullSweep);

void BM_BareLoop(benchmark::State& state)
{
    Measure(state, [](const TJunctionInput& in, std::vector<TCVPoint>& points) {
        const double num = ((in.Nd * in.EpsS) * ElementaryCharge) * VacuumPermittivity;
        for (double v = SweepStart; v <= SweepLimit && v < in.Vd; v += SweepStep) {
            const double c = std::sqrt(num / ((in.Vd - v) * 2.0)) * in.S;
            points.push_back({ v, c, 1.0 / (c * c) });
        }
    });
}
BENCHMARK(BM_BareLoop);

// Prints the usual table, then the sweep's time as a ratio of the bare loop's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter()
        : ConsoleReporter(OO_Tabular)
    {
    }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                ns_[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double sweep = ns_["BM_FullSweep"];
        const double bare = ns_["BM_BareLoop"];
        if (sweep > 0 && bare > 0)
            std::printf("sweep: %.0f ns per 80-point sweep, bare loop %.0f ns, ratio %.2f "
                        "(target <= 1.5)\n",
                sweep, bare, sweep / bare);
    }

private:
    std::map<std::string, double> ns_;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
