// Fuzzes the text-to-number conversion and the number-to-text round trip: no input may
// crash or trip a sanitizer, every accepted text gives a finite double, and every finite
// double written by FloatToStr reads back to the same bits.
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void CheckRoundTrip(double x)
{
    if (!std::isfinite(x))
        return;
    const double back = StrToFloat(FloatToStr(x)); // must not throw
    if (std::bit_cast<std::uint64_t>(back) != std::bit_cast<std::uint64_t>(x))
        std::abort();
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
        if (std::strlen(e.what()) == 0)
            std::abort();
    }
    // The same bytes seen as a double.
    if (size >= sizeof(double)) {
        double x;
        std::memcpy(&x, data, sizeof x);
        CheckRoundTrip(x);
    }
    return 0;
}
