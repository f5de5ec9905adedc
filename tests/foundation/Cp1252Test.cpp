#include "foundation/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(EncodeCp1252(DecodeCp1252(all)), all);
}

TEST(Cp1252, TheHighRangeDiffersFromLatin1)
{
    EXPECT_EQ(DecodeCp1252(QByteArray("\x80")), QString(QChar(0x20AC)));
    EXPECT_EQ(DecodeCp1252(QByteArray("\x9f")), QString(QChar(0x0178)));
    EXPECT_EQ(DecodeCp1252(QByteArray("\xe9")), QString(QChar(0x00E9)));
    EXPECT_EQ(EncodeCp1252(QString(QChar(0x2122))), QByteArray("\x99"));
}

TEST(Cp1252, MissingCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(EncodeCp1252(QString::fromUtf8("a\xe4\xb8\xad" "b")), QByteArray("a?b"));
}

TEST(Cp1252, AsciiTest)
{
    EXPECT_TRUE(IsAscii(QString()));
    EXPECT_TRUE(IsAscii("plain text 123 ~"));
    EXPECT_FALSE(IsAscii(QString::fromUtf8("caf\xc3\xa9")));
}
