#pragma once

#include "foundation/TMatrix.h"

#include <QtGlobal>

#include <cstdint>
#include <vector>

// The one implementation behind TIntMatrix and TFloatMatrix; every row is its own array.
template <typename T>
class TNumericMatrix : public TMatrix
{
public:
    int32_t RowCount() const override { return int32_t(FRows.size()); }
    int32_t ColCount() const override { return FRows.empty() ? 0 : int32_t(FRows.front().size()); }
    TNumber Value(int32_t row, int32_t col) const override;

    // Indexes must lie inside the matrix; callers keep to that.
    T Items(int32_t row, int32_t col) const
    {
        Q_ASSERT(row >= 0 && row < RowCount() && col >= 0 && col < int32_t(FRows[size_t(row)].size()));
        return FRows[size_t(row)][size_t(col)];
    }

    void SetSize(int32_t rows, int32_t cols) override;
    void Clear() override;
    // Copies the receiver's own rows x columns; elements the other matrix lacks stay as they are.
    void Assign(const TMatrix& other) override;
    bool IsSquare() const override { return RowCount() == ColCount(); }
    void Fill(TNumber value) override;
    void Zero() override;
    void ZeroDiagonal() override;

protected:
    TNumericMatrix(int32_t rows, int32_t cols) { SetSize(rows, cols); }

    T& Item(int32_t row, int32_t col)
    {
        Q_ASSERT(row >= 0 && row < RowCount() && col >= 0 && col < int32_t(FRows[size_t(row)].size()));
        return FRows[size_t(row)][size_t(col)];
    }

private:
    std::vector<std::vector<T>> FRows;
};

class TIntMatrix final : public TNumericMatrix<int32_t>
{
public:
    TIntMatrix(int32_t rows = 0, int32_t cols = 0) : TNumericMatrix(rows, cols) {}
    void SetItems(int32_t row, int32_t col, int32_t value) { Item(row, col) = value; }
};

class TFloatMatrix final : public TNumericMatrix<float>
{
public:
    TFloatMatrix(int32_t rows = 0, int32_t cols = 0) : TNumericMatrix(rows, cols) {}
};

extern template class TNumericMatrix<int32_t>;
extern template class TNumericMatrix<float>;
