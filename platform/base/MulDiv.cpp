#include "platform/base/MulDiv.h"

#include <cstdint>
#include <limits>

int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    std::int64_t nProduct = static_cast<std::int64_t>(nNumber) * nNumerator;
    bool bNegative = (nProduct < 0) != (nDenominator < 0);
    // Magnitudes fit in 63 bits (|product| <= 2^62), so the rounding cannot overflow.
    auto nMagnitude = static_cast<std::uint64_t>(nProduct < 0 ? -nProduct : nProduct);
    auto nDivisor
        = static_cast<std::uint64_t>(nDenominator < 0 ? -static_cast<std::int64_t>(nDenominator) : nDenominator);
    std::uint64_t nQuotient = (nMagnitude + nDivisor / 2) / nDivisor;
    std::uint64_t nLimit = bNegative ? static_cast<std::uint64_t>(std::numeric_limits<int>::max()) + 1
                                     : static_cast<std::uint64_t>(std::numeric_limits<int>::max());
    if (nQuotient > nLimit)
        return -1;
    return bNegative ? static_cast<int>(-static_cast<std::int64_t>(nQuotient)) : static_cast<int>(nQuotient);
}
