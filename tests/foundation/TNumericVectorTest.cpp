#include "foundation/TNumericMatrix.h"
#include "foundation/TNumericVector.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

template <typename V>
V Make(std::initializer_list<double> values)
{
    V v;
    for (double x : values)
        v.Append(x);
    return v;
}

template <typename V>
std::vector<double> Elements(const V& v)
{
    std::vector<double> result;
    for (int32_t i = 0; i < v.Count(); ++i)
        result.push_back(double(v.Items(i)));
    return result;
}

using D = std::vector<double>;

template <typename V>
class BothVectors : public ::testing::Test
{
};
using VectorTypes = ::testing::Types<TIntVector, TFloatVector>;
TYPED_TEST_SUITE(BothVectors, VectorTypes);

} // namespace

TYPED_TEST(BothVectors, SizingZeroesEveryElement)
{
    TypeParam v(3);
    EXPECT_EQ(Elements(v), D({0, 0, 0}));
    v.Fill(7);
    v.SetSize(4);
    EXPECT_EQ(Elements(v), D({0, 0, 0, 0}));
    v.Clear();
    EXPECT_EQ(v.Count(), 0);
}

TYPED_TEST(BothVectors, InsertStoresOnlyUpToTheOldEnd)
{
    auto v = Make<TypeParam>({1, 2, 3});
    v.Insert(9, 0);
    EXPECT_EQ(Elements(v), D({9, 1, 2, 3}));
    v.Insert(8, 4); // the old count: appends
    EXPECT_EQ(Elements(v), D({9, 1, 2, 3, 8}));
    v.Insert(7, 10); // beyond: one more zero, value dropped
    EXPECT_EQ(Elements(v), D({9, 1, 2, 3, 8, 0}));
    v.InsertCopies(5, 1, 2);
    EXPECT_EQ(Elements(v), D({9, 5, 5, 1, 2, 3, 8, 0}));
    v.InsertCopies(5, 1, -1);
    EXPECT_EQ(v.Count(), 8);
}

TYPED_TEST(BothVectors, DeleteIgnoresIndexesOutside)
{
    auto v = Make<TypeParam>({1, 2, 3});
    v.Delete(3);
    v.Delete(-1);
    EXPECT_EQ(Elements(v), D({1, 2, 3}));
    v.Delete(1);
    EXPECT_EQ(Elements(v), D({1, 3}));
}

TYPED_TEST(BothVectors, AddAndAddToNeedTheReceiverAtLeastAsLong)
{
    auto own = Make<TypeParam>({1, 2, 3});
    auto shorter = Make<TypeParam>({10, 20});
    own.Add(shorter);
    EXPECT_EQ(Elements(own), D({11, 22, 3}));
    own.AddTo(shorter);
    EXPECT_EQ(Elements(shorter), D({21, 42}));
    EXPECT_EQ(Elements(own), D({11, 22, 3}));

    auto longer = Make<TypeParam>({1, 1, 1, 1});
    own.Add(longer);
    own.AddTo(longer);
    EXPECT_EQ(Elements(own), D({11, 22, 3}));
    EXPECT_EQ(Elements(longer), D({1, 1, 1, 1}));
}

TYPED_TEST(BothVectors, Shifts)
{
    auto v = Make<TypeParam>({1, 2, 3});
    v.ShiftLeft(false);
    EXPECT_EQ(Elements(v), D({2, 3, 0}));
    v = Make<TypeParam>({1, 2, 3});
    v.ShiftLeft(true);
    EXPECT_EQ(Elements(v), D({2, 3, 1}));
    v = Make<TypeParam>({1, 2, 3});
    v.ShiftRight(false);
    EXPECT_EQ(Elements(v), D({0, 1, 2}));
    v = Make<TypeParam>({1, 2, 3});
    v.ShiftRight(true);
    EXPECT_EQ(Elements(v), D({3, 1, 2}));
    TypeParam empty;
    empty.ShiftLeft(true);
    empty.ShiftRight(true);
    EXPECT_EQ(empty.Count(), 0);
}

