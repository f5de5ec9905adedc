#include "foundation/TPoints.h"

#include "GeometryPrinters.h"

#include <gtest/gtest.h>

TEST(TPoints, IndexesOutsideTheListAreHarmless)
{
    TPoints points;
    EXPECT_EQ(points.First(), QPoint(0, 0));
    EXPECT_EQ(points.Last(), QPoint(0, 0));
    points.Add(QPoint(1, 2));
    points.Add(QPoint(3, 4));
    points.Add(QPoint(5, 6));
    EXPECT_EQ(points.Count(), 3);
    EXPECT_EQ(points.First(), QPoint(1, 2));
    EXPECT_EQ(points.Get(1), QPoint(3, 4));
    EXPECT_EQ(points.Last(), QPoint(5, 6));
    EXPECT_EQ(points.Get(3), QPoint(0, 0));
    EXPECT_EQ(points.Get(-1), QPoint(0, 0));
    points.Set(3, QPoint(9, 9));
    points.Set(-1, QPoint(9, 9));
    points.Set(2, QPoint(7, 7));
    EXPECT_EQ(points.Count(), 3);
    EXPECT_EQ(points.Last(), QPoint(7, 7));
    points.Clear();
    EXPECT_EQ(points.Count(), 0);
}

TEST(TPoints, AssignCopies)
{
    TPoints source;
    source.Add(QPoint(1, 2));
    source.Add(QPoint(3, 4));
    TPoints target;
    target.Add(QPoint(7, 7));
    target.Assign(&source);
    EXPECT_EQ(target.Count(), 2);
    EXPECT_EQ(target.First(), QPoint(1, 2));
    target.Set(0, QPoint(-1, -1));
    EXPECT_EQ(source.First(), QPoint(1, 2));
    target.Assign(nullptr);
    EXPECT_EQ(target.Count(), 2);
}
