#pragma once

#include <QString>

#include <cstdint>

// A label font as the graph stores it: name, size in points, colour (0x00BBGGRR) and styles.
struct TFontData
{
    enum Style : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

    QString Name = QStringLiteral("Tahoma");
    int32_t Size = 8;
    uint32_t Color = 0;
    uint8_t Style = 0;

    friend bool operator==(const TFontData&, const TFontData&) = default;
};

// The style set as the files write it: " fsBold", " fsItalic", " fsUnderline", " fsStrikeOut".
QString FontStyleWords(uint8_t style);
// Every style whose word occurs anywhere in the text (case-sensitive).
uint8_t FontStyleFromWords(const QString& words);
