#pragma once

#include <QList>
#include <QPoint>

#include <cstdint>

// An ordered list of points, such as the bends of a link. Reads outside the list give (0, 0)
// and writes outside it are ignored, so callers need not check indexes.
class TPoints
{
public:
    void Clear();
    void Add(QPoint point);
    int32_t Count() const;
    QPoint Get(int32_t index) const;
    void Set(int32_t index, QPoint point);
    QPoint First() const;
    QPoint Last() const;
    // Becomes a copy of other; a missing list changes nothing.
    void Assign(const TPoints* other);

private:
    bool IsIndex(int32_t index) const;

    QList<QPoint> FItems;
};
