#include "foundation/TPoints.h"

void TPoints::Clear()
{
    FItems.clear();
}

void TPoints::Add(QPoint point)
{
    FItems.append(point);
}

int32_t TPoints::Count() const
{
    return int32_t(FItems.size());
}

bool TPoints::IsIndex(int32_t index) const
{
    return index >= 0 && index < Count();
}

QPoint TPoints::Get(int32_t index) const
{
    return IsIndex(index) ? FItems[index] : QPoint(0, 0);
}

void TPoints::Set(int32_t index, QPoint point)
{
    if (IsIndex(index))
        FItems[index] = point;
}

QPoint TPoints::First() const
{
    return Get(0);
}

QPoint TPoints::Last() const
{
    return Get(Count() - 1);
}

void TPoints::Assign(const TPoints* other)
{
    if (other)
        FItems = other->FItems;
}
