#include "foundation/Colors.h"
#include "foundation/Shapes.h"

#include "GeometryPrinters.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace {

// 0x00BBGGRR with three different bytes, so swapped channels show.
constexpr uint32_t kFill = 0x00336699;
const QRgb kFillRgb = qRgb(0x99, 0x66, 0x33);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kPenRgb = qRgb(0, 0, 255);

// A white image painted by draw with a one-pixel blue pen and a green brush set; the shapes
// must leave both as they were.
QImage Paint(const std::function<void(QPainter&)>& draw, const QPen& pen = QPen(QColor(kPenRgb), 1))
{
    QImage image(130, 130, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(pen);
    painter.setBrush(Qt::green);
    draw(painter);
    EXPECT_EQ(painter.pen(), pen);
    EXPECT_EQ(painter.brush(), QBrush(Qt::green));
    return image;
}

// The painted pixels' bounding rectangle, empty when nothing is painted.
QRect Painted(const QImage& image)
{
    QRect painted;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite)
                painted |= QRect(x, y, 1, 1);
    return painted;
}

} // namespace

TEST(Shapes, PentagonPointsCutTowardsZero)
{
    // s = 59: a = trunc(47.73), b = trunc(34.68), h = trunc(90.79).
    EXPECT_EQ(PentagonPoints(50, 0, 59),
              (std::array{QPoint(50, 0), QPoint(3, 34), QPoint(21, 90), QPoint(79, 90), QPoint(97, 34)}));
    // Mirrored: trunc(-17.8), trunc(-12.93), -22 div 2, trunc(-33.85).
    EXPECT_EQ(PentagonPoints(50, 69, -22),
              (std::array{QPoint(50, 69), QPoint(67, 57), QPoint(61, 36), QPoint(39, 36), QPoint(33, 57)}));
}

// Star and pentagon of size 100 at (10, 20): s = round(58.78) = 59, the corners above moved by
// (10, 20): apex (60, 20), arm tips (13, 54) and (107, 54), feet (31, 110) and (89, 110).

TEST(Shapes, StarFilledWithNonzeroWindingAndOutlined)
{
    const QImage plain = Paint([](QPainter& p) { DrawStar(p, QPoint(10, 20), 100, false, kFill); });
    EXPECT_EQ(plain.pixel(60, 70), kFillRgb); // inner pentagon, a hole under even-odd filling
    EXPECT_EQ(plain.pixel(60, 30), kFillRgb); // points: top, left, right
    EXPECT_EQ(plain.pixel(20, 56), kFillRgb);
    EXPECT_EQ(plain.pixel(100, 56), kFillRgb);
    EXPECT_EQ(plain.pixel(60, 100), kWhite); // between the feet
    EXPECT_EQ(plain.pixel(30, 40), kWhite); // between the top and left points
    EXPECT_EQ(plain.pixel(60, 54), kFillRgb);

    const QImage outlined = Paint([](QPainter& p) { DrawStar(p, QPoint(10, 20), 100, true, kFill); });
    EXPECT_EQ(outlined.pixel(60, 20), kPenRgb);
    // The upper inner corners (49, 54) and (71, 54) sit on the line through the arm tips, so
    // the outline runs along it right up to them, but not across the inner pentagon.
    EXPECT_EQ(outlined.pixel(30, 54), kPenRgb);
    EXPECT_EQ(outlined.pixel(46, 54), kPenRgb);
    EXPECT_EQ(outlined.pixel(74, 54), kPenRgb);
    EXPECT_EQ(outlined.pixel(60, 54), kFillRgb);
    // The inner corner between the feet, trunc(59 * 2.3512 / 2) = 69 below the apex.
    EXPECT_EQ(outlined.pixel(60, 89), kPenRgb);
    EXPECT_EQ(outlined.pixel(60, 88), kFillRgb);
}

TEST(Shapes, StarOfDegenerateSize)
{
    EXPECT_TRUE(Painted(Paint([](QPainter& p) { DrawStar(p, QPoint(10, 10), 0, true, kFill); })).isEmpty());
    // Size 1 still gives s = 1: corners (10, 10) and (10, 11) only.
    const QRect tiny = Painted(Paint([](QPainter& p) { DrawStar(p, QPoint(10, 10), 1, true, kFill); }));
    EXPECT_FALSE(tiny.isEmpty());
    EXPECT_TRUE(QRect(10, 10, 1, 2).contains(tiny));
}

TEST(Shapes, Pentagon)
{
    const QImage plain = Paint([](QPainter& p) { DrawPentagon(p, QPoint(10, 20), 100, false, kFill); });
    EXPECT_EQ(plain.pixel(60, 70), kFillRgb);
    EXPECT_EQ(plain.pixel(60, 100), kFillRgb); // where the star has its notch
    EXPECT_EQ(plain.pixel(20, 100), kWhite); // outside the lower left side
    EXPECT_EQ(plain.pixel(60, 110), kWhite); // below the fill, on the base line
    const QImage outlined = Paint([](QPainter& p) { DrawPentagon(p, QPoint(10, 20), 100, true, kFill); });
    EXPECT_EQ(outlined.pixel(60, 110), kPenRgb);
    EXPECT_EQ(outlined.pixel(60, 70), kFillRgb);
    EXPECT_TRUE(Painted(Paint([](QPainter& p) { DrawPentagon(p, QPoint(10, 10), 0, true, kFill); })).isEmpty());
}

// The cross of size 40 at (10, 10) has bars 10 wide: the upright on column 30 (pixels 25 .. 34)
// from row 15 to 44, the crossbar on row 25 (pixels 20 .. 29) from column 18 to 42.

TEST(Shapes, CrossInColourWithShadow)
{
    const QImage plain = Paint([](QPainter& p) { DrawCross(p, QPoint(10, 10), 40, false, kFill); });
    EXPECT_EQ(plain.pixel(25, 40), kFillRgb);
    EXPECT_EQ(plain.pixel(34, 40), kFillRgb);
    EXPECT_EQ(plain.pixel(35, 40), kWhite);
    EXPECT_EQ(plain.pixel(19, 20), kFillRgb);
    EXPECT_EQ(plain.pixel(41, 29), kFillRgb);
    EXPECT_EQ(plain.pixel(19, 30), kWhite);
    EXPECT_EQ(plain.pixel(40, 15), kWhite);

    const QImage shadowed = Paint([](QPainter& p) { DrawCross(p, QPoint(10, 10), 40, true, kFill); });
    EXPECT_EQ(shadowed.pixel(24, 40), kWhite);
    EXPECT_EQ(shadowed.pixel(34, 40), kFillRgb);
    EXPECT_EQ(shadowed.pixel(35, 40), kBlack);
    EXPECT_EQ(shadowed.pixel(36, 40), kWhite);
    EXPECT_EQ(shadowed.pixel(19, 30), kBlack);
    EXPECT_EQ(shadowed.pixel(19, 19), kWhite);
}

TEST(Shapes, CrossIsSolidWhateverThePen)
{
    // A dotted pen would leave gaps twice its width long.
    const QPen dotted(QColor(kPenRgb), 3, Qt::DotLine);
    const QImage image = Paint([](QPainter& p) { DrawCross(p, QPoint(10, 10), 40, false, kFill); }, dotted);
    for (int y = 15; y <= 44; ++y)
        EXPECT_EQ(image.pixel(30, y), kFillRgb) << y;
    EXPECT_TRUE(Painted(Paint([](QPainter& p) { DrawCross(p, QPoint(10, 10), 0, true, kFill); })).isEmpty());
}
