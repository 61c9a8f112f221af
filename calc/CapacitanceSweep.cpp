// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/CapacitanceSweep.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

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
        return at + "容量が実数になりません（平方根の中が数ではありません）。";
    case TSweepFault::ZeroCapacitance:
        return at + "容量が 0 になり、1/C² を計算できません。";
    case TSweepFault::OutOfRange:
        break;
    case TSweepFault::IntermediateOutOfRange:
        return at + "計算の途中の値が倍精度浮動小数点数の範囲を超えました（結果は範囲内です）。";
    case TSweepFault::PrecisionLost:
        return at + "倍精度浮動小数点数の精度が失われました（途中の値が非正規化数です）。";
    }
    return at + "値が倍精度浮動小数点数の範囲を超えました。";
}

bool IsSubnormal(double x) { return std::fpclassify(x) == FP_SUBNORMAL; }

// A positive finite value as m × 2^e with m in [0.5, 1): products of such values
// never leave the double range, whatever their size.
struct TScaled {
    double m;
    long e;
};

TScaled Scaled(double x)
{
    int e = 0;
    const double m = std::frexp(x, &e);
    return { m, e };
}

TScaled Normalised(TScaled x)
{
    const TScaled s = Scaled(x.m);
    return { s.m, x.e + s.e };
}

// Whether the exact C and 1/C² at bias v are both normal doubles, worked out in scaled
// form so that no product on the way can leave the range. Only asked when the double
// computation went out of range, to tell a result beyond the range from a product.
bool ResultsAreNormal(const TJunctionInput& in, double v)
{
    const double diff = in.Vd - v;
    for (double x : { in.Nd, in.EpsS, in.S, diff })
        if (!std::isfinite(x) || x == 0.0)
            return false;
    const TScaled nd = Scaled(std::abs(in.Nd)), eps = Scaled(std::abs(in.EpsS));
    const TScaled s = Scaled(std::abs(in.S)), d = Scaled(std::abs(diff));
    // C² = Nd × EpsS × q × ε0 × S² / (2 (Vd − V)); every factor of m is moderate.
    const TScaled c2 = Normalised(
        { nd.m * eps.m * ElementaryCharge * VacuumPermittivity * s.m * s.m / (2.0 * d.m),
            nd.e + eps.e + 2 * s.e - d.e });
    // C² = m × 2^e lies in [2^(e-1), 2^e). C and 1/C² are normal when C² lies in
    // [1/DBL_MAX, 1/DBL_MIN] = about [2^-1024, 2^1022].
    return c2.e - 1 >= -1024 && c2.e <= 1022;
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

        const double c2 = c * c;
        const double invC2 = 1.0 / c2;
        if (!std::isfinite(c) || !std::isfinite(invC2) || invC2 == 0.0)
            throw SweepError(ResultsAreNormal(input, v) ? TSweepFault::IntermediateOutOfRange
                                                        : TSweepFault::OutOfRange,
                v);
        // A subnormal on the way keeps only a few significant bits: the point's digits
        // would not be the formula's. (A subnormal C has a C² of zero, so it is out of
        // range above.)
        if (IsSubnormal(num) || IsSubnormal(ratio) || IsSubnormal(c2) || IsSubnormal(invC2))
            throw SweepError(TSweepFault::PrecisionLost, v);

        sink(consumer, TCVPoint { v, c, invC2 });
    }
}
