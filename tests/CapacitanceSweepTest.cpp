// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/CapacitanceSweep.h"
#include "GoldenSweep.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <vector>

// The table's rows are test parameters: print their names, not their addresses.
void PrintTo(const TGoldenRow* row, std::ostream* os);
void PrintTo(const TGoldenRow* row, std::ostream* os) { *os << row->name; }

namespace {

std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }

struct TSweepRun {
    std::vector<TCVPoint> points;
    std::optional<TSweepFault> fault;
    double faultV = 0.0;
    std::string message;
};

TSweepRun Sweep(const TJunctionInput& input)
{
    TSweepRun run;
    try {
        SweepCV(input, [&](const TCVPoint& p) { run.points.push_back(p); });
    } catch (const SweepError& e) {
        run.fault = e.Fault();
        run.faultV = e.V();
        run.message = e.what();
    }
    return run;
}

TJunctionInput WithVd(double vd) { return { 1e-16, 10.0, vd, 10.0 }; }

TEST(CapacitanceSweep, ConstantsHaveTheirExactBitPatterns)
{
    EXPECT_EQ(Bits(ElementaryCharge), 0x3C079CA10C924223u);
    EXPECT_EQ(Bits(VacuumPermittivity), 0x3DA378EBFD8B9F15u);
    EXPECT_EQ(Bits(SweepStart), 0xC010000000000000u);
    EXPECT_EQ(Bits(SweepStep), 0x3FB999999999999Au);
    EXPECT_EQ(SweepLimit, 4.0);
}

// How many points a diffusion potential allows, and the exact bias of the last one.
struct TLadderCase {
    double vd;
    std::size_t count;
    double lastV; // ignored when count == 0
};

void PrintTo(const TLadderCase& c, std::ostream* os) { *os << "Vd=" << c.vd; }

class SweepLadder : public testing::TestWithParam<TLadderCase> { };

TEST_P(SweepLadder, StopsBelowVdAndAtTheLimit)
{
    const auto& c = GetParam();
    const TSweepRun run = Sweep(WithVd(c.vd));
    ASSERT_FALSE(run.fault);
    ASSERT_EQ(run.points.size(), c.count);
    if (c.count > 0) {
        EXPECT_EQ(Bits(run.points.front().V), Bits(-4.0));
        EXPECT_EQ(Bits(run.points.back().V), Bits(c.lastV));
    }
    // Each bias is the previous one plus the step, rounded: an accumulated sum.
    for (std::size_t k = 1; k < run.points.size(); ++k)
        EXPECT_EQ(Bits(run.points[k].V), Bits(run.points[k - 1].V + SweepStep)) << "k=" << k;
    for (const auto& p : run.points)
        EXPECT_LT(p.V, c.vd);
}

INSTANTIATE_TEST_SUITE_P(VdTable, SweepLadder,
    testing::Values(TLadderCase { -5.0, 0, 0.0 }, TLadderCase { -4.0, 0, 0.0 },
        TLadderCase { -3.9, 1, -4.0 }, TLadderCase { 0.0, 40, -0.09999999999999759 },
        TLadderCase { 0.4, 44, 0.30000000000000243 }, TLadderCase { 3.9, 79, 3.8000000000000047 },
        TLadderCase { 3.95, 80, 3.900000000000005 }, TLadderCase { 4.0, 80, 3.900000000000005 },
        TLadderCase { 5.0, 80, 3.900000000000005 }, TLadderCase { 100.0, 80, 3.900000000000005 }));

