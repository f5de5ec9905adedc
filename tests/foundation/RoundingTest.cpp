#include "foundation/Rounding.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
}

TEST(Rounding, OtherValuesGoToTheNearest)
{
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
    EXPECT_EQ(RoundHalfEven(-2.6), -3);
    EXPECT_EQ(RoundHalfEven(0.5878), 1);
}

TEST(Rounding, OutOfRangeIsClamped)
{
    EXPECT_EQ(RoundHalfEven(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundHalfEven(-1e12), std::numeric_limits<int32_t>::min());
}

TEST(Rounding, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(5, -1, 2), -3);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);
    EXPECT_EQ(MulDiv(100, 96, 72), 133);
    // The product may exceed 32 bits as long as the quotient does not.
    EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);
}

TEST(Rounding, MulDivFailsWithMinusOne)
{
    EXPECT_EQ(MulDiv(1, 2, 0), -1);
    EXPECT_EQ(MulDiv(100000, 100000, 1), -1);
}

// The rule written out: the floor, one up above a half, and at a half only from an odd floor.
TEST(Rounding, AgreesWithTheRuleWrittenOutOnRandomValues)
{
    const auto byRule = [](double x) {
        double r = std::floor(x);
        const double diff = x - r;
        if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0))
            r += 1.0;
        return std::clamp(r, double(std::numeric_limits<int32_t>::min()),
                          double(std::numeric_limits<int32_t>::max()));
    };
    QRandomGenerator random(7);
    for (int i = 0; i < 200000; ++i) {
        // Halves, quarters and arbitrary fractions over small and large magnitudes.
        const double scale = std::ldexp(1.0, random.bounded(-4, 34));
        double x = (random.generateDouble() * 2 - 1) * scale;
        if (i % 3 == 0)
            x = std::round(x * 4) / 4;
        ASSERT_EQ(RoundHalfEven(x), int32_t(byRule(x))) << x;
    }
}
