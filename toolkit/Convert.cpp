// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Convert.h"

#include "toolkit/Exception.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace {

// A rejected text is quoted up to this many characters (code points), then "…".
constexpr int kQuotedCharacterLimit = 40;

// White space of every kind, as Unicode's White_Space property lists it: tab, line
// feed, vertical tab, form feed, carriage return, space, next line, no-break space, the
// other space separators (ogham, en quad to hair space, narrow no-break, medium
// mathematical, ideographic) and the line and paragraph separators. Text copied from a
// list or a spreadsheet cell brings these along around a number.
bool IsBlank(char16_t ch)
{
    switch (ch) {
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case u' ':
    case u'\u0085':
    case u'\u00a0':
    case u'\u1680':
    case u'\u2028':
    case u'\u2029':
    case u'\u202f':
    case u'\u205f':
    case u'\u3000':
        return true;
    default:
        return ch >= u'\u2000' && ch <= u'\u200a';
    }
}

// The text without the blanks around it; the blanks inside stay.
QStringView TrimBlanks(QStringView text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && IsBlank(text[first].unicode()))
        ++first;
    while (last > first && IsBlank(text[last - 1].unicode()))
        --last;
    return text.sliced(first, last - first);
}

// Whether a character shows nothing, or only space, where it stands: controls, format
// characters (zero-width space, joiners, direction marks, byte order mark), separators
// other than the plain space, halves of a broken surrogate pair, unassigned code
// points, and the other characters Unicode says to render invisibly.
bool IsInvisible(char32_t cp)
{
    if (cp == U' ')
        return false;
    switch (QChar::category(cp)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        break;
    }
    // Combining grapheme joiner, Hangul fillers, Khmer inherent vowels, Mongolian and
    // other variation selectors, the blank Braille pattern.
    return cp == 0x034F || cp == 0x115F || cp == 0x1160 || cp == 0x17B4 || cp == 0x17B5
        || (cp >= 0x180B && cp <= 0x180F) || cp == 0x2800 || cp == 0x3164
        || (cp >= 0xFE00 && cp <= 0xFE0F) || cp == 0xFFA0 || (cp >= 0xE0100 && cp <= 0xE01EF);
}

// How the quote shows a character that would otherwise be invisible: the usual names
// of the four control characters people meet, "<U+XXXX>" for every other one.
QString Notation(char32_t cp)
{
    switch (cp) {
    case 0x00:
        return QStringLiteral("<NUL>");
    case 0x09:
        return QStringLiteral("<TAB>");
    case 0x0A:
        return QStringLiteral("<LF>");
    case 0x0D:
        return QStringLiteral("<CR>");
    default:
        return QStringLiteral("<U+%1>")
            .arg(static_cast<uint>(cp), 4, 16, QLatin1Char('0'))
            .toUpper();
    }
}

// The text as the report quotes it: its first characters, each invisible one by its
// notation, and "…" when the text goes on. Counts code points, so that a character
// outside the Basic Multilingual Plane is never cut in half.
QString Quote(QStringView text)
{
    QString shown;
    int characters = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        if (characters == kQuotedCharacterLimit)
            return shown + QStringLiteral("…");
        const QChar ch = text[i];
        char32_t cp = ch.unicode();
        qsizetype units = 1;
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(ch, text[i + 1]);
            units = 2;
        }
        if (IsInvisible(cp))
            shown += Notation(cp);
        else
            shown += text.sliced(i, units);
        i += units;
        ++characters;
    }
    return shown;
}

enum class TFault { Blank, Unreadable, OutOfRange };

[[noreturn]] void Fail(QStringView text, TFault fault)
{
    const QString shown = Quote(text);
    QString message;
    switch (fault) {
    case TFault::Blank:
        message = QStringLiteral("「%1」は数値ではありません。数値を入力してください。").arg(shown);
        break;
    case TFault::Unreadable:
        message = QStringLiteral("「%1」は数値として読めません。").arg(shown);
        break;
    case TFault::OutOfRange:
        message = QStringLiteral("「%1」は倍精度浮動小数点数の範囲を超えています。").arg(shown);
        break;
    }
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
    default:
        return 0;
    }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

double StrToFloat(const QString& text)
{
    // The same judgement of blank serves the trimming and the choice of message.
    const QStringView number = TrimBlanks(text);
    if (number.isEmpty())
        Fail(text, TFault::Blank);
    std::string s;
    s.reserve(static_cast<std::size_t>(number.size()));
    for (const QChar qc : number) {
        const char c = AsciiTwin(qc.unicode());
        if (c == 0)
            Fail(text, TFault::Unreadable);
        s += c;
    }

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
        Fail(text, TFault::Unreadable);
    // The exponent's value saturates far beyond any text's length, so that
    // leadExponent + exponent still has the right sign for exponents of any length.
    constexpr long long kExponentCap = 1'000'000'000'000'000'000;
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            negativeExponent = s[i++] == '-';
        const std::size_t digitsStart = i;
        while (i < s.size() && IsDigit(s[i])) {
            if (exponent < kExponentCap / 10)
                exponent = exponent * 10 + (s[i] - '0');
            ++i;
        }
        if (i == digitsStart)
            Fail(text, TFault::Unreadable);
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != s.size())
        Fail(text, TFault::Unreadable);

    double value = 0.0;
    const char* begin = s.data() + numberStart;
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // from_chars refuses only results that round to zero or to infinity.
        if (!seenNonZero || leadExponent + exponent <= 0)
            return negative ? -0.0 : 0.0;
        Fail(text, TFault::OutOfRange);
    }
    if (ec != std::errc {} || ptr != end || !std::isfinite(value))
        Fail(text, TFault::Unreadable);
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
