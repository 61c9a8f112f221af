#include "toolkit/Convert.h"
#include "toolkit/Exception.h"

#include <QFile>
#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <random>
#include <string>

namespace {

std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }

struct TAccepted {
    const char16_t* text;
    double value;
};

class StrToFloatAccepts : public testing::TestWithParam<TAccepted> { };

TEST_P(StrToFloatAccepts, ReadsTheExactDouble)
{
    const auto& c = GetParam();
    const QString text = QString::fromUtf16(c.text);
    EXPECT_EQ(Bits(StrToFloat(text)), Bits(c.value)) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, StrToFloatAccepts,
    testing::Values(TAccepted { u"10e-17", 1e-16 }, TAccepted { u"0.4", 0.4 },
        TAccepted { u"10", 10.0 }, TAccepted { u"-4", -4.0 }, TAccepted { u".5", 0.5 },
        TAccepted { u"5.", 5.0 }, TAccepted { u"1E+3", 1000.0 }, TAccepted { u"+2.5e0", 2.5 },
        TAccepted { u"-0", -0.0 }, TAccepted { u"  0.4\t", 0.4 },
        TAccepted { u"1.7976931348623157e308", std::numeric_limits<double>::max() },
        TAccepted { u"1e-310", 1e-310 }, TAccepted { u"4.9e-324", 4.9e-324 },
        // below the smallest subnormal: the nearest double, a signed zero
        TAccepted { u"1e-400", 0.0 }, TAccepted { u"-1e-99999", -0.0 },
        TAccepted { u"0.0000e99999", 0.0 },
        // full-width forms an input method types, and the minus sign U+2212
        TAccepted { u"１０ｅ－１７", 1e-16 }, TAccepted { u"０．４", 0.4 },
        TAccepted { u"＋３Ｅ２", 300.0 }, TAccepted { u"\u22124", -4.0 },
        TAccepted { u"\u3000１０\u3000", 10.0 }));

class StrToFloatRejects : public testing::TestWithParam<const char16_t*> { };

TEST_P(StrToFloatRejects, RaisesAConversionErrorQuotingTheText)
{
    const QString text = QString::fromUtf16(GetParam());
    try {
        StrToFloat(text);
        FAIL() << "accepted: " << text.toStdString();
    } catch (const EConvertError& e) {
        const QString message = QString::fromUtf8(e.what());
        EXPECT_TRUE(message.contains(QStringLiteral("「") + text.left(40)))
            << message.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Table, StrToFloatRejects,
    testing::Values(u"", u" ", u"\u3000", u"abc", u"1,5", u"0x10", u"inf", u"nan", u"1e", u"--1",
        u"+-1", u"1.2.3", u"1e5x", u"4 2", u".", u"e5", u"1e+", u"1e999", u"-1e999", u"１e９９９",
        u"1\u00a0", u"٣", u"1d5"));

TEST(StrToFloat, MessageSaysWhetherTheTextIsNoNumberOrOutOfRange)
{
    try {
        StrToFloat(QStringLiteral("1e999"));
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("範囲")));
    }
    try {
        StrToFloat(QStringLiteral("abc"));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("「abc」")));
    }
}

struct TWritten {
    const char* name;
    double value;
    const char* text; // Python's repr of the value, a trailing ".0" removed
};

void PrintTo(const TWritten& row, std::ostream* out) { *out << row.text; }

class FloatToStrWrites : public testing::TestWithParam<TWritten> { };

TEST_P(FloatToStrWrites, TheShortestTextInThePlainOrExponentForm)
{
    EXPECT_EQ(FloatToStr(GetParam().value).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, FloatToStrWrites,
    testing::Values(TWritten { "Integral", -4.0, "-4" }, TWritten { "Ten", 10.0, "10" },
        TWritten { "Fraction", 0.4, "0.4" }, TWritten { "NegativeZero", -0.0, "-0" },
        TWritten { "SeventeenDigits", 0.30000000000000004, "0.30000000000000004" },
        TWritten { "Capacitance", 1.268857754044952e-22, "1.268857754044952e-22" },
        TWritten { "InverseSquare", 6.211180124223603e+43, "6.211180124223603e+43" },
        // the largest plain exponent, 15, and the first exponent form, 16
        TWritten { "Exponent15", 1234567890123456.8, "1234567890123456.8" },
        TWritten { "Exponent15Integral", 9999999999999998.0, "9999999999999998" },
        TWritten { "TwoToThe53", 9007199254740992.0, "9007199254740992" },
        TWritten { "Exponent16", 1e16, "1e+16" },
        TWritten { "Exponent19", 95918574179443752960.0, "9.591857417944375e+19" },
        TWritten { "Exponent100", 1e100, "1e+100" },
        // the smallest plain exponent, -4, and the first exponent form, -5
        TWritten { "ExponentMinus4", 0.0001, "0.0001" },
        TWritten { "ExponentMinus4Digits", 0.00012345, "0.00012345" },
        TWritten { "JustBelowExponentMinus4", 0.00009999999999999999, "9.999999999999999e-05" },
        TWritten { "ExponentMinus5", 1e-05, "1e-05" },
        TWritten { "Largest", 1.7976931348623157e308, "1.7976931348623157e+308" },
        TWritten { "SmallestSubnormal", 5e-324, "5e-324" },
        TWritten { "Infinity", std::numeric_limits<double>::infinity(), "INF" },
        TWritten { "MinusInfinity", -std::numeric_limits<double>::infinity(), "-INF" },
        TWritten { "NotANumber", std::numeric_limits<double>::quiet_NaN(), "NAN" }),
    [](const testing::TestParamInfo<TWritten>& row) { return std::string(row.param.name); });

// Expected texts written by scripts/float-texts.py with Python's repr: every power of
// ten and its neighbours, random bit patterns, and random values around the plain form.
TEST(FloatToStr, MatchesPythonsReprForEveryDoubleOfTheTable)
{
    QFile file(QStringLiteral(CVPLOT_TEST_DATA_DIR "/float-texts.tsv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << file.fileName().toStdString();
    int rows = 0;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split('\t');
        ASSERT_EQ(fields.size(), 2);
        bool ok = false;
        const double value = std::bit_cast<double>(fields[0].toULongLong(&ok, 16));
        ASSERT_TRUE(ok) << fields[0].toStdString();
        EXPECT_EQ(FloatToStr(value).toLatin1(), fields[1]) << fields[0].toStdString();
        ++rows;
    }
    EXPECT_GT(rows, 1000); // the file was read, not just opened
}

TEST(FloatToStr, WritesAPointWhateverTheLocale)
{
    // A locale with a decimal comma must not leak into the texts.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(FloatToStr(0.4), QStringLiteral("0.4"));
    EXPECT_EQ(FloatToStr(1.268857754044952e-22), QStringLiteral("1.268857754044952e-22"));
    EXPECT_EQ(StrToFloat(QStringLiteral("0.4")), 0.4);
    std::setlocale(LC_ALL, "C");
}

TEST(FloatToStr, EveryFiniteDoubleRoundTripsBitForBit)
{
    std::mt19937_64 random(20261209);
    for (int i = 0; i < 200000; ++i) {
        const double x = std::bit_cast<double>(random());
        if (!std::isfinite(x))
            continue;
        const QString text = FloatToStr(x);
        ASSERT_EQ(Bits(StrToFloat(text)), Bits(x)) << text.toStdString();
    }
    for (double x :
        { 0.0, -0.0, std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
            std::numeric_limits<double>::max(), -std::numeric_limits<double>::max() })
        EXPECT_EQ(Bits(StrToFloat(FloatToStr(x))), Bits(x));
}

} // namespace
