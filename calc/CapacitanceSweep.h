// SPDX-License-Identifier: GPL-3.0-or-later
// The capacitance sweep: the depletion capacitance C and 1/C² of a junction on a
// uniformly donor-doped semiconductor, computed on the bias ladder -4.0, -3.9, ...
// and handed out point by point. Plain C++: knows nothing of windows or text widgets.
#pragma once

#include <concepts>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>

// The four junction parameters, in the order the window reads them.
struct TJunctionInput {
    double Nd; // donor density
    double EpsS; // relative permittivity
    double Vd; // diffusion (built-in) potential
    double S; // electrode area
};

// One computed point of the sweep.
struct TCVPoint {
    double V; // bias voltage
    double C; // capacitance at V
    double InvC2; // 1 / C² at V
};

inline constexpr double ElementaryCharge = 1.6e-19;
inline constexpr double VacuumPermittivity = 8.855e-12;
inline constexpr double SweepStart = -4.0;
inline constexpr double SweepStep = 0.1;
inline constexpr double SweepLimit = 4.0;

// What went wrong at a point that cannot be shown as a finite, non-zero number.
enum class TSweepFault {
    NegativeProduct, // Nd × εs is negative, so the square root's argument is
    NoRealValue, // the square root's argument is not a number
    ZeroCapacitance, // C is zero, so 1/C² does not exist
    OutOfRange, // C, C² or 1/C² lies beyond the double range
    // A product on the way left the double range, though C and 1/C² themselves would
    // be normal doubles (Nd × EpsS overflows, for instance).
    IntermediateOutOfRange,
    // num, ratio, C, C² or 1/C² is a subnormal double: it keeps too few significant
    // bits for the digits a result is shown with.
    PrecisionLost,
};

// Thrown by SweepCV at the first point that cannot be delivered. what() is a short
// Japanese text for the user naming the fault and the bias where it happened.
class SweepError : public std::runtime_error {
public:
    SweepError(TSweepFault fault, double v);
    [[nodiscard]] TSweepFault Fault() const noexcept { return fault_; }
    [[nodiscard]] double V() const noexcept { return v_; }

private:
    TSweepFault fault_;
    double v_;
};

namespace calc_detail {
using PointSink = void (*)(void* consumer, const TCVPoint& point);
void RunSweep(const TJunctionInput& input, void* consumer, PointSink sink);
}

// Runs one sweep from SweepStart and calls `consumer` once per point, in strictly
// increasing V, the moment the point is computed. At most 80 points; none at or above
// input.Vd. Only points whose C and InvC2 are both finite, non-zero and computed from
// normal (not subnormal) values are delivered; at the first point where that fails a
// SweepError is thrown (the points before it stay delivered). An exception thrown by the consumer
// ends the sweep and propagates.
template <typename Consumer>
requires std::invocable<Consumer&, const TCVPoint&>
void SweepCV(const TJunctionInput& input, Consumer&& consumer)
{
    using C = std::remove_reference_t<Consumer>;
    calc_detail::RunSweep(input,
        const_cast<void*>(static_cast<const void*>(std::addressof(consumer))),
        [](void* c, const TCVPoint& point) { (*static_cast<C*>(c))(point); });
}
