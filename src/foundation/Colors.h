#pragma once

#include <QColor>

#include <cstdint>

// The model and the files keep colours as 0x00BBGGRR, red in the lowest byte.
inline QColor ToQColor(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
