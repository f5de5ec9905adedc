#include "model/TEgoNetNode.h"

#include "foundation/Rounding.h"
#include "model/BuiltinPictures.h"
#include "model/RecordFields.h"

#include <algorithm>

TEgoNetNode::TEgoNetNode(QPoint position, const QString& caption)
    : TEgoNetObject(caption)
    , Position(position)
    , Image(ColorBallPicture())
{
    SetTypeName(QStringLiteral("default"));
    TEgoNetNode::ApplyDefaults(DefaultLooks());
}

void TEgoNetNode::AssignFrom(const TEgoNetNode* source)
{
    if (!source)
        return;
    TFieldCopier copy;
    VisitNodeFields(copy, *this, *source);
    // Not in the record, but a copy of a person carries them too.
    DragRect = source->DragRect;
    Expanded = source->Expanded;
    Tag = source->Tag;
    // The copy is stamped selected now, not when the source was: this overrides SelectTime.
    SetSelected(source->Selected());
}

void TEgoNetNode::BuildImageMasks()
{
    if (Image.isNull() || Image.width() == 0 || Image.height() == 0) {
        ImageColorPart = QImage();
        ImageMask = QImage();
        return;
    }
    // Persons mostly share one picture (a read shares equal ones): its masks are built once.
    thread_local qint64 lastKey = 0;
    thread_local QImage lastColorPart;
    thread_local QImage lastMask;
    if (Image.cacheKey() == lastKey) {
        ImageColorPart = lastColorPart;
        ImageMask = lastMask;
        return;
    }
    const QImage source = Image.convertToFormat(QImage::Format_RGB32);
    const int w = source.width();
    const int h = source.height();
    const QRgb transparent = source.pixel(0, h - 1);
    ImageColorPart = QImage(w, h, QImage::Format_RGB32);
    ImageMask = QImage(w, h, QImage::Format_Mono);
    ImageMask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(ImageColorPart.scanLine(y));
        // The mask row is built whole, most significant bit first, padding bits clear.
        uchar* bits = ImageMask.scanLine(y);
        std::fill_n(bits, ImageMask.bytesPerLine(), uchar(0));
        for (int x = 0; x < w; ++x) {
            const bool clear = in[x] == transparent;
            out[x] = clear ? qRgb(0, 0, 0) : in[x];
            if (clear)
                bits[x >> 3] |= uchar(0x80 >> (x & 7));
        }
    }
    lastKey = Image.cacheKey();
    lastColorPart = ImageColorPart;
    lastMask = ImageMask;
}

void TEgoNetNode::ClearImage()
{
    Image = QImage();
    ImageID = kNoImageID;
    BuildImageMasks();
}

TNodeAgreement TEgoNetNode::Agreement(const TDisplayDefaults& settings) const
{
    return {.Color = Color == settings.nAltColor || (IsGroup && Color == settings.nGrpColor),
            .Shape = Shape == settings.nShape,
            .ImageID = ImageID == settings.nImageID,
            .ImageTransparent = ImageTransparent == settings.nImageTransparent,
            .Size = Size == std::max(settings.nHeight, 0),
            .LabelOrientation = LabelOrientation == settings.nLbOrientation,
            .Font = Font == settings.nFont};
}

void TEgoNetNode::ApplyDefaults(const TDisplayDefaults& settings)
{
    Color = IsGroup ? settings.nGrpColor : settings.nAltColor;
    Shape = settings.nShape;
    Size = std::max(settings.nHeight, 0);
    if (IsGroup)
        Size = RoundHalfEven(Size * 1.5);
    LabelOrientation = settings.nLbOrientation;
    Font = settings.nFont;
}
