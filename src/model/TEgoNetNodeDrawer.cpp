#include "model/TEgoNetNodeDrawer.h"

#include "foundation/Colors.h"
#include "foundation/Rounding.h"
#include "foundation/Shapes.h"
#include "model/ModelConstants.h"

#include <QFontMetrics>
#include <QPen>
#include <QPolygon>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>

namespace {

// Label bitmaps kept for repaints; a few thousand labels of a large network fit easily.
constexpr qsizetype kLabelCacheBytes = qsizetype(48) << 20;
constexpr qsizetype kWidthCacheEntries = 1 << 15;
constexpr qsizetype kFontCacheEntries = 256;
// Labels remembered with their objects, a few times the objects of a large network.
constexpr qsizetype kMaxMemos = qsizetype(1) << 15;
constexpr qsizetype kPictureCacheBytes = qsizetype(32) << 20;
// Labels of absurd font sizes are written straight onto the canvas rather than into a bitmap of
// hundreds of megabytes.
constexpr int64_t kMaxLabelBitmapPixels = int64_t(1) << 22;


QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}


// The node's square, centred on its position.
TRect Square(const TEgoNetNode& node)
{
    const int32_t half = node.Size / 2;
    const QPoint p = node.Position;
    return TRect{p.x() - half, p.y() - half, p.x() + half, p.y() + half};
}

// Store straight away without changes, else keep in them.
void SetLabelPos(TEgoNetNode& node, QPoint corner, TNodeChanges* changes)
{
    if (changes)
        changes->SetLabelPos(node, corner);
    else
        node.LabelPos = corner;
}

void SetGroupShape(TEgoNetNode& node, TNodeChanges* changes)
{
    if (changes)
        changes->SetGroupShape(node);
    else
        node.Shape = kGroupShape;
}

// QPainter strokes a rectangle or ellipse one pixel beyond its right and bottom edges; the figures
// here end just inside them, as the bounds' containment rule says.
QRect FigureRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return QRect(left, top, right - left - 1, bottom - top - 1);
}

void DrawPolygon(QPainter& canvas, std::initializer_list<QPoint> corners)
{
    canvas.drawPolygon(QPolygon(corners));
}

// The text's cell (ascent above the baseline, descent below) starts at topLeft.
void WriteText(QPainter& painter, QPoint topLeft, const QString& text, const QFont& font, const QColor& colour)
{
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(topLeft + QPoint(0, QFontMetrics(font).ascent()), text);
}

// The node's figure around centre with the painter's pen and brush (the star, pentagon and
// cross paint their own outlines).
void DrawFigure(QPainter& canvas, int32_t shape, int32_t size, QPoint centre, bool showBorders, uint32_t fill)
{
    const int32_t half = size / 2;
    const int32_t x = centre.x();
    const int32_t y = centre.y();
    const int32_t l = x - half;
    const int32_t t = y - half;
    const int32_t r = x + half;
    const int32_t b = y + half;
    switch (shape) {
    case kShapeRectangle:
        canvas.drawRect(FigureRect(l, t, r, b));
        break;
    case kShapeDiamond:
        DrawPolygon(canvas, {QPoint(x, t), QPoint(r, y), QPoint(x, b), QPoint(l, y)});
        break;
    case kShapeCircle:
        canvas.drawEllipse(FigureRect(l, t, r, b));
        break;
    case kShapeEllipse:
        canvas.drawEllipse(FigureRect(l - 2, t, r + 2, b));
        break;
    case kShapeTriangleUp:
        DrawPolygon(canvas, {QPoint(x, t + 1), QPoint(r - 1, b - 1), QPoint(l - 1, b - 1)});
        break;
    case kShapeTriangleDown:
        DrawPolygon(canvas, {QPoint(x, b - 1), QPoint(l + 1, t), QPoint(r - 1, t)});
        break;
    case kShapeTriangleLeft:
        DrawPolygon(canvas, {QPoint(l - 1, y), QPoint(r - 1, t), QPoint(r - 1, b)});
        break;
    case kShapeTriangleRight:
        DrawPolygon(canvas, {QPoint(r - 1, y), QPoint(l + 1, t), QPoint(l + 1, b)});
        break;
    case kShapeStar:
        DrawStar(canvas, QPoint(l, t), size, showBorders, fill);
        break;
    case kShapePentagon:
        DrawPentagon(canvas, QPoint(l, t), size, showBorders, fill);
        break;
    case kShapeCross:
        DrawCross(canvas, QPoint(l, t), size, showBorders, fill);
        break;
    default:
        break;
    }
}

} // namespace

