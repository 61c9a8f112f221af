#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes tests/data/sweep-golden.txt: every point of the capacitance sweep for a set of
inputs, computed here with Python floats (IEEE doubles) in the program's documented
order of operations, so that the tests compare the C++ sweep with numbers it did not
produce itself.

    python3 scripts/golden_sweep.py            # rewrite the table
    python3 scripts/golden_sweep.py --check    # exit 1 if the table is out of date

The sweep, as the program documents it: the bias V starts at -4.0 and grows by 0.1,
each step rounded (an accumulated sum); points are computed while V <= 4.0 and
V < Vd. At each point
    denom = (Vd - V) * 2.0
    num   = ((Nd * EpsS) * q) * eps0        (q = 1.6e-19, eps0 = 8.855e-12)
    ratio = num / denom
    C     = sqrt(ratio) * S
    InvC2 = 1.0 / (C * C)
The sweep stops at the first point whose values cannot be shown: a ratio that is
negative because num is (NegativeProduct) or is not a number (NoRealValue), C equal to
zero (ZeroCapacitance), C or InvC2 not finite or InvC2 zero (OutOfRange, or
IntermediateOutOfRange when the exact C and InvC2 are both normal doubles, so that only
a product on the way left the range), or one of num, ratio, C, C * C and InvC2
subnormal (PrecisionLost: a subnormal keeps too few significant bits for the digits the
lists show). The points before it stay delivered. The exact values are worked out here
with rationals, independently of the double arithmetic above.

File format, one record a line, fields separated by one space:
    input NAME ND EPSS VD S ND_TEXT EPSS_TEXT VD_TEXT S_TEXT
    point V C INVC2 C_TEXT INVC2_TEXT
    fault KIND V
