#pragma once

#include "foundation/Geometry.h"
#include "model/TEgoNetNode.h"
#include "model/TFontData.h"
#include "model/TSpriteCache.h"

#include <QCache>
#include <QFont>
#include <QHash>
#include <QHashFunctions>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// The fixed colours of painting, 0x00BBGGRR.
inline constexpr uint32_t DisabledGrey = 0x00C8C8C8; // shapes, link lines and arrow heads of disabled objects
inline constexpr uint32_t DimmedGrey = 0x00A0A0A0; // labels of disabled objects, selection frames of disabled nodes
inline constexpr uint32_t GuideGrey = 0x00808080; // the guide lines of a selected link's handle

inline TRect GrownRect(const TRect& r, int32_t by)
{
    return TRect{r.Left - by, r.Top - by, r.Right + by, r.Bottom + by};
}

// A one-pixel frame just inside the rectangle, in colour; pen and brush are not used.
void FrameRect(QPainter& canvas, const TRect& r, const QColor& colour);

// Give the canvas QPen(colour, width, style, cap, join) or a solid brush in colour. Every pen
// and brush made costs an allocation, so one alike already on the canvas is kept.
void UsePen(QPainter& canvas, const QColor& colour, int width, Qt::PenStyle style = Qt::SolidLine,
            Qt::PenCapStyle cap = Qt::SquareCap, Qt::PenJoinStyle join = Qt::BevelJoin);
void UseBrush(QPainter& canvas, const QColor& colour);

// Coordinates and sizes beyond this come only from damaged or hand-made files. Objects carrying
// them are neither drawn nor hit: their figures' arithmetic would leave the 32-bit range.
inline constexpr int32_t MaxDrawingExtent = 1 << 28;

inline bool InDrawingRange(int32_t value)
{
    return value >= -MaxDrawingExtent && value <= MaxDrawingExtent;
}

inline bool InDrawingRange(QPoint p)
{
    return InDrawingRange(p.x()) && InDrawingRange(p.y());
}

inline bool InDrawingRange(const TEgoNetNode& node)
{
    return InDrawingRange(node.Position) && InDrawingRange(node.Size);
}

// The outcome of a hit test; OnLabel says the point lies on the label rather than the figure.
struct THitResult
{
    bool Hit = false;
    bool OnLabel = false;

    bool operator==(const THitResult&) const = default;
};

// The view's display switches that a node's painting depends on.
struct TNodeDrawOptions
{
    uint32_t SelectionColor = 0;
    bool ShowBorders = false;
    bool ShowCaption = false;
    bool ShowImage = false;
    bool ShowShape = false;
};

// Label text for both drawers: fonts, text metrics and the label bitmaps. A label is a box in the
// canvas brush colour with its text written in it; the bitmaps are kept, so a repaint of an
// unchanged label is one copy instead of a text layout.
class TLabelPainter
{
public:
    TLabelPainter();

    // The font's character height in pixels on a device of the given resolution, as a positive
    // number: the point size scaled by dpi / 72. Labels are written with it as the pixel size.
    static int32_t CharHeight(const TFontData& font, int32_t dpi);

    int32_t TextWidth(const QString& text, const TFontData& font, int32_t dpi);
    // The height of a line of text, the same for every text.
    int32_t TextHeight(const TFontData& font, int32_t dpi);

    // Fills rect with the background brush's colour (nothing when the brush is empty) and writes
    // text in colour with its top-left corner at rect's corner + textOffset, clipped to rect.
    // owner: see Metrics.
    void Draw(QPainter& canvas, const TRect& rect, QPoint textOffset, const QString& text, const TFontData& font,
              uint32_t colour, const QBrush& background, const void* owner = nullptr);

    struct TMetrics
    {
        int32_t Width = 0;
        int32_t Height = 0;
    };
    // TextWidth and TextHeight of the label of an object (a node or a link). Both, and the label's
    // bitmap, are remembered with the object's address, so that repainting an unchanged label
    // needs no lookup by its text; text and font are compared, so an object at a freed address
    // is not taken for the old one.
    TMetrics Metrics(const void* owner, const QString& text, const TFontData& font, int32_t dpi);

private:
    struct TFontKey
    {
        QString Family;
        int32_t PixelSize = 0;
        uint8_t Style = 0;

