#pragma once

#include "output/TGraphPrinter.h"
#include "view/TCursorMan.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

// The colours the test view paints.
inline const QRgb kRed = qRgb(255, 0, 0);
inline const QRgb kLight = qRgb(200, 220, 240);
inline const QRgb kDarkRed = qRgb(200, 30, 30);
inline const QRgb kDarkBlue = qRgb(30, 30, 90);
inline const QRgb kBlack = qRgb(0, 0, 0);
inline const QRgb kWhite = qRgb(255, 255, 255);

// The colour of the gradient that fills the lower half, more colours than any palette holds.
inline QRgb GradientAt(int x, int y)
{
    return qRgb(x * 255 / 199, (y - 60) * 4, 100);
}

// A 200 x 120 view. Upper half, left to right: red, light blue-grey, dark red, dark blue, 50 pixels
// each; lower half: a gradient. Remembers whether the hourglass showed while it painted.
class TPatternView : public QWidget
{
public:
    TPatternView()
    {
        resize(200, 120);
    }

    int Paints = 0;
    bool BusyWhilePainting = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        ++Paints;
        BusyWhilePainting = IsBusy();
        QPainter painter(this);
        const QRgb bands[] = {kRed, kLight, kDarkRed, kDarkBlue};
        for (int i = 0; i < 4; ++i)
            painter.fillRect(50 * i, 0, 50, 60, QColor(bands[i]));
        for (int y = 60; y < 120; ++y)
            for (int x = 0; x < 200; ++x) {
                painter.setPen(QColor(GradientAt(x, y)));
                painter.drawPoint(x, y);
            }
    }
};

// What the view shows, without the frame that saving adds.
inline QImage PatternPicture()
{
    TPatternView view;
    QImage image(view.size(), QImage::Format_RGB32);
    view.render(&image);
    return image;
}

inline QByteArray ReadBytes(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Little-endian fields of a file; 0 past its end, so a short file fails the checks instead of
// reading beyond it.
inline quint32 U32(const QByteArray& bytes, qsizetype at)
{
    return at >= 0 && at + 4 <= bytes.size() ? qFromLittleEndian<quint32>(bytes.constData() + at) : 0;
}

inline qint32 I32(const QByteArray& bytes, qsizetype at)
{
    return qint32(U32(bytes, at));
}

inline quint16 U16(const QByteArray& bytes, qsizetype at)
{
    return at >= 0 && at + 2 <= bytes.size() ? qFromLittleEndian<quint16>(bytes.constData() + at) : 0;
}

// Largest difference of the three channels.
inline int ColourDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Runs a program to its end and returns its standard output; empty output when it failed.
inline QString RunProgram(const QString& program, const QStringList& arguments, int timeoutMs = 60000)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// Saves the test view's picture into a fresh folder.
class SavedPictureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
    }

    QString PathOf(const QString& name) const
    {
        return FDir.filePath(name);
    }

    // The path of the saved file; a failed save fails the test.
    QString Save(const QString& name, int depth)
    {
        const QString path = PathOf(name);
        EXPECT_TRUE(TGraphPrinter(&FView, FView.rect()).SavePicture(path, depth)) << name.toStdString();
        return path;
    }

    QStringList Files() const
    {
        return QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden);
    }

    TPatternView FView;
    QTemporaryDir FDir;
};

// The checks with ImageMagick's identify need it installed; scripts/deps does that.
inline ::testing::AssertionResult IdentifyInstalled()
{
    if (!QStandardPaths::findExecutable(QStringLiteral("identify")).isEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "ImageMagick's identify is not installed; scripts/deps installs it (package imagemagick)";
}

inline QString Identify(const QStringList& arguments)
{
    return RunProgram(QStringLiteral("identify"), arguments);
}
