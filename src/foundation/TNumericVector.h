#pragma once

#include "foundation/TVector.h"

#include <QtGlobal>

#include <cstdint>
#include <vector>

// The one implementation behind TIntVector and TFloatVector; T is int32_t or float.
// Floats compare within an absolute tolerance of 1e-6, integers exactly.
template <typename T>
class TNumericVector : public TVector
{
public:
    int32_t Count() const override { return int32_t(FItems.size()); }

    // Indexes must lie in 0 .. Count - 1; callers keep to that.
    T Items(int32_t i) const
    {
        Q_ASSERT(i >= 0 && i < Count());
        return FItems[size_t(i)];
    }
    void SetItems(int32_t i, T value)
    {
        Q_ASSERT(i >= 0 && i < Count());
        FItems[size_t(i)] = value;
    }

    TNumber Value(int32_t i) const override;
    void SetValue(int32_t i, TNumber value) override;

    void SetSize(int32_t n) override;
    void Clear() override;
    void Assign(const TVector& other) override;
    void AddTo(TVector& other) const override;
    void Add(const TVector& other) override;
    void Append(TNumber value) override;
    void Delete(int32_t index) override;
    void Insert(TNumber value, int32_t index) override;
    void InsertCopies(TNumber value, int32_t index, int32_t count) override;
    void Fill(TNumber value) override;
    void Zero() override;
    void Enumerate(bool zeroBased) override;
    void Exchange(int32_t i, int32_t j) override;
    void ShiftLeft(bool rotate) override;
    void ShiftRight(bool rotate) override;
    int32_t Compare(int32_t i, int32_t j) const override;
    void Reverse() override;
    int32_t FindMax(TNumber& value) const override;
    int32_t FindMin(TNumber& value) const override;
    int32_t IndexOf(TNumber value) const override;
    void Sort(bool descending) override;
    void SortWithIndex(bool descending, TIntVector& index) override;
    void FindAll(TNumber value, TIntVector& result) const override;

protected:
    explicit TNumericVector(int32_t n) { SetSize(n); }

private:
    void QuickSort(int32_t lo, int32_t hi);
    // Shared by FindMax and FindMin: the first element strictly beyond the running extreme.
    template <typename Beyond>
    int32_t FindExtreme(T sentinel, Beyond beyond, TNumber& value) const;

    std::vector<T> FItems;
};

class TIntVector final : public TNumericVector<int32_t>
{
public:
    explicit TIntVector(int32_t n = 0) : TNumericVector(n) {}

    // Which of the indexes 0 to count - 1 the vector holds: one pass, so that a loop over a list
    // need not search the vector for each entry.
    std::vector<bool> Marks(qsizetype count) const;
};

class TFloatVector final : public TNumericVector<float>
{
public:
    explicit TFloatVector(int32_t n = 0) : TNumericVector(n) {}
};

extern template class TNumericVector<int32_t>;
extern template class TNumericVector<float>;