        bool operator==(const TFontKey&) const = default;
        friend size_t qHash(const TFontKey& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.Family, key.PixelSize, key.Style);
        }
    };

    struct TTextKey
    {
        QString Text;
        TFontKey Font;

        bool operator==(const TTextKey&) const = default;
        friend size_t qHash(const TTextKey& key, size_t seed = 0) { return qHashMulti(seed, key.Text, key.Font); }
    };

    struct TBitmapKey
    {
        TTextKey Text;
        QRgb Colour = 0;
        QRgb Background = 0;
        int32_t Width = 0;
        int32_t Height = 0;
        int32_t OffsetX = 0;
        int32_t OffsetY = 0;
        qreal PixelRatio = 1;

        bool operator==(const TBitmapKey&) const = default;
        friend size_t qHash(const TBitmapKey& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.Text, key.Colour, key.Background, key.Width, key.Height, key.OffsetX,
                              key.OffsetY, key.PixelRatio);
        }
    };

    // One QFont per key: it keeps its font engine, which a fresh QFont would look up again. The
    // line height is asked for with every label.
    struct TFontEntry
    {
        QFont Font;
        int32_t Height = 0;
    };

    static TFontKey FontKey(const TFontData& font, int32_t dpi);
    static QFont FontOf(const TFontKey& key);
    // Valid until the next call.
    const TFontEntry& Font(const TFontKey& key);

    QCache<TFontKey, TFontEntry> FFonts;
    QCache<TTextKey, int32_t> FWidths;
    QCache<TBitmapKey, QImage> FBitmaps;

    struct TMemo
    {
        const void* Owner = nullptr;
        QString Text;
        TFontData Font;
        int32_t Dpi = 0;
        TMetrics Metrics;
        // The bitmap last drawn, and what it was drawn for.
        QImage Bitmap;
        QRgb Colour = 0;
        QRgb Background = 0;
        QSize Box;
        QPoint Offset;
        qreal Ratio = 0;
    };
    // The owner's memo, renewed when text, font or resolution changed. Valid until the next call.
    TMemo& MemoOf(const void* owner, const QString& text, const TFontData& font, int32_t dpi);
    // In the order the owners first came. Painting asks in the same order frame after frame, so
    // the next memo is usually the one after the last; the index finds it when not.
    std::vector<TMemo> FMemos;
    QHash<const void*, size_t> FMemoOf;
    size_t FNext = 0;
    // The memo last asked for: a label's metrics and its drawing come one after the other.
    TMemo* FLast = nullptr;
    // Bytes of the bitmaps the memos hold, counting shared ones again.
    qsizetype FMemoBytes = 0;
};

// What painting stores in the nodes (label corners, group shapes), kept instead while another
// thread may read them; Store stores it in painting order and empties the list.
class TNodeChanges
{
public:
    void SetLabelPos(TEgoNetNode& node, QPoint corner);
    void SetGroupShape(TEgoNetNode& node);
    void Store();

private:
    // A null corner marks a group shape.
    std::vector<std::pair<TEgoNetNode*, std::optional<QPoint>>> FChanges;
};

// Draws persons and answers which of them lies under a point. Geometry calls take the device that
// is painted on (or the view, for hit tests): its resolution sizes the label fonts.
class TEgoNetNodeDrawer
{
public:
    TEgoNetNodeDrawer();

    // The node's square; for a node without a shape, its label rectangle grown by 2.
    TRect NodeBounds(TEgoNetNode& node, const QPaintDevice& canvas);
    // Where the caption goes for the node's label orientation; stores the corner as LabelPos.
    TRect LabelRect(TEgoNetNode& node, const QPaintDevice& canvas);
    // The same with the text widths of the given label painter, for a caller on another thread;
    // the label corner goes into changes when given.
    static TRect NodeBounds(TEgoNetNode& node, const QPaintDevice& canvas, TLabelPainter& labels,
                            TNodeChanges* changes);
    THitResult HitTestNode(TEgoNetNode& node, const QPaintDevice& canvas, QPoint point);

    // Shape, picture, label and selection frame. The canvas brush as found is the background of
    // the label. May set an enabled group node's Shape to kGroupShape.
    void DrawNode(QPainter& canvas, TEgoNetNode* node, const TNodeDrawOptions& options);
    // DrawNode for each node in order; pen and brush come back once at the end.
    void DrawNodes(QPainter& canvas, std::span<TEgoNetNode* const> nodes, const TNodeDrawOptions& options);

    // Whether every pixel that drawing these nodes on a canvas with this brush touches ends up
    // opaque: then drawing them on a transparent layer laid over the canvas gives the same
    // picture. Semi-transparent pictures and label backgrounds are what spoils it.
    static bool DrawsOpaque(std::span<TEgoNetNode* const> nodes, const TNodeDrawOptions& options,
                            const QBrush& background);
    // While changes is set, what drawing would store in the nodes goes there.
    void KeepNodeChanges(TNodeChanges* changes) { FChanges = changes; }

private:
    struct TPictureKey
    {
        qint64 ColourPart = 0;
        qint64 Mask = 0;

        bool operator==(const TPictureKey&) const = default;
        friend size_t qHash(const TPictureKey& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.ColourPart, key.Mask);
        }
    };

    // background: the canvas brush as the caller left it, behind the label.
    void PaintNode(QPainter& canvas, TEgoNetNode& node, const TNodeDrawOptions& options, const QBrush& background);
    void DrawShape(QPainter& canvas, TEgoNetNode& node, bool showBorders);
    void DrawPicture(QPainter& canvas, TEgoNetNode& node, bool showBorders);
    void DrawLabel(QPainter& canvas, TEgoNetNode& node, bool framed, const QBrush& background);
    // The picture with its transparent pixels see-through, made from its colour part and mask.
    QImage TransparentPicture(const TEgoNetNode& node);

    static TRect LabelRect(TEgoNetNode& node, const QPaintDevice& canvas, TLabelPainter& labels, QPoint& corner);

    TLabelPainter FLabels;
    QCache<TPictureKey, QImage> FPictures;
    TSpriteCache FShapes;
    TNodeChanges* FChanges = nullptr;
};
