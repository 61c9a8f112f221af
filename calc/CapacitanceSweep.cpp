// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/CapacitanceSweep.h"

#include <charconv>
#include <cmath>

namespace {

std::string ShortestText(double v)
{
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc {} ? std::string(buf, end) : std::string("?");
}

std::string FaultMessage(TSweepFault fault, double v)
{
    const std::string at = "V = " + ShortestText(v) + " で";
    switch (fault) {
    case TSweepFault::NegativeProduct:
        // The product does not depend on the bias: the first point already fails.
        return "Nd × εs が負のため、容量が実数になりません（V = " + ShortestText(v) + "）。";
    case TSweepFault::NoRealValue:
        return at + "容量が実数になりません（平方根の中が負です）。";
    case TSweepFault::ZeroCapacitance:
        return at + "容量が 0 になり、1/C² を計算できません。";
    case TSweepFault::OutOfRange:
        break;
    }
    return at + "値が倍精度浮動小数点数の範囲を超えました。";
}

} // namespace

SweepError::SweepError(TSweepFault fault, double v)
    : std::runtime_error(FaultMessage(fault, v))
    , fault_(fault)
    , v_(v)
{
}

void calc_detail::RunSweep(const TJunctionInput& input, void* consumer, PointSink sink)
{
    // Independent of V, so computed once; the product order is part of the result.
    const double num = ((input.Nd * input.EpsS) * ElementaryCharge) * VacuumPermittivity;

    // The bias is an accumulated sum, never SweepStart + k * SweepStep: the drift of
    // the accumulated 0.1 steps decides which points exist (at most 80, never 81).
    // "Vd <= v ends the sweep", written so that a Vd that is not a number does not end
    // it silently but reaches the checks below.
    for (double v = SweepStart; v <= SweepLimit && !(input.Vd <= v); v += SweepStep) {
        const double denom = (input.Vd - v) * 2.0;
        const double ratio = num / denom;
        if (!(ratio >= 0.0)) // negative (denom is positive), or not a number
            throw SweepError(
                num < 0.0 ? TSweepFault::NegativeProduct : TSweepFault::NoRealValue, v);

        const double c = std::sqrt(ratio) * input.S;
        if (c == 0.0)
            throw SweepError(TSweepFault::ZeroCapacitance, v);

        const double invC2 = 1.0 / (c * c);
        if (!std::isfinite(c) || !std::isfinite(invC2) || invC2 == 0.0)
            throw SweepError(TSweepFault::OutOfRange, v);

        sink(consumer, TCVPoint { v, c, invC2 });
    }
}
