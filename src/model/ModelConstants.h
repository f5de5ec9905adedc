#pragma once

#include <QString>

#include <cstdint>

// Meanings the model gives to plain values, named once for every layer.

// The type of a link that was given none.
inline const QString kDefaultLinkType = QStringLiteral("is_linked_to");

// The shape code of a node drawn as its label alone, without a shape.
constexpr uint8_t kNoShape = 8;

// The room persons keep from the edges of the view when they are placed: kEdgeMargin at the
// left, top and bottom, kLabelMargin at the right, where their labels go.
constexpr int kEdgeMargin = 15;
constexpr int kLabelMargin = 50;

// How far a self-loop reaches out from its node, in pixels, unless the links' ideal length is longer.
constexpr int kSelfLoopLength = 60;
