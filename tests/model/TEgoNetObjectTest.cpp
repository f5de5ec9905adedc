#include "foundation/DateTime.h"
#include "model/BuiltinPictures.h"
#include "model/TEgoNetEdge.h"

#include <QRegularExpression>
#include <QSet>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

TEST(TEgoNetNode, NewNodeDefaults)
{
    const TEgoNetNode node(QPoint(5, 6), "  Ann ");
    EXPECT_EQ(node.TypeName(), "default");
    EXPECT_EQ(node.Caption(), "Ann");
    EXPECT_EQ(node.Key, "Ann");
    EXPECT_EQ(node.Position, QPoint(5, 6));
    EXPECT_EQ(node.Shape, 2);
    EXPECT_EQ(node.Size, 14);
    EXPECT_EQ(node.LabelOrientation, 2);
    EXPECT_EQ(node.ImageID, "00000000");
    EXPECT_EQ(node.Color, 0x0000CCFFu);
    EXPECT_EQ(node.Font, (TFontData{"Tahoma", 8, 0, 0}));
    EXPECT_EQ(node.Image, ColorBallPicture());
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]{8}$").match(node.ID).hasMatch()) << node.ID.toStdString();
    EXPECT_NE(node.ID, TEgoNetNode().ID);
}

TEST(TEgoNetObject, NewIDsAreRandomHexOnEveryThread)
{
    // Every digit takes all sixteen values, and IDs rarely meet: 20,000 of 2^32 draws share one
    // by chance about once in twenty runs, three at once practically never. Another thread draws
    // from its own generator, not a copy of this one's.
    QSet<QString> ids;
    QSet<QChar> digits[8];
    for (int i = 0; i < 20000; ++i) {
        const QString id = NewObjectID();
        ASSERT_TRUE(QRegularExpression("^[0-9A-F]{8}$").match(id).hasMatch()) << id.toStdString();
        ids.insert(id);
        for (int d = 0; d < 8; ++d)
            digits[d].insert(id[d]);
    }
    EXPECT_GE(ids.size(), 19998);
    for (const QSet<QChar>& used : digits)
        EXPECT_EQ(used.size(), 16);
    QStringList elsewhere;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        for (int i = 0; i < 20000; ++i)
            elsewhere.append(NewObjectID());
    }));
    thread->start();
    thread->wait();
    int shared = 0;
    for (const QString& id : elsewhere)
        shared += ids.contains(id) ? 1 : 0;
    EXPECT_LE(shared, 2);
}

TEST(TEgoNetEdge, NewLinkDefaults)
{
    const TEgoNetEdge link;
    EXPECT_EQ(link.TypeName(), "is_linked_to");
    EXPECT_EQ(link.Caption(), "");
    EXPECT_EQ(link.Strength, 1.0f);
    EXPECT_EQ(link.Width, 1);
    EXPECT_TRUE(link.Directed);
    EXPECT_EQ(link.HeadLength, 10);
    EXPECT_EQ(link.HeadWidth, 3);
    EXPECT_EQ(link.HeadColor, 0x00D68200u);
    EXPECT_EQ(link.Color, 0x00D68200u);
    EXPECT_EQ(link.Font, (TFontData{"Tahoma", 7, 0x00975300, 0}));
}

TEST(BuiltinPictures, SizesAndWhiteCorners)
{
    const QImage& ball = ColorBallPicture();
    EXPECT_EQ(ball.size(), QSize(16, 16));
    // The bottom-left pixel is the transparent colour of a picture: it must be the background.
    EXPECT_EQ(ball.pixel(0, 15), qRgb(255, 255, 255));
    const QColor centre = ball.pixelColor(8, 8);
    EXPECT_GT(centre.red(), centre.blue() + 80) << "the ball is orange";
    const QImage& cube = ColorCubePicture();
    EXPECT_EQ(cube.size(), QSize(35, 35));
    EXPECT_EQ(cube.pixel(0, 34), qRgb(255, 255, 255));
    // Shared, not redrawn.
    EXPECT_EQ(ColorBallPicture().constBits(), ball.constBits());
}

TEST(TEgoNetObject, SelectionStampsThePresentMoment)
{
    TEgoNetNode node;
    const double before = NowAsDays();
    node.SetSelected(true);
    EXPECT_GE(node.SelectTime, before - 1e-9);
    EXPECT_LE(node.SelectTime, NowAsDays() + 1e-9);
    node.SetSelected(false);
    EXPECT_EQ(node.SelectTime, 0);
}

