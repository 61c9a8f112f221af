// SPDX-License-Identifier: GPL-3.0-or-later
// Text <-> number conversion for the input fields and the result lists. Independent of
// the process locale: '.' is always the decimal point.
#pragma once

#include <QString>

// Reads decimal notation with an optional exponent ("10e-17", "0.4", "-4", ".5", "1E+3").
// Blanks around the number are ignored, and the full-width forms an input method types
// (digits, "．", "＋", "－", "ｅ", "Ｅ", U+2212 and the ideographic space) count as their
// ASCII twins. Throws EConvertError for anything else, the empty text included, and for
// values beyond the double range. A value below the smallest double reads as the
// nearest double (zero or a subnormal).
double StrToFloat(const QString& text);

// The shortest text that StrToFloat reads back to the same double. Written out in
// decimals while the value's decimal exponent is from -4 to 15 ("-4", "0.0001",
// "1234567890123456.8"), in exponent form below and above, with a signed exponent of at
// least two digits ("1e-05", "1e+16", "1.268857754044952e-22"). Non-finite values give
// "INF", "-INF" or "NAN".
QString FloatToStr(double value);