TEST(CapacitanceSweep, ExampleInputsGiveTheKnownPointsBitForBit)
{
    const TSweepRun run = Sweep({ 1e-16, 10.0, 0.4, 10.0 });
    ASSERT_FALSE(run.fault);
    ASSERT_EQ(run.points.size(), 44u);

    struct Expected {
        std::size_t k;
        std::uint64_t v, c, invC2;
    };
    const Expected table[] = {
        { 0, 0xC010000000000000, 0x3B632CA7DAB43084, 0x490648116DF9CCF1 },
        { 40, 0x3CE5C00000000000, 0x3B7FCC15A5ADBE5E, 0x48D03469C45894F0 },
        { 43, 0x3FD333333333335F, 0x3B8FCC15A5ADBEAF, 0x48B03469C458949E },
    };
    for (const auto& e : table) {
        EXPECT_EQ(Bits(run.points[e.k].V), e.v) << "k=" << e.k;
        EXPECT_EQ(Bits(run.points[e.k].C), e.c) << "k=" << e.k;
        EXPECT_EQ(Bits(run.points[e.k].InvC2), e.invC2) << "k=" << e.k;
    }
    // The same values written as decimals, as a reader would check them.
    EXPECT_EQ(run.points[0].C, 1.268857754044952e-22);
    EXPECT_EQ(run.points[40].V, 2.4147350785597155e-15);
    EXPECT_EQ(run.points[43].InvC2, 1.411631846414421e+42);

    for (std::size_t k = 1; k < run.points.size(); ++k) {
        EXPECT_GT(run.points[k].C, run.points[k - 1].C);
        EXPECT_LT(run.points[k].InvC2, run.points[k - 1].InvC2);
    }
}

// Every point of an input, bit for bit, against the golden table, and the fault that
// ends the sweep there, at the same bias.
void ExpectGoldenPoints(const TGoldenRow& row)
{
    SCOPED_TRACE(row.name);
    const TSweepRun run = Sweep(row.input);
    ASSERT_EQ(run.points.size(), row.points.size());
    for (std::size_t k = 0; k < run.points.size(); ++k) {
        EXPECT_EQ(Bits(run.points[k].V), Bits(row.points[k].V)) << "k=" << k;
        EXPECT_EQ(Bits(run.points[k].C), Bits(row.points[k].C)) << "k=" << k;
        EXPECT_EQ(Bits(run.points[k].InvC2), Bits(row.points[k].InvC2)) << "k=" << k;
    }
    EXPECT_EQ(run.fault, row.fault);
    if (row.fault) {
        EXPECT_EQ(Bits(run.faultV), Bits(row.faultV));
    }
}

std::vector<const TGoldenRow*> NamedGoldenRows()
{
    std::vector<const TGoldenRow*> named;
    try {
        for (const TGoldenRow& row : GoldenSweep())
            if (!row.IsRandom())
                named.push_back(&row);
    } catch (const std::exception&) {
        // GoldenTableIsReadable reports why.
    }
    return named;
}

TEST(CapacitanceSweep, GoldenTableIsReadable)
{
    EXPECT_NO_THROW(GoldenSweep());
    EXPECT_NO_THROW(GoldenRow("example"));
}

class SweepGolden : public testing::TestWithParam<const TGoldenRow*> { };

TEST_P(SweepGolden, EveryPointMatchesTheTable) { ExpectGoldenPoints(*GetParam()); }

INSTANTIATE_TEST_SUITE_P(Named, SweepGolden, testing::ValuesIn(NamedGoldenRows()),
    [](const auto& row) { return row.param->name; });

TEST(CapacitanceSweep, EveryPointOfRandomInputsMatchesTheTable)
{
    std::size_t rows = 0;
    for (const TGoldenRow& row : GoldenSweep()) {
        if (!row.IsRandom())
            continue;
        ++rows;
        ExpectGoldenPoints(row);
        if (HasFailure())
            break; // one input's differences say enough
    }
    EXPECT_GE(rows, 100u);
}

TEST(CapacitanceSweep, EveryCallStartsAfreshFromTheFirstBias)
{
    const TSweepRun first = Sweep(WithVd(0.4));
    const TSweepRun second = Sweep(WithVd(0.4));
    ASSERT_EQ(first.points.size(), second.points.size());
    for (std::size_t k = 0; k < first.points.size(); ++k) {
        EXPECT_EQ(Bits(first.points[k].V), Bits(second.points[k].V));
        EXPECT_EQ(Bits(first.points[k].C), Bits(second.points[k].C));
    }
}

