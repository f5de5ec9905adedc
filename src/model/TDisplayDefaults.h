#pragma once

#include "model/TFontData.h"

#include <QString>

#include <cstdint>

// The default look of nodes and links, as the display settings hold it. Graph objects compare
// themselves with it and take it on; the full display-settings record extends it.
struct TDisplayDefaults
{
    uint32_t nAltColor = 0x00CCFF;
    uint32_t nGrpColor = 0x8F00BF;
    uint8_t nShape = 2;
    QString nImageID = QStringLiteral("00000000");
    bool nImageTransparent = false;
    int32_t nHeight = 14;
    TFontData nFont{QStringLiteral("Tahoma"), 8, 0, 0};
    uint8_t nLbOrientation = 2;

    uint32_t eColor = 0xD68200;
    int32_t eWidth = 1;
    uint8_t eStyle = 0;
    TFontData eFont{QStringLiteral("Tahoma"), 7, 0x975300, 0};
    uint32_t eHeadColor = 0xD68200;
    int32_t eHeadLength = 10;
    int32_t eHeadWidth = 3;
};