TYPED_TEST(BothVectors, ReverseEnumerateExchange)
{
    auto v = Make<TypeParam>({1, 2, 3, 4});
    v.Reverse();
    EXPECT_EQ(Elements(v), D({4, 3, 2, 1}));
    auto odd = Make<TypeParam>({1, 2, 3});
    odd.Reverse();
    EXPECT_EQ(Elements(odd), D({3, 2, 1}));
    v.Enumerate(false);
    EXPECT_EQ(Elements(v), D({1, 2, 3, 4}));
    v.Enumerate(true);
    v.Exchange(0, 3);
    EXPECT_EQ(Elements(v), D({3, 1, 2, 0}));
}

TYPED_TEST(BothVectors, ReverseAndExchangeLeaveShortVectorsAndOutsideIndexesAlone)
{
    TypeParam empty;
    empty.Reverse();
    EXPECT_EQ(empty.Count(), 0);
    auto single = Make<TypeParam>({4});
    single.Reverse();
    EXPECT_EQ(Elements(single), D({4}));
    auto pair = Make<TypeParam>({1, 2});
    pair.Exchange(0, 2);
    pair.Exchange(-1, 1);
    EXPECT_EQ(Elements(pair), D({1, 2}));
    pair.Sort(true);
    EXPECT_EQ(Elements(pair), D({2, 1}));
}

TYPED_TEST(BothVectors, FindMaxAndMinKeepTheFirstOfTies)
{
    auto v = Make<TypeParam>({5, 9, 9, 1, 1});
    TNumber value(0);
    EXPECT_EQ(v.FindMax(value), 1);
    EXPECT_EQ(value.ToDouble(), 9);
    EXPECT_EQ(v.FindMin(value), 3);
    EXPECT_EQ(value.ToDouble(), 1);

    TypeParam empty;
    value = TNumber(42);
    EXPECT_EQ(empty.FindMin(value), -1);
    EXPECT_EQ(value.ToDouble(), 0);
}

TYPED_TEST(BothVectors, SortAscendingAndItsMirror)
{
    auto v = Make<TypeParam>({3, 1, 2, 5, 4, 1});
    v.Sort(false);
    EXPECT_EQ(Elements(v), D({1, 1, 2, 3, 4, 5}));
    v = Make<TypeParam>({3, 1, 2});
    v.Sort(true);
    EXPECT_EQ(Elements(v), D({3, 2, 1}));
}

TYPED_TEST(BothVectors, SortWithIndexIsStableAndCarriesThePermutation)
{
    auto v = Make<TypeParam>({30, 10, 20});
    TIntVector idx;
    v.SortWithIndex(false, idx);
    EXPECT_EQ(Elements(v), D({10, 20, 30}));
    EXPECT_EQ(Elements(idx), D({1, 2, 0}));

    v = Make<TypeParam>({2, 1, 2, 1});
    v.SortWithIndex(true, idx);
    EXPECT_EQ(Elements(v), D({2, 2, 1, 1}));
    EXPECT_EQ(Elements(idx), D({0, 2, 1, 3})); // equal elements keep their order

    TypeParam one = Make<TypeParam>({4});
    idx.Fill(9);
    one.SortWithIndex(false, idx);
    EXPECT_EQ(Elements(idx), D({0}));
}

TYPED_TEST(BothVectors, FindAllReplacesTheResult)
{
    auto v = Make<TypeParam>({7, 1, 7});
    auto r = Make<TIntVector>({5, 5, 5, 5});
    v.FindAll(7, r);
    EXPECT_EQ(Elements(r), D({0, 2}));
    v.FindAll(3, r);
    EXPECT_EQ(r.Count(), 0);
}

