#include "toolkit/Convert.h"

#include "toolkit/Exception.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace {

constexpr qsizetype kQuotedTextLimit = 40;

[[noreturn]] void Fail(const QString& text, bool outOfRange)
{
    QString shown = text;
    if (shown.size() > kQuotedTextLimit)
        shown = shown.left(kQuotedTextLimit) + QStringLiteral("…");
    const QString message = outOfRange
        ? QStringLiteral("「%1」は倍精度浮動小数点数の範囲を超えています。").arg(shown)
        : text.trimmed().isEmpty()
        ? QStringLiteral("「%1」は数値ではありません。数値を入力してください。").arg(shown)
        : QStringLiteral("「%1」は数値として読めません。").arg(shown);
    throw EConvertError(message.toStdString());
}

// Maps one character to the ASCII character it stands for in a number, or 0.
char AsciiTwin(char16_t ch)
{
    if (ch < 0x80)
        return static_cast<char>(ch);
    if (ch >= u'０' && ch <= u'９')
        return static_cast<char>('0' + (ch - u'０'));
    switch (ch) {
    case u'．':
        return '.';
    case u'＋':
        return '+';
    case u'－':
    case u'\u2212':
        return '-';
    case u'ｅ':
    case u'Ｅ':
        return 'e';
    case u'\u3000':
        return ' ';
    default:
        return 0;
    }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

double StrToFloat(const QString& text)
{
    std::string s;
    s.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar qc : text) {
        const char c = AsciiTwin(qc.unicode());
        if (c == 0)
            Fail(text, false);
        s += c;
    }

    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        Fail(text, false);
    s = s.substr(first, s.find_last_not_of(" \t") - first + 1);

    // Grammar: [+-] (digits [. digits*] | . digits) [(e|E) [+-] digits]
    std::size_t i = 0;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-')
        negative = s[i++] == '-';
    const std::size_t numberStart = i;
    std::size_t intDigits = 0, fracDigits = 0;
    // Decimal exponent of the first non-zero digit, counted from the decimal point;
    // tells an underflow from an overflow when the value is out of range.
    long long leadExponent = 0;
    bool seenNonZero = false;
    while (i < s.size() && IsDigit(s[i])) {
        if (!seenNonZero && s[i] != '0')
            seenNonZero = true;
        if (seenNonZero)
            ++leadExponent;
        ++i, ++intDigits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            if (!seenNonZero) {
                if (s[i] == '0')
                    --leadExponent;
                else
                    seenNonZero = true;
            }
            ++i, ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0)
        Fail(text, false);
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            negativeExponent = s[i++] == '-';
        const std::size_t digitsStart = i;
        while (i < s.size() && IsDigit(s[i])) {
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + (s[i] - '0');
            ++i;
        }
        if (i == digitsStart)
            Fail(text, false);
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != s.size())
        Fail(text, false);

    double value = 0.0;
    const char* begin = s.data() + numberStart;
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // from_chars refuses only results that round to zero or to infinity.
        if (!seenNonZero || leadExponent + exponent <= 0)
            return negative ? -0.0 : 0.0;
        Fail(text, true);
    }
    if (ec != std::errc {} || ptr != end || !std::isfinite(value))
        Fail(text, false);
    return negative ? -value : value;
}

QString FloatToStr(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    // The shortest digits that read back to the same double, as "d.ddde±XX".
    char buf[32];
    const auto [end, ec]
        = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    if (ec != std::errc {})
        return QString();
    const std::string_view text(buf, static_cast<std::size_t>(end - buf));
    const std::size_t e = text.find('e');
    const bool negative = text.front() == '-';
    const std::string_view mantissa = text.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), end, exponent);

    // Very small and very large values keep the exponent form: written out, they would
    // show a long row of zeros or integer digits that carry no information.
    if (exponent < -4 || exponent >= 16)
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));

    std::string digits;
    for (const char c : mantissa)
        if (c != '.')
            digits += c;
    std::string plain = negative ? "-" : "";
    if (exponent < 0) {
        plain += "0.";
        plain.append(static_cast<std::size_t>(-exponent - 1), '0');
        plain += digits;
    } else {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            plain += digits;
            plain.append(integerDigits - digits.size(), '0');
        } else {
            plain += digits.substr(0, integerDigits);
            plain += '.';
            plain += digits.substr(integerDigits);
        }
    }
    return QString::fromLatin1(plain.data(), static_cast<qsizetype>(plain.size()));
}
