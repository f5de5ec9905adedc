#include "foundation/ValueTestSupport.h"
#include "model/BuiltinPictures.h"
#include "model/Records.h"
#include "model/TEgoNetEdge.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

QByteArray NodeBytes(const TEgoNetNode& node)
{
    return Written([&](ValueWriter& w) { WriteNodeRecord(node, w); });
}

QByteArray LinkBytes(const TEgoNetEdge& link)
{
    return Written([&](ValueWriter& w) { WriteLinkRecord(link, w); });
}

// Reads a node record from bytes into node; the error message, or empty on success.
QString ReadNode(const QByteArray& bytes, TEgoNetNode& node)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    ValueReader reader(buffer);
    try {
        ReadNodeRecord(node, reader);
    } catch (const EStreamError& e) {
        return e.Message();
    }
    return QString();
}

QString ReadLink(const QByteArray& bytes, TEgoNetEdge& link, QString& source, QString& target)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    ValueReader reader(buffer);
    try {
        ReadLinkRecord(link, reader, source, target);
    } catch (const EStreamError& e) {
        return e.Message();
    }
    return QString();
}

void FillNode(TEgoNetNode& node)
{
    node.SetCaption(QString::fromUtf8("Ren\xc3\xa9"));
    node.Position = QPoint(-300, 70000);
    node.LabelPos = QPoint(12, -1);
    node.LabelOrientation = 3;
    node.ImageID = "ABCDEF01";
    node.ImageTransparent = true;
    node.Font = TFontData{"Arial", 11, 0x00112233, TFontData::fsBold | TFontData::fsItalic};
    node.Shape = 9;
    node.Color = 0x00FF0080;
    node.Size = 21;
    node.Linked = true;
    node.SetSelected(true);
    node.SelectTime = 45000.25;
    node.Enabled = false;
    node.Movable = false;
    node.Attributes = TAttributes{"age=30", "city=Rome"};
    node.IsGroup = true;
    node.GroupIDs = {"00AA11BB"};
    node.Clusters = {"1", "7"};
    node.ReservedInt1 = -5;
    node.ReservedInt2 = 1 << 20;
    node.Key = "old-key";
    node.HideLabel = true;
    node.ReservedFloat = 0.5f;
}

} // namespace

TEST(NodeRecord, FullRoundTripIsByteForByte)
{
    TEgoNetNode node(QPoint(), "x");
    FillNode(node);
    QImage picture(5, 3, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    picture.setPixel(4, 0, qRgb(200, 100, 50));
    node.Image = picture;
    const QByteArray first = NodeBytes(node);

    TEgoNetNode read;
    ASSERT_EQ(ReadNode(first, read), "");
    EXPECT_EQ(read.ID, node.ID);
    EXPECT_EQ(read.Caption(), node.Caption());
    EXPECT_EQ(read.Position, node.Position);
    EXPECT_EQ(read.Font, node.Font);
    EXPECT_EQ(read.Attributes, node.Attributes);
    EXPECT_EQ(read.Clusters, node.Clusters);
    EXPECT_EQ(read.SelectTime, 45000.25) << "the stored moment, not the moment of reading";
    EXPECT_TRUE(read.Selected());
    EXPECT_FALSE(read.Enabled);
    EXPECT_EQ(read.Image.size(), QSize(5, 3));
    EXPECT_EQ(read.Image.pixel(4, 0), qRgb(200, 100, 50));
    EXPECT_EQ(read.ImageMask.size(), QSize(5, 3)) << "a picture read rebuilds the masks";
    EXPECT_EQ(NodeBytes(read), first);
}

TEST(NodeRecord, PictureRecordLayout)
{
    TEgoNetNode node;
    node.Image = ColorBallPicture();
    const QByteArray bytes = NodeBytes(node);
    const QByteArray width = QByteArray("\x05" "Width\x02\x10", 8);
    const QByteArray height = QByteArray("\x06" "Height\x02\x10", 9);
    EXPECT_TRUE(bytes.contains(QByteArray("TPF0\x06" "TImage\x00\x04" "Left\x02\x00\x03" "Top\x02\x00", 24)));
    EXPECT_TRUE(bytes.contains(width + height + QByteArray("\x08" "AutoSize\x09", 10)));
    const qsizetype data = bytes.indexOf("\x0c" "Picture.Data\x0a");
    ASSERT_GE(data, 0);
    const QByteArray payload = bytes.mid(data + 14 + 4);
    EXPECT_TRUE(payload.startsWith("\x07" "TBitmap"));
    const QByteArray bmp = payload.mid(8 + 4);
    EXPECT_TRUE(bmp.startsWith("BM"));
    quint32 bmpLength;
    memcpy(&bmpLength, payload.constData() + 8, 4);
    EXPECT_EQ(qFromLittleEndian(bmpLength), quint32(qFromLittleEndian<quint32>(bmp.constData() + 2)))
        << "the length is the BMP file's own size";
}

TEST(NodeRecord, NodeWithoutPictureKeepsTheReadersPicture)
{
    TEgoNetNode node;
    node.ClearImage();
    const QByteArray bytes = NodeBytes(node);
    EXPECT_TRUE(bytes.contains(QByteArray("\x05" "Width\x02\x00\x06" "Height\x02\x00\x08" "AutoSize\x09\x00\x00", 29)));
    EXPECT_FALSE(bytes.contains("Picture.Data"));
    TEgoNetNode read;
    ASSERT_EQ(ReadNode(bytes, read), "");
    EXPECT_EQ(read.Image, ColorBallPicture());
}

TEST(NodeRecord, EveryTruncationIsANodeDataReadError)
{
    TEgoNetNode node;
    FillNode(node);
    const QByteArray bytes = NodeBytes(node);
    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        TEgoNetNode read;
        EXPECT_EQ(ReadNode(bytes.left(cut), read), "Node data read error") << "cut at " << cut;
    }
}

