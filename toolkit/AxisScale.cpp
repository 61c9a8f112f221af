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
constexpr int kTargetIntervals = 5;

// Decimal text of mantissa * 10^power, in plain or exponent form.
QString DecimalText(long long mantissa, int power, bool exponentForm)
{
    if (mantissa == 0)
        return QStringLiteral("0");
    const bool negative = mantissa < 0;
    QString digits = QString::number(std::llabs(mantissa));
    QString text;
    if (exponentForm) {
        const int sciExponent = power + static_cast<int>(digits.size()) - 1;
        QString tail = digits.mid(1);
        while (tail.endsWith(QLatin1Char('0')))
            tail.chop(1);
        text = digits.left(1);
        if (!tail.isEmpty())
            text += QLatin1Char('.') + tail;
        text += QStringLiteral("e%1%2")
                    .arg(sciExponent < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                    .arg(std::abs(sciExponent), 2, 10, QLatin1Char('0'));
    } else if (power >= 0) {
        text = digits + QString(power, QLatin1Char('0'));
    } else {
        const int decimals = -power;
        if (digits.size() <= decimals)
            digits = QString(decimals - digits.size() + 1, QLatin1Char('0')) + digits;
        text = digits.left(digits.size() - decimals) + QLatin1Char('.') + digits.right(decimals);
    }
    return negative ? QLatin1Char('-') + text : text;
}

double Pow10(int n) { return std::pow(10.0, n); }

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

TAxisScale ComputeAxisScale(double lo, double hi, bool empty)
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

    // A nice step of 1, 2 or 5 times a power of ten, about kTargetIntervals per range.
    const double raw = (dhi - dlo) / kTargetIntervals;
    int power = static_cast<int>(std::floor(std::log10(raw)));
    const double fraction = raw / Pow10(power);
    long long unit = fraction <= 1.0 ? 1 : fraction <= 2.0 ? 2 : fraction <= 5.0 ? 5 : 10;
    if (unit == 10) {
        unit = 1;
        ++power;
    }
    const double step = static_cast<double>(unit) * Pow10(power);
    const auto first = static_cast<long long>(std::floor(dlo / step));
    auto last = static_cast<long long>(std::ceil(dhi / step));
    if (last == first)
        ++last;

    for (long long i = first; i <= last; ++i) {
        const double position = static_cast<double>(i) * step;
        scale.ticks.push_back(
            { position, DecimalText(i * unit, power + scale.exponent, exponentForm) });
    }
    scale.min = scale.ticks.front().position;
    scale.max = scale.ticks.back().position;
    return scale;
}

TAxisScale ComputeAxisWindow(double lo, double hi)
{
    TAxisScale scale = ComputeAxisScale(lo, hi);
    scale.min = ToDisplay(lo, scale.exponent);
    scale.max = ToDisplay(hi, scale.exponent);
    std::erase_if(scale.ticks,
        [&](const TAxisTick& t) { return t.position < scale.min || t.position > scale.max; });
    return scale;
}
