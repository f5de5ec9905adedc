#include "foundation/TNumber.h"

#include "foundation/Rounding.h"

int32_t TNumber::ToInt() const
{
    return FIsInteger ? FInteger : RoundHalfEven(FReal);
}

TNumber operator+(const TNumber& a, const TNumber& b)
{
    if (a.FIsInteger && b.FIsInteger)
        return TNumber(int32_t(uint32_t(a.FInteger) + uint32_t(b.FInteger)));
    return TNumber(a.FReal + b.FReal);
}