TEST(NodeRecord, AttributeCountBelowTheStringsFails)
{
    TEgoNetNode node;
    node.Attributes = TAttributes{"a=1", "b=2", "c=3"};
    QByteArray bytes = NodeBytes(node);
    const qsizetype list = bytes.indexOf(QByteArray("\x01\x02\x03\x06\x03" "a=1", 8));
    ASSERT_GE(list, 0);
    bytes[list + 2] = 2;
    TEgoNetNode read;
    EXPECT_EQ(ReadNode(bytes, read), "Node data read error");
    EXPECT_EQ(read.Attributes, QStringList({"a=1", "b=2"})) << "fields before the failure stay";
}

TEST(NodeRecord, HostileCountsAndLengthsFailWithoutHugeAllocations)
{
    TEgoNetNode node;
    node.Attributes = TAttributes{"a=1"};
    const QByteArray bytes = NodeBytes(node);

    QByteArray hugeCount = bytes;
    const qsizetype list = hugeCount.indexOf(QByteArray("\x01\x02\x01\x06\x03" "a=1", 8));
    ASSERT_GE(list, 0);
    hugeCount.replace(list + 1, 2, QByteArray("\x04\xff\xff\xff\x7f", 5)); // two billion entries
    TEgoNetNode read;
    EXPECT_EQ(ReadNode(hugeCount, read), "Node data read error");

    TEgoNetNode pictured;
    pictured.Image = ColorBallPicture();
    QByteArray hugePicture = NodeBytes(pictured);
    const qsizetype data = hugePicture.indexOf("Picture.Data");
    ASSERT_GE(data, 0);
    hugePicture.replace(data + 13, 4, QByteArray("\xff\xff\xff\xff", 4)); // 4 GB of picture
    EXPECT_EQ(ReadNode(hugePicture, read), "Node data read error");
}

TEST(NodeRecord, UnreadablePicturesGiveNoPicture)
{
    TEgoNetNode pictured;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    pictured.Image = picture;
    const QByteArray good = NodeBytes(pictured);
    const qsizetype bm = good.indexOf("BM");
    ASSERT_GE(bm, 0);

    // A header that claims 100000 x 100000 pixels.
    QByteArray giant = good;
    qToLittleEndian<qint32>(100000, giant.data() + bm + 18);
    qToLittleEndian<qint32>(100000, giant.data() + bm + 22);
    TEgoNetNode read;
    EXPECT_EQ(ReadNode(giant, read), "");
    EXPECT_EQ(read.Image, ColorBallPicture());

    // Garbage where the BMP should be.
    QByteArray garbage = good;
    garbage[bm] = 'X';
    TEgoNetNode read2;
    EXPECT_EQ(ReadNode(garbage, read2), "");
    EXPECT_EQ(read2.Image, ColorBallPicture());

    // Another picture kind.
    QByteArray icon = good;
    icon.replace(icon.indexOf("TBitmap"), 7, "TIconXX");
    TEgoNetNode read3;
    EXPECT_EQ(ReadNode(icon, read3), "");
    EXPECT_EQ(read3.Image, ColorBallPicture());
}

TEST(NodeRecord, UnknownPictureProperty)
{
    TEgoNetNode node;
    QByteArray bytes = NodeBytes(node);
    bytes.replace(bytes.indexOf("AutoSize"), 8, "AutoSizX");
    TEgoNetNode read;
    EXPECT_EQ(ReadNode(bytes, read), "Node data read error");
}

