// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the text-to-number conversion and the number-to-text round trip: no input may
// crash or trip a sanitizer, every accepted text gives a finite double, every rejected
// text's message is valid UTF-8 that shows no control or invisible character raw, and
// every finite double written by FloatToStr reads back to the same bits.
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void CheckRoundTrip(double x)
{
    if (!std::isfinite(x))
        return;
    const double back = StrToFloat(FloatToStr(x)); // must not throw
    if (std::bit_cast<std::uint64_t>(back) != std::bit_cast<std::uint64_t>(x))
        std::abort();
}

// Decodes one UTF-8 sequence at `i` strictly (no overlong forms, no surrogates, nothing
// above U+10FFFF); returns the code point and advances `i`, or returns -1.
long NextCodePoint(const std::string& s, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned lead = byte(i);
    int length = 0;
    unsigned long cp = 0;
    if (lead < 0x80) {
        length = 1, cp = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07;
    } else {
        return -1;
    }
    if (i + static_cast<std::size_t>(length) > s.size())
        return -1;
    for (int k = 1; k < length; ++k) {
        const unsigned next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80)
            return -1;
        cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr unsigned long kSmallest[] = { 0, 0, 0x80, 0x800, 0x10000 };
    if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return -1;
    i += static_cast<std::size_t>(length);
    return static_cast<long>(cp);
}

// Characters a message must never show raw: controls (C0, DEL, C1) and the common
// invisible ones (no-break space, soft hyphen, zero-width and direction characters,
// line and paragraph separators, the byte order mark).
bool IsRawInvisible(long cp)
{
    return cp < 0x20 || (cp >= 0x7F && cp <= 0xA0) || cp == 0xAD || (cp >= 0x200B && cp <= 0x200F)
        || (cp >= 0x2028 && cp <= 0x202F) || (cp >= 0x2060 && cp <= 0x2064) || cp == 0xFEFF;
}

void CheckMessage(const EConvertError& error)
{
    const std::string& message = error.Message();
    if (message.empty() || std::strlen(error.what()) != message.size())
        std::abort();
    for (std::size_t i = 0; i < message.size();) {
        const long cp = NextCodePoint(message, i);
        if (cp < 0 || IsRawInvisible(cp))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text
        = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const double value = StrToFloat(text);
        if (!std::isfinite(value))
            std::abort();
        CheckRoundTrip(value);
    } catch (const EConvertError& e) {
        CheckMessage(e);
    }
    // The same bytes seen as a double.
    if (size >= sizeof(double)) {
        double x;
        std::memcpy(&x, data, sizeof x);
        CheckRoundTrip(x);
    }
    return 0;
}
