#pragma once

#include <QString>

#include <cstdint>

// Meanings the model gives to plain values, named once for every layer.

// The type of a link that was given none.
inline const QString kDefaultLinkType = QStringLiteral("is_linked_to");

// The shapes a person is drawn with, as the files store them. kNoShape draws the label alone,
// and numbers beyond kShapeCross draw no shape either.
enum TNodeShape : uint8_t {
    kShapeRectangle = 0,
    kShapeDiamond = 1,
    kShapeCircle = 2,
    kShapeEllipse = 3,
    kShapeTriangleUp = 4,
    kShapeTriangleDown = 5,
    kShapeTriangleLeft = 6,
    kShapeTriangleRight = 7,
    kNoShape = 8,
    kShapeStar = 9,
    kShapePentagon = 10,
    kShapeCross = 11,
};

// Groups are drawn as rectangles.
constexpr uint8_t kGroupShape = kShapeRectangle;

// The picture ID of a person who has no picture of his or her own.
inline const QString kNoImageID = QStringLiteral("00000000");

// Where a person's label sits beside the shape, as the files store it; any other number means right.
enum TLabelOrientation : uint8_t { kLabelLeft = 0, kLabelAbove = 1, kLabelRight = 2, kLabelBelow = 3 };

// The room persons keep from the edges of the view when they are placed: kEdgeMargin at the
// left, top and bottom, kLabelMargin at the right, where their labels go.
constexpr int kEdgeMargin = 15;
constexpr int kLabelMargin = 50;

// How far a self-loop reaches out from its node, in pixels, unless the links' ideal length is longer.
constexpr int kSelfLoopLength = 60;
