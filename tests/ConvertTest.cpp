// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Convert.h"
#include "toolkit/Application.h"
#include "toolkit/Exception.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <string_view>

namespace {

std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }

// The code units as they are (QString::fromUtf16 would drop a leading byte order mark).
QString FromUtf16(std::u16string_view text)
{
    return QString(
        reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string Repeat(std::u16string_view part, int times)
{
    std::u16string text;
    for (int i = 0; i < times; ++i)
        text += part;
    return text;
}

// A case's name for ctest: printable, and the same in every run.
template <typename Row> std::string RowName(const testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

// More leading digits than any saturated exponent would outweigh: underflow and overflow
// must still be told apart by the digits and the exponent together.
const std::u16string kManyDigitsTinyExponent
    = u"1" + Repeat(u"0", 1200) + u"e-99999999999999999999";
const std::u16string kManyZerosHugeExponent
    = u"0." + Repeat(u"0", 1200) + u"1e99999999999999999999";

struct TAccepted {
    const char* name;
    std::u16string_view text;
    double value;
};

void PrintTo(const TAccepted& c, std::ostream* os) { *os << c.name; }

class StrToFloatAccepts : public testing::TestWithParam<TAccepted> { };

TEST_P(StrToFloatAccepts, ReadsTheExactDouble)
{
    const auto& c = GetParam();
    const QString text = FromUtf16(c.text);
    EXPECT_EQ(Bits(StrToFloat(text)), Bits(c.value)) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, StrToFloatAccepts,
    testing::Values(TAccepted { "example_density", u"10e-17", 1e-16 },
        TAccepted { "fraction", u"0.4", 0.4 }, TAccepted { "integer", u"10", 10.0 },
        TAccepted { "negative", u"-4", -4.0 }, TAccepted { "no_integer_digits", u".5", 0.5 },
        TAccepted { "no_fraction_digits", u"5.", 5.0 },
        TAccepted { "capital_exponent_with_sign", u"1E+3", 1000.0 },
        TAccepted { "plus_sign", u"+2.5e0", 2.5 }, TAccepted { "negative_zero", u"-0", -0.0 },
        TAccepted {
            "largest_double", u"1.7976931348623157e308", std::numeric_limits<double>::max() },
        TAccepted { "subnormal", u"1e-310", 1e-310 },
        TAccepted { "smallest_subnormal", u"4.9e-324", 4.9e-324 },
        // below the smallest subnormal: the nearest double, a signed zero
        TAccepted { "underflow_to_zero", u"1e-400", 0.0 },
        TAccepted { "underflow_to_negative_zero", u"-1e-99999", -0.0 },
        TAccepted { "zero_with_huge_exponent", u"0.0000e99999", 0.0 },
        // exponents longer than any integer type holds
        TAccepted { "exponent_of_20_digits", u"1e00000000000000000001", 10.0 },
        TAccepted { "negative_exponent_of_20_digits", u"1e-99999999999999999999", 0.0 },
        TAccepted { "negative_exponent_of_20_digits_negative", u"-1e-99999999999999999999", -0.0 },
        TAccepted {
            "long_mantissa_long_exponent", u"0.000000000000000000001e0000000000000000000021", 1.0 },
        // full-width forms an input method types, and the minus sign U+2212
        TAccepted { "full_width_exponent", u"１０ｅ－１７", 1e-16 },
        TAccepted { "full_width_point", u"０．４", 0.4 },
        TAccepted { "full_width_signs", u"＋３Ｅ２", 300.0 },
        TAccepted { "minus_sign", u"\u22124", -4.0 },
        // blanks of every kind around the number, as pasted from lists and cells
        TAccepted { "spaces_and_tab", u"  0.4\t", 0.4 },
        TAccepted { "ideographic_spaces", u"\u3000１０\u3000", 10.0 },
        TAccepted { "trailing_line_feed", u"0.4\n", 0.4 },
        TAccepted { "trailing_carriage_return_line_feed", u"0.4\r\n", 0.4 },
        TAccepted { "leading_line_feed", u"\n10", 10.0 },
        TAccepted { "no_break_spaces", u"\u00a010\u00a0", 10.0 },
        TAccepted { "vertical_tab_form_feed_next_line", u"\v\f\u008510\u0085", 10.0 },
        TAccepted {
            "space_separators", u"\u1680\u2000\u2001\u2002\u2003\u2004\u2005\u2006\u20071", 1.0 },
        TAccepted { "thin_and_narrow_spaces", u"\u2008\u2009\u200a1\u202f\u205f", 1.0 },
        TAccepted { "line_and_paragraph_separators", u"\u20281\u2029", 1.0 }),
    RowName<TAccepted>);

const std::u16string kAstral = u"\U0001D7CF"; // MATHEMATICAL BOLD DIGIT ONE, two code units

enum class TMessage { Blank, Unreadable, OutOfRange };

struct TRejected {
    const char* name;
    std::u16string text;
    TMessage kind;
    std::u16string quote; // what the message shows between 「 and 」
};

QString ExpectedMessage(TMessage kind, const QString& quote)
{
    switch (kind) {
    case TMessage::Blank:
        return QStringLiteral("「%1」は数値ではありません。数値を入力してください。").arg(quote);
    case TMessage::Unreadable:
        return QStringLiteral("「%1」は数値として読めません。").arg(quote);
    case TMessage::OutOfRange:
        return QStringLiteral("「%1」は倍精度浮動小数点数の範囲を超えています。").arg(quote);
    }
    return {};
}

void PrintTo(const TRejected& c, std::ostream* os) { *os << c.name; }

class StrToFloatRejects : public testing::TestWithParam<TRejected> { };

TEST_P(StrToFloatRejects, RaisesAConversionErrorQuotingTheTextVisibly)
{
    const auto& c = GetParam();
    const QString text = FromUtf16(c.text);
    try {
        StrToFloat(text);
        FAIL() << "accepted: " << text.toStdString();
    } catch (const EConvertError& e) {
        const QString expected = ExpectedMessage(c.kind, FromUtf16(c.quote));
        // The whole message, and the same through what() since it holds no NUL.
        EXPECT_EQ(QString::fromUtf8(e.Message().data(), qsizetype(e.Message().size())), expected);
        EXPECT_EQ(QString::fromUtf8(e.what()), expected);
    }
}

using enum TMessage;

INSTANTIATE_TEST_SUITE_P(Table, StrToFloatRejects,
    testing::Values(
        // nothing but blanks: the empty message, whatever kind of blank
        TRejected { "empty", u"", Blank, u"" }, TRejected { "space", u" ", Blank, u" " },
        TRejected { "ideographic_space", u"\u3000", Blank, u"<U+3000>" },
        TRejected { "no_break_space", u"\u00a0", Blank, u"<U+00A0>" },
        TRejected { "line_separator", u"\u2028", Blank, u"<U+2028>" },
        TRejected { "blanks_of_every_kind", u" \t\r\n\u00a0\u2009\u3000", Blank,
            u" <TAB><CR><LF><U+00A0><U+2009><U+3000>" },
        // invisible characters that are no blank: quoted visibly
        TRejected { "zero_width_space_alone", u"\u200b", Unreadable, u"<U+200B>" },
        TRejected { "zero_width_space_inside", u"1\u200b0", Unreadable, u"1<U+200B>0" },
        TRejected { "zero_width_space_trailing", u"1\u200b", Unreadable, u"1<U+200B>" },
        TRejected { "byte_order_mark_leading", u"\ufeff1", Unreadable, u"<U+FEFF>1" },
        TRejected { "nul_inside", std::u16string(u"0\0004", 3), Unreadable, u"0<NUL>4" },
        TRejected { "controls_inside", u"1\x01\x1f\x7f\u0080\u009f", Unreadable,
            u"1<U+0001><U+001F><U+007F><U+0080><U+009F>" },
        TRejected { "direction_marks", u"\u200e1\u202e", Unreadable, u"<U+200E>1<U+202E>" },
        TRejected { "lone_surrogate", std::u16string(1, u'1') + char16_t(0xD800), Unreadable,
            u"1<U+D800>" },
        TRejected { "variation_selector", u"1\ufe0f", Unreadable, u"1<U+FE0F>" },
        // blanks inside the number are no blanks to ignore; the quote shows the text as typed
        TRejected { "no_break_space_inside", u"1\u00a00", Unreadable, u"1<U+00A0>0" },
        TRejected { "line_feed_inside", u"0.\n4", Unreadable, u"0.<LF>4" },
        TRejected { "carriage_return_inside", u"1\r2", Unreadable, u"1<CR>2" },
        TRejected { "tab_inside", u"1\t2", Unreadable, u"1<TAB>2" },
        TRejected { "space_inside", u"4 2", Unreadable, u"4 2" },
        TRejected { "ideographic_space_inside", u"4\u30002", Unreadable, u"4<U+3000>2" },
        TRejected { "thin_space_inside", u"1\u20090", Unreadable, u"1<U+2009>0" },
        TRejected { "blanks_kept_in_quote", u" 1x\n", Unreadable, u" 1x<LF>" },
        // markup is quoted verbatim
        TRejected { "bold_markup", u"<b>1</b>", Unreadable, u"<b>1</b>" },
        TRejected { "entity", u"&lt;1", Unreadable, u"&lt;1" },
        TRejected {
            "image_markup", u"<img src=x width=3000>", Unreadable, u"<img src=x width=3000>" },
        // the quote's cut: 40 characters as the user sees them, then "…"
        TRejected { "forty_characters_whole", Repeat(u"abcdefghij", 4) + u"!", Unreadable,
            Repeat(u"abcdefghij", 4) + u"…" },
        TRejected { "exactly_forty_characters", Repeat(u"abcdefghi!", 4), Unreadable,
            Repeat(u"abcdefghi!", 4) },
        TRejected { "forty_one_astral_characters", Repeat(kAstral, 41), Unreadable,
            Repeat(kAstral, 40) + u"…" },
        TRejected { "astral_characters_after_one", u"a" + Repeat(kAstral, 40), Unreadable,
            u"a" + Repeat(kAstral, 39) + u"…" },
        TRejected { "forty_one_zero_width_spaces", Repeat(u"\u200b", 41), Unreadable,
            Repeat(u"<U+200B>", 40) + u"…" },
        TRejected { "long_blank_text", Repeat(u" ", 41), Blank, Repeat(u" ", 40) + u"…" },
        TRejected { "long_out_of_range", u"1" + Repeat(u"0", 400), OutOfRange,
            u"1" + Repeat(u"0", 39) + u"…" },
        // beyond the double range
        TRejected { "overflow", u"1e999", OutOfRange, u"1e999" },
        TRejected { "negative_overflow", u"-1e999", OutOfRange, u"-1e999" },
        TRejected { "full_width_overflow", u"１e９９９", OutOfRange, u"１e９９９" },
        TRejected { "overflow_exponent_of_20_digits", u"1e99999999999999999999", OutOfRange,
            u"1e99999999999999999999" },
        TRejected { "many_zeros_huge_exponent", kManyZerosHugeExponent, OutOfRange,
            u"0." + Repeat(u"0", 38) + u"…" },
        TRejected { "overflow_with_trailing_line_feed", u"1e999\n", OutOfRange, u"1e999<LF>" },
        // no number
        TRejected { "letters", u"abc", Unreadable, u"abc" },
        TRejected { "decimal_comma", u"1,5", Unreadable, u"1,5" },
        TRejected { "hexadecimal", u"0x10", Unreadable, u"0x10" },
        TRejected { "infinity", u"inf", Unreadable, u"inf" },
        TRejected { "not_a_number", u"nan", Unreadable, u"nan" },
        TRejected { "exponent_without_digits", u"1e", Unreadable, u"1e" },
        TRejected { "signed_exponent_without_digits", u"1e+", Unreadable, u"1e+" },
        TRejected { "two_minus_signs", u"--1", Unreadable, u"--1" },
        TRejected { "two_signs", u"+-1", Unreadable, u"+-1" },
        TRejected { "two_points", u"1.2.3", Unreadable, u"1.2.3" },
        TRejected { "trailing_letter", u"1e5x", Unreadable, u"1e5x" },
        TRejected { "point_alone", u".", Unreadable, u"." },
        TRejected { "exponent_alone", u"e5", Unreadable, u"e5" },
        TRejected { "arabic_indic_digit", u"٣", Unreadable, u"٣" },
        TRejected { "fortran_exponent", u"1d5", Unreadable, u"1d5" }),
    RowName<TRejected>);

// A message reaches the report whole, with its length: nothing in it ends it early.
TEST(ConversionError, ReachesTheReportWhole)
{
    QStringList shown;
    const ErrorReporter previous = SetErrorReporter([&](const QString& m) { shown << m; });
    ReportError(EConvertError(std::string("「0\0004」", 9)));
    SetErrorReporter(previous);
    EXPECT_EQ(shown, QStringList(QString::fromUtf8("「0\0004」", 9)));
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
    // A locale with a decimal comma must not leak into the texts. The build generates
    // one where it can (LOCPATH); without it there is nothing to check here.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "the locale de_DE.UTF-8 is neither installed nor generated";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(FloatToStr(-4.0), QStringLiteral("-4"));
    EXPECT_EQ(FloatToStr(0.4), QStringLiteral("0.4"));
    EXPECT_EQ(FloatToStr(1.268857754044952e-22), QStringLiteral("1.268857754044952e-22"));
    EXPECT_EQ(StrToFloat(QStringLiteral("0.4")), 0.4);
    EXPECT_THROW(StrToFloat(QStringLiteral("0,4")), EConvertError);
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