TEST(NodeRecord, ShapeAndOrientationKeepTheLowByte)
{
    TEgoNetNode node;
    node.LabelOrientation = 0;
    QByteArray bytes = NodeBytes(node);
    // Position, label position, then orientation: 02 00 x4, then the orientation 02 00.
    const qsizetype at = bytes.indexOf(QByteArray("\x02\x00\x02\x00\x02\x00\x02\x00\x02\x00\x06\x08", 12));
    ASSERT_GE(at, 0);
    bytes.replace(at + 8, 2, QByteArray("\x03\x03\x01", 3)); // 259
    TEgoNetNode read;
    ASSERT_EQ(ReadNode(bytes, read), "");
    EXPECT_EQ(read.LabelOrientation, 3);
}

TEST(LinkRecord, BendsLayoutAndRoundTrip)
{
    TEgoNetNode a, b;
    TEgoNetEdge link(&a, &b);
    link.SetTypeName("friend");
    link.Bends.Add(QPoint(3, 4));
    link.Bends.Add(QPoint(10, 20));
    link.Strength = 0.75f;
    link.Font.Style = TFontData::fsUnderline;
    link.Attributes = TAttributes{"since=1999"};
    link.Offset = -12;
    const QByteArray bytes = LinkBytes(link);
    EXPECT_TRUE(bytes.contains(QByteArray("\x01\x02\x02\x02\x03\x02\x04\x02\x0a\x02\x14\x00", 12)));

    TEgoNetEdge read;
    QString source, target;
    ASSERT_EQ(ReadLink(bytes, read, source, target), "");
    EXPECT_EQ(source, a.ID);
    EXPECT_EQ(target, b.ID);
    EXPECT_EQ(read.Bends.Count(), 2);
    EXPECT_EQ(read.Bends.Get(1), QPoint(10, 20));
    EXPECT_EQ(read.Strength, 0.75f);
    EXPECT_EQ(read.Font.Style, TFontData::fsUnderline);
    read.Source = &a;
    read.Target = &b;
    EXPECT_EQ(LinkBytes(read), bytes);
}

TEST(LinkRecord, EveryTruncationIsAnEdgeDataReadError)
{
    TEgoNetNode a, b;
    TEgoNetEdge link(&a, &b);
    link.Bends.Add(QPoint(1, 1));
    link.Attributes = TAttributes{"x=y"};
    const QByteArray bytes = LinkBytes(link);
    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        TEgoNetEdge read;
        QString s, t;
        EXPECT_EQ(ReadLink(bytes.left(cut), read, s, t), "Edge data read error") << "cut at " << cut;
    }
}

TEST(LinkRecord, ReadingEmptiesTheBendsFirst)
{
    TEgoNetNode a, b;
    TEgoNetEdge link(&a, &b);
    const QByteArray bytes = LinkBytes(link);
    TEgoNetEdge read;
    read.Bends.Add(QPoint(7, 7));
    QString s, t;
    ASSERT_EQ(ReadLink(bytes, read, s, t), "");
    EXPECT_EQ(read.Bends.Count(), 0);
}

TEST(NodeRecord, EqualPicturesInARowAreSharedAndOthersKeptApart)
{
    QImage first(5, 3, QImage::Format_RGB32);
    first.fill(qRgb(10, 20, 30));
    first.setPixel(4, 0, qRgb(200, 0, 0));
    QImage second = first.copy();
    second.setPixel(4, 0, qRgb(0, 200, 0));
    const QList<QImage> pictures{first, first.copy(), second, first};
    QByteArray bytes;
    for (const QImage& picture : pictures) {
        TEgoNetNode node;
        node.Image = picture;
        bytes += NodeBytes(node);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ValueReader reader(buffer);
    std::vector<std::unique_ptr<TEgoNetNode>> read;
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        read.push_back(std::make_unique<TEgoNetNode>());
        ReadNodeRecord(*read.back(), reader);
        EXPECT_EQ(read.back()->Image, pictures[i]) << i;
        EXPECT_EQ(read.back()->ImageMask.pixelIndex(4, 0), 0) << i;
        EXPECT_EQ(read.back()->ImageMask.pixelIndex(0, 0), 1) << i;
    }
    EXPECT_EQ(read[0]->Image.cacheKey(), read[1]->Image.cacheKey());
    EXPECT_NE(read[1]->Image.cacheKey(), read[2]->Image.cacheKey());
    EXPECT_EQ(read[3]->ImageColorPart.pixel(4, 0), qRgb(200, 0, 0));
}
