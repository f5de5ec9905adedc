#pragma once

#include "foundation/TNumber.h"

#include <cstdint>

// A rectangular matrix of numbers; the integer one holds the graph's adjacency matrix.
class TMatrix
{
public:
    virtual ~TMatrix() = default;

    virtual int32_t RowCount() const = 0;
    // The length of row 0; 0 without rows.
    virtual int32_t ColCount() const = 0;
    virtual TNumber Value(int32_t row, int32_t col) const = 0;

    virtual void SetSize(int32_t rows, int32_t cols) = 0;
    virtual void Clear() = 0;
    virtual void Assign(const TMatrix& other) = 0;
    virtual bool IsSquare() const = 0;
    virtual void Fill(TNumber value) = 0;
    virtual void Zero() = 0;
    virtual void ZeroDiagonal() = 0;
};
