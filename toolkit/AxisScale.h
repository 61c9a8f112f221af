// SPDX-License-Identifier: GPL-3.0-or-later
// Axis ranges and tick labels for chart data of any finite magnitude. The charts draw in
// scaled display units (value * 10^-exponent), where every range is of moderate size
// whatever the data, and label the ticks with exact decimal texts such as "1.2e-22" or
// "6e+43".
#pragma once

#include <QString>

#include <vector>

struct TAxisTick {
    double position; // in display units
    QString label; // the true value, as text

    bool operator==(const TAxisTick&) const = default;
};

struct TAxisScale {
    int exponent = 0; // display = value * 10^-exponent
    double min = 0.0; // range in display units
    double max = 1.0;
    std::vector<TAxisTick> ticks; // ascending, within [min, max]

    bool operator==(const TAxisScale&) const = default;
};

// How many intervals between ticks an axis aims at, unless its labels need more room.
inline constexpr int kAxisIntervals = 5;

// A range of nice ticks covering [lo, hi] (lo <= hi, both finite); `empty` for no data.
// The first tick lies at min, the last at max. The step is the nice one nearest above
// (hi - lo) / intervals, so fewer intervals give fewer, wider-spaced ticks. The labels
// of one scale share one number of decimals.
TAxisScale ComputeAxisScale(
    double lo, double hi, bool empty = false, int intervals = kAxisIntervals);

// Exactly the range [lo, hi] (lo < hi, both finite), with the nice ticks that fall
// inside it, its edges included: a closer look at part of the data.
TAxisScale ComputeAxisWindow(double lo, double hi, int intervals = kAxisIntervals);

// Maps a value into the display units of `exponent`, and back.
double ToDisplay(double value, int exponent);
double FromDisplay(double display, int exponent);