TEST(TEgoNetNode, AssignFromCopiesEverythingButStampsNow)
{
    TEgoNetNode source(QPoint(1, 2), "Src");
    source.SetSelected(true);
    source.SelectTime = 100.0; // long ago
    source.Attributes = TAttributes{"age=30"};
    source.GroupIDs = {"G1"};
    source.Shape = 9;
    source.Tag = 7;
    source.Expanded = true;
    source.ReservedFloat = 2.5f;
    source.Image = ColorCubePicture();

    TEgoNetNode copy;
    copy.AssignFrom(&source);
    EXPECT_EQ(copy.ID, source.ID);
    EXPECT_EQ(copy.Caption(), "Src");
    EXPECT_EQ(copy.Position, QPoint(1, 2));
    EXPECT_EQ(copy.Attributes, source.Attributes);
    EXPECT_EQ(copy.GroupIDs, QStringList{"G1"});
    EXPECT_EQ(copy.Shape, 9);
    EXPECT_EQ(copy.Tag, 7);
    EXPECT_TRUE(copy.Expanded);
    EXPECT_EQ(copy.ReservedFloat, 2.5f);
    EXPECT_EQ(copy.Image, ColorCubePicture());
    EXPECT_TRUE(copy.Selected());
    EXPECT_GT(copy.SelectTime, 40000.0); // the present, not day 100

    copy.AssignFrom(nullptr);
    EXPECT_EQ(copy.Caption(), "Src");
}

TEST(TEgoNetEdge, AssignFromKeepsOwnIdentityAndFlags)
{
    TEgoNetNode a, b;
    TEgoNetEdge source(&a, &b);
    source.SetTypeName("friend");
    source.Bends.Add(QPoint(3, 4));
    source.Enabled = false;
    source.Strength = 0.5f;
    TEgoNetEdge copy;
    const QString ownID = copy.ID;
    copy.AssignFrom(&source);
    EXPECT_EQ(copy.ID, ownID);
    EXPECT_TRUE(copy.Enabled);
    EXPECT_EQ(copy.TypeName(), "friend");
    EXPECT_EQ(copy.Source, &a);
    EXPECT_EQ(copy.Target, &b);
    EXPECT_EQ(copy.Bends.Count(), 1);
    EXPECT_EQ(copy.Strength, 0.5f);
    source.Bends.Set(0, QPoint(9, 9));
    EXPECT_EQ(copy.Bends.Get(0), QPoint(3, 4)) << "bends are copied, not shared";
}

