#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the expected number texts of the result lists: one line per double, its bit
pattern in hex, a tab, and Python's repr of it with a trailing ".0" removed. Python's
repr is the shortest text that reads back to the same double, in exponent form when the
decimal exponent is below -4 or 16 and above.

    python3 scripts/float-texts.py > tests/data/float-texts.tsv
"""
import math
import random
import struct
import sys


def bits(x):
    return struct.unpack("<Q", struct.pack("<d", x))[0]


def text(x):
    r = repr(x)
    if r == "inf":
        return "INF"
    if r == "-inf":
        return "-INF"
    if r == "nan":
        return "NAN"
    return r[:-2] if r.endswith(".0") else r


def values():
    # Around every power of ten, where the number of digits and the form change.
    for e in range(-324, 309):
        x = float(f"1e{e}")
        for y in (x, math.nextafter(x, 0.0), math.nextafter(x, math.inf)):
            yield y
            yield -y
    for x in (0.0, -0.0, 5e-324, 2.2250738585072014e-308, 1.7976931348623157e308,
              0.1, 0.3, 2.0**53, 2.0**53 + 2, 2.0**63, 123456789012345678.0,
              1234567890123456.8, 9999999999999998.0, 0.00012345678901234567,
              math.inf, -math.inf):
        yield x
        yield -x
    rng = random.Random(20261209)
    # Any bit pattern: mostly far from the plain range.
    for _ in range(2000):
        x = struct.unpack("<d", struct.pack("<Q", rng.getrandbits(64)))[0]
        if math.isfinite(x):
            yield x
    # Magnitudes from 1e-7 to 1e19: the plain form and both of its edges.
    for _ in range(3000):
        yield rng.choice((-1, 1)) * rng.random() * 10.0 ** rng.randint(-6, 19)
    # Integers and short decimals, written without an exponent.
    for _ in range(500):
        yield float(rng.randint(-10**16, 10**16))
        yield rng.randint(-10**6, 10**6) / 10 ** rng.randint(0, 6)


def main():
    seen = set()
    out = sys.stdout
    for x in values():
        b = bits(x)
        if b in seen:
            continue
        seen.add(b)
        out.write(f"{b:016x}\t{text(x)}\n")


if __name__ == "__main__":
    main()
