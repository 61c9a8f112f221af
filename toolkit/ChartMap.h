// SPDX-License-Identifier: GPL-3.0-or-later
// Where a chart's values lie on the screen: one plot area and the axis scales shown in
// it. Drawing and finding the point under the mouse both go through ToPixel, so what is
// hit is what is drawn.
#pragma once

#include "toolkit/AxisScale.h"

#include <QPointF>
#include <QRectF>

class TChartMap {
public:
    TChartMap(const QRectF& area, const TAxisScale& x, const TAxisScale& y);

    [[nodiscard]] const QRectF& Area() const { return area_; }
    // The pixel of the point (x, y) in true values; values outside the scales map outside
    // the area. Only for finite values.
    [[nodiscard]] QPointF ToPixel(double x, double y) const;
    // The pixel column and row of an axis position in display units (a tick's).
    [[nodiscard]] double XPixel(double display) const;
    [[nodiscard]] double YPixel(double display) const;
    // The true values at a pixel, clamped to the double range.
    [[nodiscard]] double XAt(double px) const;
    [[nodiscard]] double YAt(double py) const;

private:
    QRectF area_;
    int xExponent_, yExponent_;
    double xMin_, xMax_, yMin_, yMax_; // in display units
};

// Cuts the segment a-b to the rectangle; false when no part of it lies inside.
bool ClipSegment(const QRectF& rect, QPointF& a, QPointF& b);
