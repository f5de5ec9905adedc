#include "foundation/Rounding.h"

#include <cmath>
#include <limits>

int32_t RoundHalfEven(double x)
{
    if (std::isnan(x))
        return 0;
    // The processor's own rounding, to nearest with halves to even; the program never changes
    // the rounding mode.
    const double r = std::nearbyint(x);
    if (r >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (r <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return int32_t(r);
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return -1;
    const int64_t product = int64_t(a) * int64_t(b);
    const bool negative = (product < 0) != (c < 0);
    const uint64_t num = product < 0 ? uint64_t(-product) : uint64_t(product);
    const uint64_t den = c < 0 ? uint64_t(-int64_t(c)) : uint64_t(c);
    uint64_t q = num / den;
    if ((num % den) * 2 >= den)
        ++q;
    if (q > uint64_t(std::numeric_limits<int32_t>::max()) + (negative ? 1u : 0u))
        return -1;
    return negative ? int32_t(-int64_t(q)) : int32_t(q);
}
