// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/ChartMap.h"

#include <algorithm>
#include <limits>

namespace {

double ClampToDouble(double value)
{
    constexpr double kMax = std::numeric_limits<double>::max();
    return std::clamp(value, -kMax, kMax);
}

} // namespace

TChartMap::TChartMap(const QRectF& area, const TAxisScale& x, const TAxisScale& y)
    : area_(area)
    , xExponent_(x.exponent)
    , yExponent_(y.exponent)
    , xMin_(x.min)
    , xMax_(x.max)
    , yMin_(y.min)
    , yMax_(y.max)
{
}

QPointF TChartMap::ToPixel(double x, double y) const
{
    // In display units, where every range is of moderate size whatever the data.
    return { XPixel(ToDisplay(x, xExponent_)), YPixel(ToDisplay(y, yExponent_)) };
}

double TChartMap::XPixel(double display) const
{
    return area_.left() + (display - xMin_) / (xMax_ - xMin_) * area_.width();
}

double TChartMap::YPixel(double display) const
{
    return area_.bottom() - (display - yMin_) / (yMax_ - yMin_) * area_.height();
}

double TChartMap::XAt(double px) const
{
    const double d = xMin_ + (px - area_.left()) / area_.width() * (xMax_ - xMin_);
    return ClampToDouble(FromDisplay(d, xExponent_));
}

double TChartMap::YAt(double py) const
{
    const double d = yMin_ + (area_.bottom() - py) / area_.height() * (yMax_ - yMin_);
    return ClampToDouble(FromDisplay(d, yExponent_));
}

bool ClipSegment(const QRectF& rect, QPointF& a, QPointF& b)
{
    // Liang-Barsky: the part of a + t (b - a), 0 <= t <= 1, inside each edge.
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0.0, t1 = 1.0;
    const double p[] = { -dx, dx, -dy, dy };
    const double q[]
        = { a.x() - rect.left(), rect.right() - a.x(), a.y() - rect.top(), rect.bottom() - a.y() };
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF start = a;
    a = start + t0 * QPointF(dx, dy);
    b = start + t1 * QPointF(dx, dy);
    return true;
}