TEST(TEgoNetNode, ImageMasksUseTheBottomLeftColour)
{
    TEgoNetNode node;
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(1, 0, qRgb(10, 20, 30));
    node.Image = picture;
    node.BuildImageMasks();
    ASSERT_EQ(node.ImageMask.size(), QSize(3, 2));
    EXPECT_EQ(node.ImageMask.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(node.ImageMask.pixel(2, 0), qRgb(255, 255, 255)); // white anywhere is transparent
    EXPECT_EQ(node.ImageColorPart.pixel(1, 0), qRgb(10, 20, 30));
    EXPECT_EQ(node.ImageColorPart.pixel(2, 1), qRgb(0, 0, 0));

    node.ClearImage();
    EXPECT_TRUE(node.Image.isNull());
    EXPECT_EQ(node.ImageID, "00000000");
    EXPECT_EQ(node.ImageMask.size(), QSize(0, 0));
    EXPECT_EQ(node.ImageColorPart.size(), QSize(0, 0));
}

TEST(TEgoNetObject, HintText)
{
    TEgoNetNode node(QPoint(), "Ann");
    EXPECT_EQ(node.HintText(true), "");
    EXPECT_EQ(node.HintText(false), "Label:  Ann");
    node.Attributes = TAttributes{"age=30", "city=Rome"};
    EXPECT_EQ(node.HintText(false), "Label:  Ann\r\nage:  30\r\ncity:  Rome");
    EXPECT_EQ(node.HintText(true), "age:  30\r\ncity:  Rome");
    node.HideLabel = true;
    EXPECT_EQ(node.HintText(true), "Label:  Ann\r\nage:  30\r\ncity:  Rome");
    node.Attributes = TAttributes{"age=30", "nameless"};
    EXPECT_EQ(node.HintText(true), "Label:  Ann\r\nage:  30\r\n");
    node.Visible = false;
    EXPECT_EQ(node.HintText(false), "");
}

TEST(TEgoNetNode, DefaultsMatchingAndApplying)
{
    TDisplayDefaults defaults;
    TEgoNetNode node;
    EXPECT_TRUE(node.MatchesDefaults(defaults));
    EXPECT_TRUE(node.Agreement(defaults).All());

    node.Shape = 0;
    node.Font.Style = TFontData::fsBold;
    EXPECT_FALSE(node.MatchesDefaults(defaults));
    EXPECT_EQ(node.Agreement(defaults), (TNodeAgreement{.Shape = false, .Font = false}));

    node.IsGroup = true;
    node.Color = defaults.nGrpColor;
    EXPECT_TRUE(node.Agreement(defaults).Color) << "a group may wear the group colour";
    node.IsGroup = false;
    EXPECT_FALSE(node.Agreement(defaults).Color);
    node.IsGroup = true;

    node.ApplyDefaults(defaults);
    EXPECT_EQ(node.Size, 21);
    EXPECT_EQ(node.Color, defaults.nGrpColor);
    defaults.nHeight = 15;
    node.ApplyDefaults(defaults);
    EXPECT_EQ(node.Size, 22); // 22.5 rounds to even
    defaults.nHeight = -3;
    node.IsGroup = false;
    node.ApplyDefaults(defaults);
    EXPECT_EQ(node.Size, 0);
    EXPECT_EQ(node.Color, defaults.nAltColor);
    EXPECT_TRUE(node.MatchesDefaults(defaults)) << "a negative default size counts as 0";
}

TEST(TEgoNetEdge, DefaultsMatchingAndApplying)
{
    TDisplayDefaults defaults;
    defaults.eWidth = 3;
    defaults.eHeadColor = 0x123456;
    TEgoNetEdge link;
    link.Strength = 0.25f;
    EXPECT_FALSE(link.MatchesDefaults(defaults));
    EXPECT_EQ(link.Agreement(defaults), (TLinkAgreement{.Width = false, .HeadColor = false}));
    link.ApplyDefaults(defaults);
    EXPECT_TRUE(link.MatchesDefaults(defaults));
    EXPECT_EQ(link.Strength, 0.25f);
}

TEST(TEgoNetEdge, MidPointAndCurvePoint)
{
    TEgoNetNode a(QPoint(0, 0)), b(QPoint(5, 3));
    TEgoNetEdge link(&a, &b);
    link.UpdateMidPoint(0);
    EXPECT_EQ(link.MidPoint, QPoint(2, 1));
    EXPECT_EQ(link.CurvePoint, QPoint(2, 1));

    TEgoNetNode c(QPoint(-5, -3));
    TEgoNetEdge negative(&a, &c);
    negative.UpdateMidPoint(0);
    EXPECT_EQ(negative.MidPoint, QPoint(-2, -1)) << "the middle truncates towards zero";

    TEgoNetNode far(QPoint(100, 0));
    TEgoNetEdge offset(&a, &far);
    offset.UpdateMidPoint(10);
    EXPECT_EQ(offset.MidPoint, QPoint(50, -10));

    TEgoNetEdge loose(&a, nullptr);
    loose.MidPoint = QPoint(4, 4);
    loose.UpdateMidPoint(0);
    EXPECT_EQ(loose.MidPoint, QPoint(0, 0));

    TEgoNetEdge loop(&a, &a);
    loop.MidPoint = QPoint(0, 40);
    loop.UpdateCurvePoint();
    EXPECT_EQ(loop.CurvePoint, QPoint(0, 34)); // 40 * 0.85
}

TEST(TEgoNetEdge, Duplicates)
{
    TEgoNetNode a, b;
    TEgoNetEdge ab(&a, &b), ab2(&a, &b), ba(&b, &a);
    EXPECT_FALSE(ab.IsDuplicateOf(&ab2)) << "same direction";
    EXPECT_TRUE(ab.IsDuplicateOf(&ba));
    EXPECT_FALSE(ab.IsDuplicateOf(&ab));
    EXPECT_FALSE(ab.IsDuplicateOf(nullptr));
    ab.Directed = false;
    ab2.Directed = false;
    EXPECT_TRUE(ab.IsDuplicateOf(&ab2));
    ab2.SetTypeName("friend");
    EXPECT_FALSE(ab.IsDuplicateOf(&ab2));
}

TEST(TEgoNetEdge, EndHelpers)
{
    TEgoNetNode a, b;
    TEgoNetEdge link(&a, &b);
    link.MarkEndsLinked();
    EXPECT_TRUE(a.Linked && b.Linked);
    a.SetSelected(true);
    link.UpdateSelected();
    EXPECT_FALSE(link.Selected());
    b.SetSelected(true);
    link.UpdateSelected();
    EXPECT_TRUE(link.Selected());
    b.Enabled = false;
    link.UpdateEnabled();
    EXPECT_FALSE(link.Enabled);
    link.SwapEnds();
    EXPECT_EQ(link.Source, &b);
    EXPECT_FALSE(link.IsSelfLoop());
    TEgoNetEdge half(&a, nullptr);
    half.UpdateVisible();
    EXPECT_FALSE(half.Visible);
}

TEST(TFontData, StyleWords)
{
    EXPECT_EQ(FontStyleWords(TFontData::fsBold | TFontData::fsItalic), " fsBold fsItalic");
    EXPECT_EQ(FontStyleWords(0), "");
    EXPECT_EQ(FontStyleFromWords("fsStrikeOut"), TFontData::fsStrikeOut);
    EXPECT_EQ(FontStyleFromWords("[fsUnderline,fsBold]"), TFontData::fsUnderline | TFontData::fsBold);
    EXPECT_EQ(FontStyleFromWords("fsbold"), 0);
}
