// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/AxisScale.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

struct TScaleCase {
    const char* name;
    double lo, hi;
};

void PrintTo(const TScaleCase& c, std::ostream* os) { *os << c.name; }

class AxisScaleCovers : public testing::TestWithParam<TScaleCase> { };

// For any finite data the ticks cover it, the labels are distinct, short and free of
// "inf"/"nan", and each label reads back as the value its tick stands for.
TEST_P(AxisScaleCovers, TheDataWithReadableTrueLabels)
{
    const auto& c = GetParam();
    const TAxisScale s = ComputeAxisScale(c.lo, c.hi);
    ASSERT_GE(s.ticks.size(), 2u);
    ASSERT_LE(s.ticks.size(), 12u);
    EXPECT_LE(s.min, ToDisplay(c.lo, s.exponent));
    EXPECT_GE(s.max, ToDisplay(c.hi, s.exponent));
    EXPECT_EQ(s.min, s.ticks.front().position);
    EXPECT_EQ(s.max, s.ticks.back().position);
    EXPECT_GT(s.max - s.min, 1e-9); // Qt axes break down on tiny spans
    EXPECT_LT(std::abs(s.max) + std::abs(s.min), 1e6);
    for (std::size_t i = 0; i < s.ticks.size(); ++i) {
        const QString& label = s.ticks[i].label;
        EXPECT_LE(label.size(), 14) << label.toStdString();
        EXPECT_FALSE(
            label.contains(QStringLiteral("inf")) || label.contains(QStringLiteral("nan")));
        // Read in long double: a label just beyond the double range ("2e+308") is
        // still a true value.
        const long double value = std::strtold(label.toLatin1().constData(), nullptr);
        const long double expected
            = static_cast<long double>(s.ticks[i].position) * std::pow(10.0L, s.exponent);
        EXPECT_LE(std::abs(value - expected), std::abs(expected) * 1e-9L + 1e-300L)
            << label.toStdString();
        if (i > 0) {
            EXPECT_NE(label, s.ticks[i - 1].label);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, AxisScaleCovers,
    testing::Values(TScaleCase { "BiasLadder", -4.0, 3.9 },
        TScaleCase { "Capacitances", 1.268857754044952e-22, 8.416650165000427e-22 },
        TScaleCase { "InverseSquares", 1.411631846414421e+42, 6.211180124223603e+43 },
        TScaleCase { "SinglePoint", -4.0, -4.0 }, TScaleCase { "SingleTiny", 1e-22, 1e-22 },
        TScaleCase { "SingleZero", 0.0, 0.0 }, TScaleCase { "NearMax", 1e307, 1.7e308 },
        TScaleCase { "NearMinNormal", 2.3e-308, 9e-300 }, TScaleCase { "Negative", -6e43, -1e42 },
        TScaleCase { "AcrossZero", -1e-20, 3e-20 },
        TScaleCase { "TinyRelativeSpan", 1.0, 1.0 + 1e-13 },
        TScaleCase { "WholeRange", -1e300, 1e300 }),
    [](const testing::TestParamInfo<TScaleCase>& row) { return row.param.name; });

struct TLabelCase {
    const char* name;
    double lo, hi;
    const char* labels; // every tick's label, space-separated
};

void PrintTo(const TLabelCase& c, std::ostream* os) { *os << c.name; }

class AxisScaleLabels : public testing::TestWithParam<TLabelCase> { };

// The exact texts, worked out by hand from the 1-2-5 step rule and the label forms.
TEST_P(AxisScaleLabels, LookLikeTheValuesTheyName)
{
    const auto& c = GetParam();
    QStringList labels;
    for (const auto& t : ComputeAxisScale(c.lo, c.hi).ticks)
        labels << t.label;
    EXPECT_EQ(labels.join(' ').toStdString(), c.labels);
}

INSTANTIATE_TEST_SUITE_P(Table, AxisScaleLabels,
    testing::Values(TLabelCase { "Capacitances", 1.268857754044952e-22, 8.416650165000427e-22,
                        "0 2e-22 4e-22 6e-22 8e-22 1e-21" },
        TLabelCase { "BiasLadder", -4.0, 0.30000000000000243, "-4 -3 -2 -1 0 1" },
        TLabelCase { "FractionBelowOne", 0.875, 0.9375, "0.86 0.88 0.90 0.92 0.94" },
        TLabelCase { "OneDigitExponent", 1e5, 4e5, "1e+05 2e+05 3e+05 4e+05" },
        TLabelCase { "PlainDownToThousandths", 0.002, 0.0075, "0.002 0.004 0.006 0.008" },
        TLabelCase { "ExponentBelowThousandths", 0.0002, 0.00075, "2e-04 4e-04 6e-04 8e-04" }),
    [](const testing::TestParamInfo<TLabelCase>& row) { return row.param.name; });

TEST(AxisScale, WindowShowsExactlyItsRangeWithTheTicksInside)
{
    const TAxisScale w = ComputeAxisWindow(-3.3, -1.7);
    EXPECT_EQ(w.exponent, 0);
    EXPECT_EQ(w.min, -3.3);
    EXPECT_EQ(w.max, -1.7);
    QStringList labels;
    for (const auto& t : w.ticks) {
        labels << t.label;
        EXPECT_TRUE(t.position >= w.min && t.position <= w.max) << t.position;
    }
    EXPECT_EQ(labels.join(' '), QStringLiteral("-3.0 -2.5 -2.0"));

    const TAxisScale tiny = ComputeAxisWindow(2.05e-22, 2.95e-22);
    EXPECT_EQ(tiny.exponent, -22);
    labels.clear();
    for (const auto& t : tiny.ticks)
        labels << t.label;
    EXPECT_EQ(labels.join(' '), QStringLiteral("2.2e-22 2.4e-22 2.6e-22 2.8e-22"));
}

// The digits after the point of a label's mantissa (before any exponent).
qsizetype Decimals(const QString& label)
{
    const QString mantissa = label.section(QLatin1Char('e'), 0, 0);
    const qsizetype point = mantissa.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : mantissa.size() - point - 1;
}

struct TDecimalsCase {
    const char* name;
    double lo, hi;
    bool window; // a closer look (ComputeAxisWindow) rather than the full range
};

void PrintTo(const TDecimalsCase& c, std::ostream* os) { *os << c.name; }

class AxisScaleDecimals : public testing::TestWithParam<TDecimalsCase> { };

// Neighbouring labels never differ in their number of decimals ("3.9557e-22" beside
// "3.95569e-22"), at any number of intervals; an exponent axis writes zero as "0".
TEST_P(AxisScaleDecimals, AreSharedByTheLabelsOfOneAxis)
{
    const auto& c = GetParam();
    for (int intervals = 1; intervals <= kAxisIntervals; ++intervals) {
        const TAxisScale s = c.window ? ComputeAxisWindow(c.lo, c.hi, intervals)
                                      : ComputeAxisScale(c.lo, c.hi, false, intervals);
        QStringList labels;
        for (const auto& t : s.ticks)
            labels << t.label;
        SCOPED_TRACE(labels.join(' ').toStdString());
        std::optional<qsizetype> shared;
        for (const QString& label : labels) {
            if (s.exponent != 0 && label == QLatin1String("0"))
                continue;
            if (!shared)
                shared = Decimals(label);
            EXPECT_EQ(Decimals(label), *shared) << label.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, AxisScaleDecimals,
    testing::Values(TDecimalsCase { "DeepCapacitance", 3.95566e-22, 3.95573e-22, true },
        TDecimalsCase { "DeepBias", -1.434182, -1.434168, true },
        TDecimalsCase { "AcrossAPowerOfTen", 8.5e-22, 1.15e-21, false },
        TDecimalsCase { "AcrossAPowerOfTenWindow", 9.1e-22, 1.07e-21, true },
        TDecimalsCase { "PlainAcrossZero", -0.35, 0.45, false },
        TDecimalsCase { "SinglePoint", 1.27e-22, 1.27e-22, false },
        TDecimalsCase { "NearMax", 1e308, 1.7e308, false },
        TDecimalsCase { "InverseSquares", 1.411631846414421e+42, 6.211180124223603e+43, false }),
    [](const testing::TestParamInfo<TDecimalsCase>& row) { return row.param.name; });

// Hand-worked: a window whose edges fall on ticks labels those ticks too.
TEST(AxisScale, WindowLabelsTheTicksOnItsEdges)
{
    struct {
        double lo, hi;
        const char* labels;
    } const cases[] = {
        { -3.0, -1.0, "-3.0 -2.5 -2.0 -1.5 -1.0" },
        { 2e-22, 3e-22, "2.0e-22 2.2e-22 2.4e-22 2.6e-22 2.8e-22 3.0e-22" },
        { 0.0, 1.0, "0.0 0.2 0.4 0.6 0.8 1.0" },
    };
    for (const auto& c : cases) {
        QStringList labels;
        for (const auto& t : ComputeAxisWindow(c.lo, c.hi).ticks)
            labels << t.label;
        EXPECT_EQ(labels.join(' ').toStdString(), c.labels);
    }
}

} // namespace
