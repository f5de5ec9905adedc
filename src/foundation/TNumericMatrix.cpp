#include "foundation/TNumericMatrix.h"

#include "foundation/NumericTraits.h"

#include <algorithm>

template <typename T>
TNumber TNumericMatrix<T>::Value(int32_t row, int32_t col) const
{
    return TNumericTraits<T>::To(Items(row, col));
}

template <typename T>
void TNumericMatrix<T>::SetSize(int32_t rows, int32_t cols)
{
    FRows.assign(size_t(std::max(rows, 0)), std::vector<T>(size_t(std::max(cols, 0)), T(0)));
}

template <typename T>
void TNumericMatrix<T>::Clear()
{
    FRows = {};
}

template <typename T>
void TNumericMatrix<T>::Assign(const TMatrix& other)
{
    const int32_t rows = std::min(RowCount(), other.RowCount());
    const int32_t cols = std::min(ColCount(), other.ColCount());
    for (int32_t i = 0; i < rows; ++i)
        for (int32_t j = 0; j < cols; ++j)
            Item(i, j) = TNumericTraits<T>::From(other.Value(i, j));
}

template <typename T>
void TNumericMatrix<T>::Fill(TNumber value)
{
    const T v = TNumericTraits<T>::From(value);
    for (auto& row : FRows)
        std::fill(row.begin(), row.end(), v);
}

template <typename T>
void TNumericMatrix<T>::Zero()
{
    Fill(0);
}

template <typename T>
void TNumericMatrix<T>::ZeroDiagonal()
{
    const int32_t n = std::min(RowCount(), ColCount());
    for (int32_t i = 0; i < n; ++i)
        Item(i, i) = T(0);
}

template class TNumericMatrix<int32_t>;
template class TNumericMatrix<float>;
