#pragma once

#include <QPainter>
#include <QPoint>

#include <array>
#include <cstdint>

// Node shapes that the canvas has no primitive for, drawn inside the square of side size whose
// top-left corner is topLeft; nothing is drawn for size <= 0. Colours are 0x00BBGGRR. The
// painter's pen and brush are left as they were.

// Corners of a regular pentagon standing on its base, from the apex (x, y) counter-clockwise on
// screen, for the side s. A negative s turns the figure upside down.
std::array<QPoint, 5> PentagonPoints(int32_t x, int32_t y, int32_t s);

// A five-pointed star filled with colour, inner pentagon included; with outline, its ten edges
// are drawn with the painter's pen.
void DrawStar(QPainter& canvas, QPoint topLeft, int32_t size, bool outline, uint32_t colour);

// A pentagon filled with colour; with outline, its edges are drawn with the painter's pen.
void DrawPentagon(QPainter& canvas, QPoint topLeft, int32_t size, bool outline, uint32_t colour);

// A Latin cross of two bars a quarter of size wide, in colour; with shadow, a black copy one
// pixel down and right shows behind it.
void DrawCross(QPainter& canvas, QPoint topLeft, int32_t size, bool shadow, uint32_t colour);