void FrameRect(QPainter& canvas, const TRect& r, const QColor& colour)
{
    if (r.IsEmpty())
        return;
    const int32_t w = r.Right - r.Left;
    const int32_t h = r.Bottom - r.Top;
    canvas.fillRect(QRect(r.Left, r.Top, w, 1), colour);
    canvas.fillRect(QRect(r.Left, r.Bottom - 1, w, 1), colour);
    canvas.fillRect(QRect(r.Left, r.Top, 1, h), colour);
    canvas.fillRect(QRect(r.Right - 1, r.Top, 1, h), colour);
}

void UsePen(QPainter& canvas, const QColor& colour, int width, Qt::PenStyle style, Qt::PenCapStyle cap,
            Qt::PenJoinStyle join)
{
    const QPen& pen = canvas.pen();
    if (pen.style() == style && pen.widthF() == width && pen.capStyle() == cap && pen.joinStyle() == join
        && pen.brush().style() == Qt::SolidPattern && pen.color() == colour && pen.miterLimit() == 2
        && pen.dashOffset() == 0 && !pen.isCosmetic() && pen.brush().transform().isIdentity())
        return;
    canvas.setPen(QPen(colour, width, style, cap, join));
}

void UseBrush(QPainter& canvas, const QColor& colour)
{
    const QBrush& brush = canvas.brush();
    if (brush.style() != Qt::SolidPattern || brush.color() != colour || !brush.transform().isIdentity())
        canvas.setBrush(colour);
}

// TLabelPainter

TLabelPainter::TLabelPainter()
    : FFonts(kFontCacheEntries)
    , FWidths(kWidthCacheEntries)
    , FBitmaps(kLabelCacheBytes)
{
}

int32_t TLabelPainter::CharHeight(const TFontData& font, int32_t dpi)
{
    return std::abs(MulDiv(font.Size, dpi, 72));
}

TLabelPainter::TFontKey TLabelPainter::FontKey(const TFontData& font, int32_t dpi)
{
    return TFontKey{font.Name, CharHeight(font, dpi), font.Style};
}

QFont TLabelPainter::FontOf(const TFontKey& key)
{
    QFont font(key.Family);
    // Pixel sizes keep the text as large as the label geometry assumes on every device.
    if (key.PixelSize > 0)
        font.setPixelSize(key.PixelSize);
    font.setBold(key.Style & TFontData::fsBold);
    font.setItalic(key.Style & TFontData::fsItalic);
    font.setUnderline(key.Style & TFontData::fsUnderline);
    font.setStrikeOut(key.Style & TFontData::fsStrikeOut);
    return font;
}

const TLabelPainter::TFontEntry& TLabelPainter::Font(const TFontKey& key)
{
    if (const TFontEntry* cached = FFonts.object(key))
        return *cached;
    auto* entry = new TFontEntry{FontOf(key), 0};
    entry->Height = QFontMetrics(entry->Font).height();
    FFonts.insert(key, entry);
    return *entry;
}

int32_t TLabelPainter::TextWidth(const QString& text, const TFontData& font, int32_t dpi)
{
    if (text.isEmpty())
        return 0;
    TTextKey key{text, FontKey(font, dpi)};
    if (const int32_t* cached = FWidths.object(key))
        return *cached;
    const int32_t width = QFontMetrics(Font(key.Font).Font).horizontalAdvance(text);
    FWidths.insert(std::move(key), new int32_t(width));
    return width;
}

int32_t TLabelPainter::TextHeight(const TFontData& font, int32_t dpi)
{
    return Font(FontKey(font, dpi)).Height;
}

TLabelPainter::TMemo& TLabelPainter::MemoOf(const void* owner, const QString& text, const TFontData& font,
                                            int32_t dpi)
{
    if (!FLast || FLast->Owner != owner) {
        if (FNext < FMemos.size() && FMemos[FNext].Owner == owner) {
            FLast = &FMemos[FNext++];
        } else if (const auto found = FMemoOf.constFind(owner); found != FMemoOf.cend()) {
            FLast = &FMemos[*found];
            FNext = *found + 1;
        } else {
            // Forgotten objects' memos go in one sweep now and then.
            if (FMemos.size() >= size_t(kMaxMemos)) {
                FMemos.clear();
                FMemoOf.clear();
                FMemoBytes = 0;
            }
            FMemoOf.insert(owner, FMemos.size());
            FMemos.emplace_back().Owner = owner;
            FNext = FMemos.size();
            FLast = &FMemos.back();
        }
    }
    TMemo* memo = FLast;
    if (memo->Dpi != dpi || memo->Text != text || memo->Font != font) {
        FMemoBytes -= memo->Bitmap.sizeInBytes();
        *memo = TMemo();
        memo->Owner = owner;
        memo->Text = text;
        memo->Font = font;
        memo->Dpi = dpi;
        memo->Metrics = {TextWidth(text, font, dpi), TextHeight(font, dpi)};
    }
    return *memo;
}