// Inputs whose points cannot all be shown: the sweep reports the first bad point and
// stops there, after delivering every point before it.
struct TFaultCase {
    const char* name;
    TJunctionInput input;
    TSweepFault fault;
    std::size_t deliveredBefore;
    const char* message; // what() in full
};

void PrintTo(const TFaultCase& c, std::ostream* os) { *os << c.name; }

class SweepFaults : public testing::TestWithParam<TFaultCase> { };

TEST_P(SweepFaults, ReportsTheFirstBadPointAndStops)
{
    const auto& c = GetParam();
    const TSweepRun run = Sweep(c.input);
    ASSERT_TRUE(run.fault.has_value());
    EXPECT_EQ(*run.fault, c.fault);
    ASSERT_EQ(run.points.size(), c.deliveredBefore);

    // The fault lies at the ladder point right after the last delivered one.
    double expectedV = SweepStart;
    for (std::size_t k = 0; k < c.deliveredBefore; ++k)
        expectedV += SweepStep;
    EXPECT_EQ(Bits(run.faultV), Bits(expectedV));
    EXPECT_EQ(run.message, c.message);

    for (const auto& p : run.points) {
        EXPECT_TRUE(std::isfinite(p.C) && p.C != 0.0);
        EXPECT_TRUE(std::isfinite(p.InvC2) && p.InvC2 != 0.0);
    }
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The messages, for a fault at the first bias.
constexpr const char* kNegativeProductAtStart
    = "Nd × εs が負のため、容量が実数になりません（V = -4）。";
constexpr const char* kNoRealValueAtStart
    = "V = -4 で容量が実数になりません（平方根の中が数ではありません）。";
constexpr const char* kZeroAtStart = "V = -4 で容量が 0 になり、1/C² を計算できません。";
constexpr const char* kOutOfRangeAtStart = "V = -4 で値が倍精度浮動小数点数の範囲を超えました。";
constexpr const char* kIntermediateAtStart
    = "V = -4 で計算の途中の値が倍精度浮動小数点数の範囲を超えました（結果は範囲内です）。";
constexpr const char* kPrecisionLostAtStart
    = "V = -4 で倍精度浮動小数点数の精度が失われました（途中の値が非正規化数です）。";

INSTANTIATE_TEST_SUITE_P(Table, SweepFaults,
    testing::Values(TFaultCase { "NegativeDensity", { -1.0, 10.0, 0.4, 10.0 },
                        TSweepFault::NegativeProduct, 0, kNegativeProductAtStart },
        TFaultCase { "NegativePermittivity", { 1e-16, -10.0, 0.4, 10.0 },
            TSweepFault::NegativeProduct, 0, kNegativeProductAtStart },
        // A negative product beyond the double range is negative all the same.
        TFaultCase { "NegativeProductOverflowing", { -1e300, 1e10, 0.4, 10.0 },
            TSweepFault::NegativeProduct, 0, kNegativeProductAtStart },
        TFaultCase { "DiffusionPotentialNotANumber", { 1e-16, 10.0, kNaN, 10.0 },
            TSweepFault::NoRealValue, 0, kNoRealValueAtStart },
        TFaultCase { "ZeroDensity", { 0.0, 10.0, 0.4, 10.0 }, TSweepFault::ZeroCapacitance, 0,
            kZeroAtStart },
        TFaultCase { "NegativeZeroDensity", { -0.0, 10.0, 0.4, 10.0 }, TSweepFault::ZeroCapacitance,
            0, kZeroAtStart },
        TFaultCase {
            "ZeroArea", { 1e-16, 10.0, 0.4, 0.0 }, TSweepFault::ZeroCapacitance, 0, kZeroAtStart },
        TFaultCase { "ProductUnderflows", { 1e-300, 1e-30, 0.4, 10.0 },
            TSweepFault::ZeroCapacitance, 0, kZeroAtStart },
        // C is about 1e-160: finite, but C*C underflows and 1/C² is infinite.
        TFaultCase { "InverseSquareOverflows", { 1e-16, 10.0, 0.4, 1e-137 },
            TSweepFault::OutOfRange, 0, kOutOfRangeAtStart },
        TFaultCase { "InfiniteArea", { 1e-16, 10.0, 0.4, kInf }, TSweepFault::OutOfRange, 0,
            kOutOfRangeAtStart },
        // The exact C and 1/C² lie beyond the range too: the values themselves do.
        TFaultCase { "HugeDensityAndArea", { 1e308, 1e10, 0.4, 1e300 }, TSweepFault::OutOfRange, 0,
            kOutOfRangeAtStart },
        // Nd × EpsS overflows, though C = 4e140 and 1/C² = 6.2e-282 are ordinary doubles.
        TFaultCase { "ProductOverflowsOnTheWay", { 1e300, 1e10, 0.4, 10.0 },
            TSweepFault::IntermediateOutOfRange, 0, kIntermediateAtStart },
        TFaultCase { "HugeDensity", { 1e308, 1e10, 0.4, 10.0 }, TSweepFault::IntermediateOutOfRange,
            0, kIntermediateAtStart },
        // C grows along the sweep: C² first exceeds the double range at k = 44, the
        // last bias below Vd; the point before still has a normal 1/C².
        TFaultCase { "OverflowAfterGoodPoints", { 1.0, 1.0, 0.401, 1.2e168 },
            TSweepFault::OutOfRange, 44,
            "V = 0.40000000000000246 で値が倍精度浮動小数点数の範囲を超えました。" },
        // num = ((Nd × EpsS) × q) × ε0 is a subnormal of a few bits: C would be 7.8 % off.
        TFaultCase { "SubnormalProduct", { 3e-295, 10.0, -3.95, 1e10 }, TSweepFault::PrecisionLost,
            0, kPrecisionLostAtStart },
        // num is subnormal, ratio is not: the bias lies a hair below Vd.
        TFaultCase { "SubnormalProductOverTinyDenominator",
            { 1e-290, 0.1, -3.9999999999999996, 1.0 }, TSweepFault::PrecisionLost, 0,
            kPrecisionLostAtStart },
        // num is a normal double, ratio = num / 8.8 is not.
        TFaultCase { "SubnormalRatio", { 7.85e-279, 10.0, 0.4, 1e10 }, TSweepFault::PrecisionLost,
            0, kPrecisionLostAtStart },
        TFaultCase { "SubnormalDensity", { 1e-310, 1e20, 0.4, 1e10 }, TSweepFault::PrecisionLost, 0,
            kPrecisionLostAtStart },
        // C is about 1e-154: C² is subnormal, 1/C² (1e308) a normal double with too few
        // true digits.
        TFaultCase { "SubnormalSquare", { 1e-16, 10.0, 0.4, 7.88e-132 }, TSweepFault::PrecisionLost,
            0, kPrecisionLostAtStart },
        // C grows along the sweep: 1/C² first falls below the normal doubles at k = 25,
        // well before C² overflows.
        TFaultCase { "InverseSquareSubnormalAfterGoodPoints", { 1.0, 1.0, 0.0, 1e169 },
            TSweepFault::PrecisionLost, 25,
            "V = -1.4999999999999978 "
            "で倍精度浮動小数点数の精度が失われました（途中の値が非正規化数です）。" }),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CapacitanceSweep, FaultMessageIsJapaneseAndNamesTheBias)
{
    try {
        SweepCV(TJunctionInput { 1e-16, 10.0, std::numeric_limits<double>::quiet_NaN(), 10.0 },
            [](const TCVPoint&) {});
        FAIL() << "no SweepError";
    } catch (const SweepError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("V = -4"), std::string::npos) << what;
        EXPECT_NE(what.find("実数"), std::string::npos) << what;
    }
}

TEST(CapacitanceSweep, ConsumerExceptionEndsTheSweep)
{
    int calls = 0;
    EXPECT_THROW(SweepCV(WithVd(0.4),
                     [&](const TCVPoint&) {
                         if (++calls == 3)
                             throw std::logic_error("stop");
                     }),
        std::logic_error);
    EXPECT_EQ(calls, 3);
}

} // namespace