TEST(TIntVector, FindMaxSentinelSkipsTheSmallestInteger)
{
    TIntVector v;
    v.Append(int32_t(-2147483647 - 1));
    TNumber value(5);
    EXPECT_EQ(v.FindMax(value), -1);
    EXPECT_EQ(value.ToDouble(), 0);
}

TEST(TIntVector, CompareUsesWrappingDifference)
{
    auto v = Make<TIntVector>({5, 3, 5});
    EXPECT_EQ(v.Compare(0, 1), 1);
    EXPECT_EQ(v.Compare(1, 0), -1);
    EXPECT_EQ(v.Compare(0, 2), 0);
    TIntVector extreme;
    extreme.Append(2147483647);
    extreme.Append(-1);
    EXPECT_EQ(extreme.Compare(0, 1), -1);
}

TEST(TIntVector, RealsAreRoundedHalfToEven)
{
    TIntVector v;
    v.Append(2.5);
    v.Append(3.5);
    v.Append(-2.5);
    EXPECT_EQ(Elements(v), D({2, 4, -2}));
}

TEST(TFloatVector, ComparisonsUseTheTolerance)
{
    auto v = Make<TFloatVector>({0.3000004, 0.30001});
    EXPECT_EQ(v.IndexOf(0.3), 0);
    EXPECT_EQ(v.IndexOf(0.30001), 1);
    EXPECT_EQ(v.IndexOf(0.31), -1);

    auto c = Make<TFloatVector>({1.0, 1.0000005, 1.00001});
    EXPECT_EQ(c.Compare(0, 1), 0);
    EXPECT_EQ(c.Compare(0, 2), -1);
    EXPECT_EQ(c.Compare(2, 0), 1);
}

TEST(TFloatVector, FindMaxComparesExactly)
{
    // No tolerance here: a value 1e-7 larger still replaces the running maximum.
    auto v = Make<TFloatVector>({1.0, 1.0000001});
    TNumber value(0);
    EXPECT_EQ(v.FindMax(value), 1);
}

TEST(TFloatVector, AssignConvertsFromIntegers)
{
    auto ints = Make<TIntVector>({1, 2, 3});
    TFloatVector floats(7);
    floats.Assign(ints);
    EXPECT_EQ(Elements(floats), D({1, 2, 3}));
}

TEST(TIntMatrix, SizeShapeAndDiagonal)
{
    TIntMatrix m(3, 4);
    EXPECT_EQ(m.RowCount(), 3);
    EXPECT_EQ(m.ColCount(), 4);
    EXPECT_FALSE(m.IsSquare());
    m.Fill(5);
    m.ZeroDiagonal();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(m.Items(r, c), r == c ? 0 : 5) << r << "," << c;
    m.SetSize(2, 2);
    EXPECT_TRUE(m.IsSquare());
    EXPECT_EQ(m.Items(1, 1), 0);

    TIntMatrix empty;
    EXPECT_EQ(empty.ColCount(), 0);
    m.Clear();
    EXPECT_EQ(m.RowCount(), 0);
    EXPECT_EQ(m.ColCount(), 0);
}

TEST(TIntMatrix, AssignCopiesOnlyTheReceiversExtent)
{
    TIntMatrix big(3, 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            big.SetItems(r, c, 10 * r + c);
    TIntMatrix small(2, 2);
    small.Assign(big);
    EXPECT_EQ(small.RowCount(), 2);
    EXPECT_EQ(small.Items(1, 1), 11);
    EXPECT_EQ(small.Items(0, 1), 1);

    TFloatMatrix floats(2, 3);
    floats.Assign(big);
    EXPECT_EQ(floats.Items(1, 2), 12.0f);
}

TEST(TIntVectorTest, MarksTheIndexesItHoldsWithinTheCount)
{
    TIntVector list;
    for (int32_t value : {3, -1, 0, 7, 3})
        list.Append(value);
    EXPECT_EQ(list.Marks(5), std::vector<bool>({true, false, false, true, false}));
    EXPECT_TRUE(TIntVector().Marks(0).empty());
}