TLabelPainter::TMetrics TLabelPainter::Metrics(const void* owner, const QString& text, const TFontData& font,
                                               int32_t dpi)
{
    return MemoOf(owner, text, font, dpi).Metrics;
}

void TLabelPainter::Draw(QPainter& canvas, const TRect& rect, QPoint textOffset, const QString& text,
                         const TFontData& font, uint32_t colour, const QBrush& backgroundBrush, const void* owner)
{
    if (rect.IsEmpty())
        return;
    const QColor background =
        backgroundBrush.style() == Qt::NoBrush ? QColor(Qt::transparent) : backgroundBrush.color();
    const QColor textColour = ToQColor(colour);
    const int32_t dpi = canvas.device()->logicalDpiY();
    const QRect box = ToQRect(rect);
    const qreal ratio = canvas.device()->devicePixelRatio();
    TMemo* memo = owner ? &MemoOf(owner, text, font, dpi) : nullptr;
    if (memo && !memo->Bitmap.isNull() && memo->Colour == textColour.rgb() && memo->Background == background.rgba()
        && memo->Box == box.size() && memo->Offset == textOffset && memo->Ratio == ratio) {
        canvas.drawImage(box.topLeft(), memo->Bitmap);
        return;
    }
    const TFontKey fontKey = FontKey(font, dpi);

    if (int64_t(box.width()) * box.height() * ratio * ratio > kMaxLabelBitmapPixels) {
        canvas.save();
        canvas.setClipRect(box, Qt::IntersectClip);
        canvas.fillRect(box, background);
        WriteText(canvas, box.topLeft() + textOffset, text, Font(fontKey).Font, textColour);
        canvas.restore();
        return;
    }

    TBitmapKey key{TTextKey{text, fontKey}, textColour.rgb(), background.rgba(), box.width(), box.height(),
                   textOffset.x(), textOffset.y(), ratio};
    QImage bitmap;
    if (const QImage* cached = FBitmaps.object(key)) {
        bitmap = *cached;
    } else {
        // Opaque labels are plain copies onto the canvas; only a missing brush needs blending.
        bitmap = QImage(box.size() * ratio,
                        background.alpha() == 255 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
        bitmap.setDevicePixelRatio(ratio);
        bitmap.fill(background);
        QPainter painter(&bitmap);
        WriteText(painter, textOffset, text, Font(fontKey).Font, textColour);
        painter.end();
        FBitmaps.insert(std::move(key), new QImage(bitmap), bitmap.sizeInBytes());
    }
    canvas.drawImage(box.topLeft(), bitmap);
    if (memo) {
        // Bounded as the cache is, though the bitmaps the memos share are counted once each.
        if (FMemoBytes + bitmap.sizeInBytes() > kLabelCacheBytes) {
            for (TMemo& other : FMemos)
                other.Bitmap = QImage();
            FMemoBytes = 0;
        }
        FMemoBytes += bitmap.sizeInBytes() - memo->Bitmap.sizeInBytes();
        memo->Bitmap = bitmap;
        memo->Colour = textColour.rgb();
        memo->Background = background.rgba();
        memo->Box = box.size();
        memo->Offset = textOffset;
        memo->Ratio = ratio;
    }
}

// TEgoNetNodeDrawer

TEgoNetNodeDrawer::TEgoNetNodeDrawer()
    : FPictures(kPictureCacheBytes)
{
}

TRect TEgoNetNodeDrawer::NodeBounds(TEgoNetNode& node, const QPaintDevice& canvas)
{
    return node.Shape == kNoShape ? GrownRect(LabelRect(node, canvas), 2) : Square(node);
}

TRect TEgoNetNodeDrawer::NodeBounds(TEgoNetNode& node, const QPaintDevice& canvas, TLabelPainter& labels,
                                    TNodeChanges* changes)
{
    if (node.Shape != kNoShape)
        return Square(node);
    QPoint corner;
    const TRect rect = LabelRect(node, canvas, labels, corner);
    SetLabelPos(node, corner, changes);
    return GrownRect(rect, 2);
}

TRect TEgoNetNodeDrawer::LabelRect(TEgoNetNode& node, const QPaintDevice& canvas)
{
    QPoint corner;
    const TRect rect = LabelRect(node, canvas, FLabels, corner);
    SetLabelPos(node, corner, FChanges);
    return rect;
}

TRect TEgoNetNodeDrawer::LabelRect(TEgoNetNode& node, const QPaintDevice& canvas, TLabelPainter& labels,
                                   QPoint& corner)
{
    const int32_t dpi = canvas.logicalDpiY();
    const auto [w, h] = labels.Metrics(&node, node.Caption(), node.Font, dpi);
    const int32_t f = TLabelPainter::CharHeight(node.Font, dpi);
    const int32_t half = node.Size / 2;
    const int32_t x = node.Position.x();
    const int32_t y = node.Position.y();

    if (node.Shape == kNoShape) {
        corner = QPoint(x - w / 2, y - f / 2 - 3);
    } else {
        switch (node.LabelOrientation) {
        case kLabelLeft:
            corner = QPoint(x - half - w - 3, y - f / 2 - 3);
            break;
        case kLabelAbove:
            corner = QPoint(x - w / 2, y - h - half);
            break;
        case kLabelBelow:
            corner = QPoint(x - w / 2, y + half);
            break;
        default:
            // kLabelRight, and any number a file may hold.
            corner = QPoint(x + half + 3, y - f / 2 - 3);
            break;
        }
    }
    const TRect rect{corner.x(), corner.y(), corner.x() + w, corner.y() + h};
    return node.Shape == kNoShape ? GrownRect(rect, 2) : rect;
}

void TNodeChanges::SetLabelPos(TEgoNetNode& node, QPoint corner)
{
    FChanges.emplace_back(&node, corner);
}

void TNodeChanges::SetGroupShape(TEgoNetNode& node)
{
    FChanges.emplace_back(&node, std::nullopt);
}

void TNodeChanges::Store()
{
    for (const auto& [node, corner] : FChanges) {
        if (corner)
            node->LabelPos = *corner;
        else
            node->Shape = kGroupShape;
    }
    FChanges.clear();
}

bool TEgoNetNodeDrawer::DrawsOpaque(std::span<TEgoNetNode* const> nodes, const TNodeDrawOptions& options,
                                    const QBrush& background)
{
    if (background.style() != Qt::SolidPattern || !background.isOpaque())
        return false;
    if (!options.ShowImage)
        return true;
    // Shapes, frames and labels on an opaque background are opaque; pictures made see-through
    // by their masks are wholly so or not at all.
    return std::none_of(nodes.begin(), nodes.end(), [](const TEgoNetNode* node) {
        return node && node->Enabled && !node->ImageTransparent && node->Image.hasAlphaChannel();
    });
}

THitResult TEgoNetNodeDrawer::HitTestNode(TEgoNetNode& node, const QPaintDevice& canvas, QPoint point)
{
    if (!node.Visible || !InDrawingRange(node))
        return {};
    if (NodeBounds(node, canvas).Contains(point.x(), point.y()))
        return {true, node.Shape == kNoShape};
    if (!node.HideLabel && LabelRect(node, canvas).Contains(point.x(), point.y()))
        return {true, true};
    return {};
}

void TEgoNetNodeDrawer::DrawNode(QPainter& canvas, TEgoNetNode* node, const TNodeDrawOptions& options)
{
    DrawNodes(canvas, std::span(&node, 1), options);
}

void TEgoNetNodeDrawer::DrawNodes(QPainter& canvas, std::span<TEgoNetNode* const> nodes,
                                  const TNodeDrawOptions& options)
{
    if (!canvas.isActive())
        return;
    const QPen savedPen = canvas.pen();
    const QBrush savedBrush = canvas.brush();
    for (TEgoNetNode* node : nodes)
        if (node && node->Visible && InDrawingRange(*node))
            PaintNode(canvas, *node, options, savedBrush);
    canvas.setPen(savedPen);
    canvas.setBrush(savedBrush);
}

void TEgoNetNodeDrawer::PaintNode(QPainter& canvas, TEgoNetNode& node, const TNodeDrawOptions& options,
                                  const QBrush& background)
{
    const bool showShape = options.ShowShape || !options.ShowImage;

    if (showShape && node.Shape != kNoShape)
        DrawShape(canvas, node, options.ShowBorders);
    if (options.ShowImage && node.Enabled && !node.Image.isNull())
        DrawPicture(canvas, node, options.ShowBorders);
    if (options.ShowCaption && !node.HideLabel && !node.Caption().isEmpty())
        DrawLabel(canvas, node, options.ShowBorders && node.Shape == kNoShape && showShape, background);
    if (node.Selected()) {
        const QColor colour = ToQColor(node.Enabled ? options.SelectionColor : DimmedGrey);
        const TRect bounds = NodeBounds(node, *canvas.device());
        FrameRect(canvas, GrownRect(bounds, 1), colour);
        FrameRect(canvas, GrownRect(bounds, 2), colour);
    }
}

void TEgoNetNodeDrawer::DrawShape(QPainter& canvas, TEgoNetNode& node, bool showBorders)
{
    const uint32_t fill = node.Enabled ? node.Color : DisabledGrey;
    int32_t shape = node.Shape;
    if (node.Enabled) {
        UsePen(canvas, showBorders ? Qt::black : Qt::white, 1);
        if (node.IsGroup) {
            shape = kGroupShape;
            SetGroupShape(node, FChanges);
        }
    } else {
        UsePen(canvas, ToQColor(DisabledGrey), 1);
    }
    UseBrush(canvas, ToQColor(fill));

    const int32_t size = node.Size;
    if (size <= 0 || shape == kNoShape || shape > kShapeCross)
        return;
    // Ellipses reach 2 pixels beyond the node's square, pens 1 more.
    const int32_t half = size / 2;
    const QRect bounds(-half - 4, -half - 4, size + 9, size + 9);
    FShapes.Draw(canvas, node.Position, {shape, size, showBorders, int32_t(fill)}, bounds,
                 [&](QPainter& painter, QPoint centre) { DrawFigure(painter, shape, size, centre, showBorders, fill); });
}

void TEgoNetNodeDrawer::DrawPicture(QPainter& canvas, TEgoNetNode& node, bool showBorders)
{
    const int32_t pw = node.Image.width();
    const int32_t ph = node.Image.height();
    const TRect r = NodeBounds(node, *canvas.device());
    // A negative size turns the square inside out; a picture drawn into it would come out mirrored.
    if (pw <= 0 || ph <= 0 || r.IsEmpty())
        return;
    TRect d = r;
    const int32_t rw = r.Right - r.Left;
    const int32_t rh = r.Bottom - r.Top;
    const float ratio = float(ph) / float(pw);
    if (ratio > 1) {
        const int32_t width = RoundHalfEven(float(rw) / ratio);
        d.Left += (rw - width) / 2;
        d.Right = d.Left + width;
    } else if (ratio < 1) {
        const int32_t height = RoundHalfEven(ratio * float(rh));
        d.Top += (rh - height) / 2;
        d.Bottom = d.Top + height;
    }

    const QImage picture = node.ImageTransparent ? TransparentPicture(node) : node.Image;
    if (!picture.isNull())
        canvas.drawImage(ToQRect(d), picture);
    if (showBorders)
        FrameRect(canvas, r, Qt::black);
}

QImage TEgoNetNodeDrawer::TransparentPicture(const TEgoNetNode& node)
{
    const QImage& colourPart = node.ImageColorPart;
    const QImage& mask = node.ImageMask;
    if (colourPart.isNull() || mask.isNull())
        return QImage();
    const TPictureKey key{colourPart.cacheKey(), mask.cacheKey()};
    if (const QImage* cached = FPictures.object(key))
        return *cached;
    // Where the mask is white the canvas shows through: the mask, inverted, is the alpha channel.
    QImage alpha = mask.convertToFormat(QImage::Format_Grayscale8);
    if (alpha.size() != colourPart.size())
        alpha = alpha.scaled(colourPart.size());
    alpha.invertPixels();
    QImage picture = colourPart.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    picture.setAlphaChannel(alpha);
    FPictures.insert(key, new QImage(picture), picture.sizeInBytes());
    return picture;
}

void TEgoNetNodeDrawer::DrawLabel(QPainter& canvas, TEgoNetNode& node, bool framed, const QBrush& background)
{
    const TRect rect = LabelRect(node, *canvas.device());
    FLabels.Draw(canvas, rect, framed ? QPoint(2, 1) : QPoint(0, 0), node.Caption(), node.Font,
                 node.Enabled ? node.Font.Color : DimmedGrey, background, &node);
    if (framed)
        FrameRect(canvas, rect, Qt::black);
}
