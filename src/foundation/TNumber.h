#pragma once

#include <cstdint>

// The number that crosses the shared interface of vectors and matrices: an integer or a
// real, kept as given, converted by each container to its own element type.
class TNumber
{
public:
    TNumber(int32_t value) : FIsInteger(true), FInteger(value), FReal(value) {}
    TNumber(double value) : FIsInteger(false), FInteger(0), FReal(value) {}

    bool IsInteger() const { return FIsInteger; }
    double ToDouble() const { return FReal; }
    // Non-integral values go to the nearest integer, halves to even.
    int32_t ToInt() const;
    float ToFloat() const { return float(FReal); }

    // Integers add in 32-bit arithmetic, anything else as reals.
    friend TNumber operator+(const TNumber& a, const TNumber& b);
    friend bool operator==(const TNumber& a, const TNumber& b)
    {
        return a.FIsInteger && b.FIsInteger ? a.FInteger == b.FInteger : a.FReal == b.FReal;
    }

private:
    bool FIsInteger;
    int32_t FInteger;
    double FReal;
};
