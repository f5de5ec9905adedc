#include "foundation/TNumericVector.h"

#include "foundation/NumericTraits.h"

#include <algorithm>

template <typename T>
TNumber TNumericVector<T>::Value(int32_t i) const
{
    return TNumericTraits<T>::To(Items(i));
}

template <typename T>
void TNumericVector<T>::SetValue(int32_t i, TNumber value)
{
    SetItems(i, TNumericTraits<T>::From(value));
}

template <typename T>
void TNumericVector<T>::SetSize(int32_t n)
{
    // Every element is zero afterwards, old ones included.
    FItems.assign(size_t(std::max(n, 0)), T(0));
}

template <typename T>
void TNumericVector<T>::Clear()
{
    FItems = {};
}

template <typename T>
void TNumericVector<T>::Assign(const TVector& other)
{
    std::vector<T> items(size_t(other.Count()));
    for (int32_t i = 0; i < other.Count(); ++i)
        items[size_t(i)] = TNumericTraits<T>::From(other.Value(i));
    FItems.swap(items);
}

template <typename T>
void TNumericVector<T>::AddTo(TVector& other) const
{
    if (Count() < other.Count())
        return;
    for (int32_t i = 0; i < other.Count(); ++i)
        other.SetValue(i, other.Value(i) + Value(i));
}

template <typename T>
void TNumericVector<T>::Add(const TVector& other)
{
    if (Count() < other.Count())
        return;
    for (int32_t i = 0; i < other.Count(); ++i)
        SetValue(i, Value(i) + other.Value(i));
}

template <typename T>
void TNumericVector<T>::Append(TNumber value)
{
    FItems.push_back(TNumericTraits<T>::From(value));
}

template <typename T>
void TNumericVector<T>::Delete(int32_t index)
{
    if (index < 0 || index >= Count())
        return;
    FItems.erase(FItems.begin() + index);
}

template <typename T>
void TNumericVector<T>::Insert(TNumber value, int32_t index)
{
    const int32_t oldCount = Count();
    Append(0);
    // An index beyond the old end leaves the added zero in place and drops the value.
    if (index < 0 || index > oldCount)
        return;
    std::move_backward(FItems.begin() + index, FItems.begin() + oldCount, FItems.end());
    FItems[size_t(index)] = TNumericTraits<T>::From(value);
}

template <typename T>
void TNumericVector<T>::InsertCopies(TNumber value, int32_t index, int32_t count)
{
    for (int32_t k = 0; k < count; ++k)
        Insert(value, index);
}

template <typename T>
void TNumericVector<T>::Fill(TNumber value)
{
    std::fill(FItems.begin(), FItems.end(), TNumericTraits<T>::From(value));
}

template <typename T>
void TNumericVector<T>::Zero()
{
    Fill(0);
}

template <typename T>
void TNumericVector<T>::Enumerate(bool zeroBased)
{
    for (int32_t i = 0; i < Count(); ++i)
        FItems[size_t(i)] = T(zeroBased ? i : i + 1);
}

template <typename T>
void TNumericVector<T>::Exchange(int32_t i, int32_t j)
{
    // An index outside the vector exchanges nothing.
    if (i != j && i >= 0 && j >= 0 && i < Count() && j < Count())
        std::swap(FItems[size_t(i)], FItems[size_t(j)]);
}

template <typename T>
void TNumericVector<T>::ShiftLeft(bool rotate)
{
    if (FItems.empty())
        return;
    const T first = FItems.front();
    std::move(FItems.begin() + 1, FItems.end(), FItems.begin());
    FItems.back() = rotate ? first : T(0);
}

template <typename T>
void TNumericVector<T>::ShiftRight(bool rotate)
{
    if (FItems.empty())
        return;
    const T last = FItems.back();
    std::move_backward(FItems.begin(), FItems.end() - 1, FItems.end());
    FItems.front() = rotate ? last : T(0);
}

template <typename T>
int32_t TNumericVector<T>::Compare(int32_t i, int32_t j) const
{
    return TNumericTraits<T>::Sign(Items(i), Items(j));
}

