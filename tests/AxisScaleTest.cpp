#include "toolkit/AxisScale.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

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

TEST(AxisScale, LabelsLookLikeTheValuesTheyName)
{
    const TAxisScale c = ComputeAxisScale(1.268857754044952e-22, 8.416650165000427e-22);
    QStringList labels;
    for (const auto& t : c.ticks)
        labels << t.label;
    EXPECT_EQ(labels.join(' '), QStringLiteral("0 2e-22 4e-22 6e-22 8e-22 1e-21"));

    const TAxisScale v = ComputeAxisScale(-4.0, 0.30000000000000243);
    labels.clear();
    for (const auto& t : v.ticks)
        labels << t.label;
    EXPECT_EQ(labels.join(' '), QStringLiteral("-4 -3 -2 -1 0 1"));
}

} // namespace
