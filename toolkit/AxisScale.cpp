// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/AxisScale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Values whose magnitude lies between 10^-kPlainBelow and 10^kPlainAbove are labelled
// in plain decimals; beyond that, in exponent form.
constexpr int kPlainBelow = 3;
constexpr int kPlainAbove = 4;

// The decimal digits of mantissa * 10^power in exponent form: the leading digit, the
// digits after the point without trailing zeros, and the decimal exponent.
struct TExponentDigits {
    QString lead, tail;
    int exponent;
};

TExponentDigits ExponentDigits(long long mantissa, int power)
{
    const QString digits = QString::number(std::llabs(mantissa));
    QString tail = digits.mid(1);
    while (tail.endsWith(QLatin1Char('0')))
        tail.chop(1);
    return { digits.left(1), tail, power + static_cast<int>(digits.size()) - 1 };
}

// Decimal text of mantissa * 10^power. In exponent form the mantissa is written with
// `decimals` digits after the point (zeros added), in plain form with -power of them.
QString DecimalText(long long mantissa, int power, bool exponentForm, qsizetype decimals)
{
    const bool negative = mantissa < 0;
    QString text;
    if (exponentForm) {
        if (mantissa == 0)
            return QStringLiteral("0");
        const TExponentDigits d = ExponentDigits(mantissa, power);
        text = d.lead;
        if (decimals > 0)
            text += QLatin1Char('.') + d.tail.leftJustified(decimals, QLatin1Char('0'), true);
        text += QStringLiteral("e%1%2")
                    .arg(d.exponent < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                    .arg(std::abs(d.exponent), 2, 10, QLatin1Char('0'));
    } else if (power >= 0) {
        if (mantissa == 0)
            return QStringLiteral("0");
        text = QString::number(std::llabs(mantissa)) + QString(power, QLatin1Char('0'));
    } else {
        QString digits = QString::number(std::llabs(mantissa));
        const int places = -power;
        if (digits.size() <= places)
            digits = QString(places - digits.size() + 1, QLatin1Char('0')) + digits;
        text = digits.left(digits.size() - places) + QLatin1Char('.') + digits.right(places);
    }
    return negative && mantissa != 0 ? QLatin1Char('-') + text : text;
}

// 10^n. std::pow need not be exact for whole powers (MinGW-w64's is not: its 10^-3 is
// not the double nearest 0.001, and a tick at the range's edge is lost or gained). 10^0
// to 10^22 are exact doubles, made by exact products; their reciprocals are correctly
// rounded, so the nearest doubles to 10^-1 ... 10^-22.
double Pow10(int n)
{
    if (n < -22 || n > 22)
        return std::pow(10.0, n);
    double p = 1.0;
    for (int i = 0; i < std::abs(n); ++i)
        p *= 10.0;
    return n < 0 ? 1.0 / p : p;
}

} // namespace

double ToDisplay(double value, int exponent)
{
    // Two steps, so that neither factor leaves the double range for any exponent of a
    // finite value (about -324 to 308).
    const int first = -exponent / 2;
    const int second = -exponent - first;
    return value * Pow10(first) * Pow10(second);
}

double FromDisplay(double display, int exponent) { return ToDisplay(display, -exponent); }

namespace {

// The nice ticks covering [lo, hi]; with `window`, only those inside [lo, hi] (its
// edges included), and the scale shows exactly [lo, hi].
TAxisScale Scale(double lo, double hi, bool empty, int intervals, bool window)
{
    if (empty || !std::isfinite(lo) || !std::isfinite(hi)) {
        lo = 0.0;
        hi = 1.0;
    }
    if (lo > hi)
        std::swap(lo, hi);

    TAxisScale scale;
    const double magnitude = std::max(std::abs(lo), std::abs(hi));
    int order = 0;
    if (magnitude > 0.0)
        order = static_cast<int>(std::floor(std::log10(magnitude)));
    const bool exponentForm = order < -kPlainBelow || order > kPlainAbove;
    scale.exponent = exponentForm ? order : 0;

    double dlo = ToDisplay(lo, scale.exponent);
    double dhi = ToDisplay(hi, scale.exponent);
    // A single value, equal values, or a span too small to show as distinct labels:
    // widen to a span around the centre.
    const double dmag = std::max(std::abs(dlo), std::abs(dhi));
    if (dmag == 0.0) {
        dlo = -1.0;
        dhi = 1.0;
    } else if (dhi - dlo < dmag * 1e-6) {
        const double centre = dlo / 2 + dhi / 2;
        const double half = std::abs(centre) * 0.05;
        dlo = centre - half;
        dhi = centre + half;
    }

    // A nice step of 1, 2 or 5 times a power of ten, about `intervals` per range.
    const double raw = (dhi - dlo) / std::max(1, intervals);
    int power = static_cast<int>(std::floor(std::log10(raw)));
    const double fraction = raw / Pow10(power);
    long long unit = fraction <= 1.0 ? 1 : fraction <= 2.0 ? 2 : fraction <= 5.0 ? 5 : 10;
    if (unit == 10) {
        unit = 1;
        ++power;
    }
    const double step = static_cast<double>(unit) * Pow10(power);
    auto first = static_cast<long long>(std::floor(dlo / step));
    auto last = static_cast<long long>(std::ceil(dhi / step));
    if (last == first)
        ++last;
    if (window) {
        scale.min = ToDisplay(lo, scale.exponent);
        scale.max = ToDisplay(hi, scale.exponent);
        auto at = [&](long long i) { return static_cast<double>(i) * step; };
        while (first <= last && at(first) < scale.min)
            ++first;
        while (last >= first && at(last) > scale.max)
            --last;
    }

    // One number of decimals for the whole axis: the most any of its labels needs.
    qsizetype decimals = 0;
    if (exponentForm)
        for (long long i = first; i <= last; ++i)
            if (i != 0)
                decimals = std::max(
                    decimals, ExponentDigits(i * unit, power + scale.exponent).tail.size());
    for (long long i = first; i <= last; ++i) {
        const double position = static_cast<double>(i) * step;
        scale.ticks.push_back(
            { position, DecimalText(i * unit, power + scale.exponent, exponentForm, decimals) });
    }
    if (!window) {
        scale.min = scale.ticks.front().position;
        scale.max = scale.ticks.back().position;
    }
    return scale;
}

} // namespace

TAxisScale ComputeAxisScale(double lo, double hi, bool empty, int intervals)
{
    return Scale(lo, hi, empty, intervals, false);
}

TAxisScale ComputeAxisWindow(double lo, double hi, int intervals)
{
    return Scale(lo, hi, false, intervals, true);
}