Numbers are the 16 hex digits of the double's bit pattern. The *_TEXT fields are what
the result lists show (the shortest text that reads back to the same double; exponent
form when the decimal exponent is below -4 or at least 16; no ".0" after a whole
number) and, for the inputs, a text that reads back to the input exactly. An input's
points follow its input line in the order of the sweep, then its fault if it has one.
"""

import math
import os
from fractions import Fraction
import random
import struct
import sys

ELEMENTARY_CHARGE = 1.6e-19
VACUUM_PERMITTIVITY = 8.855e-12
SWEEP_START = -4.0
SWEEP_STEP = 0.1
SWEEP_LIMIT = 4.0

SEED = 20261210
RANDOM_ROWS = 300


def bits(x):
    return "%016X" % struct.unpack("<Q", struct.pack("<d", x))[0]


def text(x):
    if math.isnan(x):
        return "NAN"
    if math.isinf(x):
        return "INF" if x > 0 else "-INF"
    s = repr(x)
    return s[:-2] if s.endswith(".0") else s


def product(nd, eps_s):
    return ((nd * eps_s) * ELEMENTARY_CHARGE) * VACUUM_PERMITTIVITY


def subnormal(x):
    return x != 0.0 and abs(x) < sys.float_info.min


def exact_results_are_normal(nd, eps_s, vd, v, s):
    """Whether the exact C and 1/C^2 at bias v are both normal doubles. With X = C^2,
    that is DBL_MIN^2 <= X <= DBL_MAX^2 and 1/DBL_MAX <= X <= 1/DBL_MIN."""
    if not all(math.isfinite(x) for x in (nd, eps_s, vd, s)) or s == 0.0:
        return False
    lowest, highest = Fraction(sys.float_info.min), Fraction(sys.float_info.max)
    x = (Fraction(nd) * Fraction(eps_s) * Fraction(ELEMENTARY_CHARGE)
         * Fraction(VACUUM_PERMITTIVITY) / ((Fraction(vd) - Fraction(v)) * 2) * Fraction(s) ** 2)
    return max(lowest ** 2, 1 / highest) <= x <= min(highest ** 2, 1 / lowest)


def sweep(nd, eps_s, vd, s, num_of=product):
    """Returns (points, fault): points as (V, C, InvC2), fault as (kind, V) or None."""
    points = []
    num = num_of(nd, eps_s)
    v = SWEEP_START
    while v <= SWEEP_LIMIT and not (vd <= v):
        denom = (vd - v) * 2.0
        ratio = num / denom
        if not ratio >= 0.0:
            return points, ("NegativeProduct" if num < 0.0 else "NoRealValue", v)
        c = math.sqrt(ratio) * s
        if c == 0.0:
            return points, ("ZeroCapacitance", v)
        c2 = c * c
        # IEEE division by zero gives infinity; Python raises instead.
        inv_c2 = math.inf if c2 == 0.0 else 1.0 / c2
        if not math.isfinite(c) or not math.isfinite(inv_c2) or inv_c2 == 0.0:
            if exact_results_are_normal(nd, eps_s, vd, v, s):
                return points, ("IntermediateOutOfRange", v)
            return points, ("OutOfRange", v)
        if any(subnormal(x) for x in (num, ratio, c, c2, inv_c2)):
            return points, ("PrecisionLost", v)
        points.append((v, c, inv_c2))
        v += SWEEP_STEP
    return points, None


# Inputs with a name: the window's example, the ends of the double range, an input
# whose points change when the constant product is multiplied in another order, and
# one input for each way the sweep can stop early.
NAMED = [
    ("example", (1e-16, 10.0, 0.4, 10.0)),
    # SI inputs (silicon): C comes out in farads, about 1.328e-10 F at -4 V.
    ("si", (1e22, 11.7, 0.7, 1e-6)),
    # Nd * EpsS close to the largest double; C grows until InvC2 would be subnormal.
    ("top", (1.7e307, 10.0, 0.4, 3e14)),
    # A subnormal density: num and ratio are subnormal, with few significant bits.
    ("bottom", (1e-310, 1e20, 0.4, 1e10)),
    # (Nd * EpsS) * (q * eps0) and Nd * (EpsS * (q * eps0)) both give other bits here.
    ("association", (3e-16, 12.0, 0.4, 10.0)),
    # A Vd off the ladder and below zero.
    ("negative_vd", (2e-16, 12.0, -1.25, 5.0)),
    ("no_point", (1e-16, 10.0, -4.0, 10.0)),
    ("full_ladder", (1e-16, 10.0, 100.0, 10.0)),
    ("negative_density", (-1.0, 10.0, 0.4, 10.0)),
    ("zero_density", (0.0, 10.0, 0.4, 10.0)),
    ("zero_area", (1e-16, 10.0, 0.4, 0.0)),
    ("inverse_square_overflows", (1e-16, 10.0, 0.4, 1e-137)),
    # Nd * EpsS overflows, though C (4e144) and InvC2 are ordinary doubles.
    ("huge_density", (1e308, 1e10, 0.4, 10.0)),
    ("intermediate_overflow", (1e300, 1e10, 0.4, 10.0)),
    # num is a subnormal with a few bits: C would be shown 8 % off.
    ("subnormal_product", (3e-295, 10.0, -3.95, 1e10)),
    # C grows along the sweep until C * C leaves the double range. Vd lies just above
    # the last bias, so that the step before still has a normal InvC2.
    ("overflow_after_good_points", (1.0, 1.0, 0.401, 1.2e168)),
    # C grows along the sweep until InvC2 is subnormal, some steps before C * C would
    # leave the range.
    ("precision_lost_after_good_points", (1.0, 1.0, 0.0, 1e169)),
    ("top_overflows_late", (1.7e307, 10.0, 0.4, 1e15)),
]


def check_named_rows():
    """The named inputs do what their comments say."""
    named = dict(NAMED)
    q_eps0 = ELEMENTARY_CHARGE * VACUUM_PERMITTIVITY
    points, _ = sweep(*named["association"])
    for other in (lambda nd, e: (nd * e) * q_eps0, lambda nd, e: nd * (e * q_eps0)):
        changed, _ = sweep(*named["association"], num_of=other)
        assert changed != points, "association: another product order gives the same bits"
    nd, eps_s, _, _ = named["top"]
    points, fault = sweep(*named["top"])
    assert fault[0] == "PrecisionLost" and nd * eps_s > 1e308 and points[-1][1] ** 2 > 1e307
    assert points[-1][2] >= sys.float_info.min, "top: the last InvC2 is normal"
    points, fault = sweep(*named["bottom"])
    assert fault == ("PrecisionLost", SWEEP_START) and not points
    assert 0.0 < product(*named["bottom"][:2]) < sys.float_info.min
    assert named["bottom"][0] < sys.float_info.min, "bottom: Nd is subnormal"
    for name in ("huge_density", "intermediate_overflow"):
        nd, eps_s, _, _ = named[name]
        assert math.isinf(nd * eps_s) and sweep(*named[name])[1][0] == "IntermediateOutOfRange"
    points, fault = sweep(*named["overflow_after_good_points"])
    assert fault[0] == "OutOfRange" and len(points) == 44
    points, fault = sweep(*named["precision_lost_after_good_points"])
    assert fault[0] == "PrecisionLost" and len(points) > 0


def random_inputs():
    """Densities and areas spread over many decades, permittivities and Vd over their
    usual range, a few negative densities; every number with a full significand."""
    rng = random.Random(SEED)
    rows = []
    for i in range(RANDOM_ROWS):
        nd = 10.0 ** rng.uniform(-30.0, 30.0)
        if rng.random() < 0.05:
            nd = -nd
        eps_s = rng.uniform(1.0, 20.0)
        vd = rng.uniform(-4.5, 4.5)
        s = 10.0 ** rng.uniform(-12.0, 12.0)
        rows.append(("random_%03d" % i, (nd, eps_s, vd, s)))
    return rows


def table():
    check_named_rows()
    lines = ["# The capacitance sweep's points for fixed and random inputs, computed by",
             "# scripts/golden_sweep.py (which describes the format). Do not edit by hand."]
    for name, inputs in NAMED + random_inputs():
        for x in inputs:
            assert float(text(x)) == x
        lines.append(" ".join(["input", name] + [bits(x) for x in inputs]
                              + [text(x) for x in inputs]))
        points, fault = sweep(*inputs)
        for v, c, inv_c2 in points:
            lines.append(" ".join(["point", bits(v), bits(c), bits(inv_c2),
                                   text(c), text(inv_c2)]))
        if fault:
            lines.append(" ".join(["fault", fault[0], bits(fault[1])]))
    return "\n".join(lines) + "\n"


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = os.path.join(root, "tests", "data", "sweep-golden.txt")
    content = table()
    if sys.argv[1:] == ["--check"]:
        with open(path, encoding="ascii") as f:
            if f.read() != content:
                print("%s is out of date: run %s" % (path, sys.argv[0]), file=sys.stderr)
                return 1
        return 0
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write(content)
    print("wrote %s" % path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
