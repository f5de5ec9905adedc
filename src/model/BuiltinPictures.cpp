#include "model/BuiltinPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>

namespace {

QImage DrawColorBall()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Light from the upper left: a bright highlight fading into deep orange at the rim.
    QRadialGradient shade(QPointF(6.0, 5.5), 8.5, QPointF(5.0, 4.5));
    shade.setColorAt(0.0, QColor(255, 250, 220));
    shade.setColorAt(0.35, QColor(255, 190, 40));
    shade.setColorAt(1.0, QColor(200, 90, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(QRectF(1.0, 1.0, 14.0, 14.0));
    return image;
}

QImage DrawColorCube()
{
    QImage image(35, 35, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Three visible faces of the RGB cube seen from the white corner's side.
    const QPointF top(17.5, 2.0), left(3.0, 10.0), right(32.0, 10.0), centre(17.5, 18.0);
    const QPointF bottomLeft(3.0, 26.0), bottomRight(32.0, 26.0), bottom(17.5, 33.0);

    QLinearGradient topFace(left, right);
    topFace.setColorAt(0.0, QColor(0, 255, 255));
    topFace.setColorAt(0.5, QColor(255, 255, 255));
    topFace.setColorAt(1.0, QColor(255, 0, 255));
    QLinearGradient leftFace(top, bottom);
    leftFace.setColorAt(0.0, QColor(0, 255, 0));
    leftFace.setColorAt(1.0, QColor(0, 60, 200));
    QLinearGradient rightFace(top, bottom);
    rightFace.setColorAt(0.0, QColor(255, 255, 0));
    rightFace.setColorAt(1.0, QColor(220, 0, 40));

    p.setPen(QPen(QColor(60, 60, 60), 0.8));
    p.setBrush(topFace);
    p.drawPolygon(QPolygonF({top, right, centre, left}));
    p.setBrush(leftFace);
    p.drawPolygon(QPolygonF({left, centre, bottom, bottomLeft}));
    p.setBrush(rightFace);
    p.drawPolygon(QPolygonF({centre, right, bottomRight, bottom}));
    return image;
}

} // namespace

const QImage& ColorBallPicture()
{
    static const QImage ball = DrawColorBall();
    return ball;
}

const QImage& ColorCubePicture()
{
    static const QImage cube = DrawColorCube();
    return cube;
}
