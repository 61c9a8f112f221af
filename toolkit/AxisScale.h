// Axis ranges and tick labels for chart data of any finite magnitude. Qt's value axes
// lose their grid and labels for spans of 1e-12 or less and print long fixed-point
// labels; the charts therefore draw in scaled display units (value * 10^-exponent) and
// label the ticks with exact decimal texts such as "1.2e-22" or "6e+43".
#pragma once

#include <QString>

#include <vector>

struct TAxisTick {
    double position; // in display units
    QString label; // the true value, as text
};

struct TAxisScale {
    int exponent = 0; // display = value * 10^-exponent
    double min = 0.0; // range in display units
    double max = 1.0;
    std::vector<TAxisTick> ticks; // ascending, first at min, last at max

    bool operator==(const TAxisScale& other) const;
};

// A range of nice ticks covering [lo, hi] (lo <= hi, both finite); `empty` for no data.
TAxisScale ComputeAxisScale(double lo, double hi, bool empty = false);

// Maps a value into the display units of `exponent`.
double ToDisplay(double value, int exponent);
