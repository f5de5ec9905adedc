#pragma once

#include "foundation/TNumber.h"

#include <cmath>
#include <cstdint>

// How vectors and matrices convert and compare their element types.
template <typename T>
struct TNumericTraits;

template <>
struct TNumericTraits<int32_t>
{
    static constexpr int32_t MaxSentinel = -2147483647; // FindMax starts below everything but INT_MIN
    static constexpr int32_t MinSentinel = 2147483647;

    static int32_t From(TNumber n) { return n.ToInt(); }
    static TNumber To(int32_t v) { return TNumber(v); }
    static bool Less(int32_t a, int32_t b) { return a < b; }
    static bool Greater(int32_t a, int32_t b) { return a > b; }
    static bool Equal(int32_t a, int32_t b) { return a == b; }
    // The sign of a - b taken in wrapping 32-bit arithmetic, so extreme values may compare
    // the "wrong" way; callers only compare indexes and small counters.
    static int32_t Sign(int32_t a, int32_t b)
    {
        const auto d = int32_t(uint32_t(a) - uint32_t(b));
        return d > 0 ? 1 : d < 0 ? -1 : 0;
    }
};

template <>
struct TNumericTraits<float>
{
    static constexpr float Tolerance = 1e-6f;
    static constexpr float MaxSentinel = -1e38f;
    static constexpr float MinSentinel = 1e38f;

    static float From(TNumber n) { return n.ToFloat(); }
    static TNumber To(float v) { return TNumber(double(v)); }
    static bool Less(float a, float b) { return double(a) - double(b) < -double(Tolerance); }
    static bool Greater(float a, float b) { return double(a) - double(b) > double(Tolerance); }
    static bool Equal(float a, float b) { return std::fabs(double(a) - double(b)) <= double(Tolerance); }
    static int32_t Sign(float a, float b)
    {
        const float d = a - b;
        return d > Tolerance ? 1 : d < -Tolerance ? -1 : 0;
    }
};
