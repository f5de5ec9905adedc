#pragma once

#include "foundation/TNumber.h"

#include <cstdint>

class TIntVector;

// A growable vector of numbers. Integer vectors carry lists of node or link indexes
// (selections, picks); the float vector offers the same operations on 32-bit floats.
class TVector
{
public:
    virtual ~TVector() = default;

    virtual int32_t Count() const = 0;
    // Element i as a number, for operations across the two element types.
    virtual TNumber Value(int32_t i) const = 0;
    virtual void SetValue(int32_t i, TNumber value) = 0;

    virtual void SetSize(int32_t n) = 0;
    virtual void Clear() = 0;
    virtual void Assign(const TVector& other) = 0;
    virtual void AddTo(TVector& other) const = 0;
    virtual void Add(const TVector& other) = 0;
    virtual void Append(TNumber value) = 0;
    virtual void Delete(int32_t index) = 0;
    virtual void Insert(TNumber value, int32_t index) = 0;
    virtual void InsertCopies(TNumber value, int32_t index, int32_t count) = 0;
    virtual void Fill(TNumber value) = 0;
    virtual void Zero() = 0;
    virtual void Enumerate(bool zeroBased) = 0;
    virtual void Exchange(int32_t i, int32_t j) = 0;
    virtual void ShiftLeft(bool rotate) = 0;
    virtual void ShiftRight(bool rotate) = 0;
    virtual int32_t Compare(int32_t i, int32_t j) const = 0;
    virtual void Reverse() = 0;
    virtual int32_t FindMax(TNumber& value) const = 0;
    virtual int32_t FindMin(TNumber& value) const = 0;
    virtual int32_t IndexOf(TNumber value) const = 0;
    virtual void Sort(bool descending) = 0;
    virtual void SortWithIndex(bool descending, TIntVector& index) = 0;
    virtual void FindAll(TNumber value, TIntVector& result) const = 0;
};
