// Cost of one full 80-point sweep delivered to a consumer that keeps the points.
#include "calc/CapacitanceSweep.h"

#include <benchmark/benchmark.h>

#include <vector>

static void BM_FullSweep(benchmark::State& state)
{
    const TJunctionInput input { 1e-16, 10.0, 100.0, 10.0 }; // Vd above the ladder: 80 points
    std::vector<TCVPoint> points;
    points.reserve(80);
    for (auto _ : state) {
        points.clear();
        SweepCV(input, [&](const TCVPoint& p) { points.push_back(p); });
        benchmark::DoNotOptimize(points.data());
        benchmark::ClobberMemory();
    }
    state.counters["points"] = static_cast<double>(points.size());
}
BENCHMARK(BM_FullSweep);