template <typename T>
void TNumericVector<T>::Reverse()
{
    // The middle element of an odd count stays; an empty vector has no element 0 to exchange.
    for (int32_t k = 0; k < Count() / 2; ++k)
        Exchange(k, Count() - 1 - k);
}

template <typename T>
template <typename Beyond>
int32_t TNumericVector<T>::FindExtreme(T sentinel, Beyond beyond, TNumber& value) const
{
    value = TNumber(0);
    int32_t result = -1;
    T extreme = sentinel;
    for (int32_t i = 0; i < Count(); ++i) {
        if (beyond(FItems[size_t(i)], extreme)) {
            extreme = FItems[size_t(i)];
            value = TNumericTraits<T>::To(extreme);
            result = i;
        }
    }
    return result;
}

template <typename T>
int32_t TNumericVector<T>::FindMax(TNumber& value) const
{
    return FindExtreme(TNumericTraits<T>::MaxSentinel, [](T a, T b) { return a > b; }, value);
}

template <typename T>
int32_t TNumericVector<T>::FindMin(TNumber& value) const
{
    return FindExtreme(TNumericTraits<T>::MinSentinel, [](T a, T b) { return a < b; }, value);
}

template <typename T>
int32_t TNumericVector<T>::IndexOf(TNumber value) const
{
    const T v = TNumericTraits<T>::From(value);
    for (int32_t i = 0; i < Count(); ++i)
        if (TNumericTraits<T>::Equal(FItems[size_t(i)], v))
            return i;
    return -1;
}

template <typename T>
void TNumericVector<T>::QuickSort(int32_t lo, int32_t hi)
{
    using Traits = TNumericTraits<T>;
    const T pivot = FItems[size_t((lo + hi) / 2)];
    int32_t i = lo;
    int32_t j = hi;
    do {
        while (Traits::Less(FItems[size_t(i)], pivot))
            ++i;
        while (Traits::Greater(FItems[size_t(j)], pivot))
            --j;
        if (i <= j) {
            Exchange(i, j);
            ++i;
            --j;
        }
    } while (i <= j);
    if (lo < j)
        QuickSort(lo, j);
    if (i < hi)
        QuickSort(i, hi);
}

template <typename T>
void TNumericVector<T>::Sort(bool descending)
{
    if (Count() < 2)
        return;
    QuickSort(0, Count() - 1);
    // Descending is the exact mirror of ascending, ties included.
    if (descending)
        Reverse();
}

template <typename T>
void TNumericVector<T>::SortWithIndex(bool descending, TIntVector& index)
{
    using Traits = TNumericTraits<T>;
    index.SetSize(Count());
    index.Enumerate(true);
    const int32_t n = Count();
    // A bubble sort on purpose: it is stable, which the callers' tie order relies on.
    for (int32_t p = 0; p < n - 1; ++p) {
        for (int32_t i = 0; i <= n - p - 2; ++i) {
            const T a = FItems[size_t(i)];
            const T b = FItems[size_t(i + 1)];
            if (descending ? Traits::Less(a, b) : Traits::Greater(a, b)) {
                Exchange(i, i + 1);
                index.Exchange(i, i + 1);
            }
        }
    }
}

template <typename T>
void TNumericVector<T>::FindAll(TNumber value, TIntVector& result) const
{
    result.SetSize(0);
    const T v = TNumericTraits<T>::From(value);
    for (int32_t i = 0; i < Count(); ++i)
        if (TNumericTraits<T>::Equal(FItems[size_t(i)], v))
            result.Append(i);
}

template class TNumericVector<int32_t>;
template class TNumericVector<float>;

std::vector<bool> TIntVector::Marks(qsizetype count) const
{
    std::vector<bool> marked(size_t(std::max<qsizetype>(count, 0)), false);
    for (int32_t i = 0; i < Count(); ++i)
        if (Items(i) >= 0 && Items(i) < count)
            marked[size_t(Items(i))] = true;
    return marked;
}
