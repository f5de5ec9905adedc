#pragma once

#include <cstdint>

// The two integer roundings the program uses everywhere: real numbers go to the nearest
// integer with halves to even; integer scaling a * b / c rounds halves away from zero.

// Nearest integer, halves to even; values beyond the 32-bit range are clamped.
int32_t RoundHalfEven(double x);

// a * b / c computed in 64 bits, rounded half away from zero. -1 when c is 0 or the result
// does not fit in 32 bits, as the platform call it stands for does.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);
