#pragma once

#include "model/ModelConstants.h"
#include "model/TFontData.h"

#include <QString>

#include <cstdint>

// The default look of nodes and links, as the display settings hold it. Graph objects compare
// themselves with it and take it on (a new one from DefaultLooks()); the full display-settings
// record extends it.
struct TDisplayDefaults
{
    uint32_t nAltColor = 0x00CCFF;
    uint32_t nGrpColor = 0x8F00BF;
    uint8_t nShape = kShapeCircle;
    QString nImageID = kNoImageID;
    bool nImageTransparent = false;
    int32_t nHeight = 14;
    TFontData nFont{};
    uint8_t nLbOrientation = kLabelRight;

    uint32_t eColor = 0xD68200;
    int32_t eWidth = 1;
    uint8_t eStyle = 0;
    TFontData eFont{QStringLiteral("Tahoma"), 7, 0x975300, 0};
    uint32_t eHeadColor = 0xD68200;
    int32_t eHeadLength = 10;
    int32_t eHeadWidth = 3;
};

// The look every new person and link starts with.
inline const TDisplayDefaults& DefaultLooks()
{
    static const TDisplayDefaults looks;
    return looks;
}

// Which of a node's compared properties agree with the defaults.
struct TNodeAgreement
{
    // The alternative colour, or for a group the group colour as well.
    bool Color = true;
    bool Shape = true;
    bool ImageID = true;
    bool ImageTransparent = true;
    bool Size = true;
    bool LabelOrientation = true;
    bool Font = true;

    bool operator==(const TNodeAgreement&) const = default;
    bool All() const { return *this == TNodeAgreement(); }
    // Keeps what other agrees on too.
    TNodeAgreement& operator&=(const TNodeAgreement& other)
    {
        Color = Color && other.Color;
        Shape = Shape && other.Shape;
        ImageID = ImageID && other.ImageID;
        ImageTransparent = ImageTransparent && other.ImageTransparent;
        Size = Size && other.Size;
        LabelOrientation = LabelOrientation && other.LabelOrientation;
        Font = Font && other.Font;
        return *this;
    }
};

// Which of a link's compared properties agree with the defaults.
struct TLinkAgreement
{
    bool Color = true;
    bool Width = true;
    bool Style = true;
    bool Font = true;
    bool HeadColor = true;
    bool HeadLength = true;
    bool HeadWidth = true;

    bool operator==(const TLinkAgreement&) const = default;
    bool All() const { return *this == TLinkAgreement(); }
    // Keeps what other agrees on too.
    TLinkAgreement& operator&=(const TLinkAgreement& other)
    {
        Color = Color && other.Color;
        Width = Width && other.Width;
        Style = Style && other.Style;
        Font = Font && other.Font;
        HeadColor = HeadColor && other.HeadColor;
        HeadLength = HeadLength && other.HeadLength;
        HeadWidth = HeadWidth && other.HeadWidth;
        return *this;
    }
};
