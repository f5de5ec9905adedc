#include "settings/TIniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

class TIniFileTest : public ::testing::Test
{
protected:
    QString WriteFile(const QByteArray& bytes)
    {
        const QString path = FDir.filePath(QStringLiteral("test.ini"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return path;
    }
    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir FDir;
};

TEST_F(TIniFileTest, WhatCountsAsAnEntry)
{
    const TIniFile ini(WriteFile("orphan=1\r\n"
                                 "[ Lists ]\r\n"
                                 "  Best Friend  =  Anna Berg  \r\n"
                                 "; comment=1\n"
                                 "no equals sign\n"
                                 "=nameless\n"
                                 "a=first\n"
                                 "A=second\n"
                                 "path = x=y \n"
                                 "quoted=\"  padded  \"\n"
                                 "mixed='x\"\n"
                                 "[broken\n"
                                 "[LISTS]\n"
                                 "late=1"));
    EXPECT_EQ(ini.ReadSection("lists"), QStringList({"Best Friend", "a", "A", "path", "quoted", "mixed"}));
    EXPECT_EQ(ini.ReadString("LISTS", "best friend", ""), "Anna Berg");
    EXPECT_EQ(ini.ReadString("Lists", "a", ""), "first");
    EXPECT_EQ(ini.ReadString("Lists", "path", ""), "x=y");
    EXPECT_EQ(ini.ReadString("Lists", "quoted", ""), "  padded  ");
    EXPECT_EQ(ini.ReadString("Lists", "mixed", ""), "'x\"");
    for (const char* key : {"late", "orphan", "; comment", "Best", "no equals sign"})
        EXPECT_EQ(ini.ReadString("Lists", key, "none"), "none") << key;
    EXPECT_EQ(ini.ReadString("", "orphan", "none"), "none") << "lines before any section belong to none";
    EXPECT_TRUE(ini.ReadSection("List").isEmpty());
}

TEST_F(TIniFileTest, NumbersAndTruthValues)
{
    const TIniFile ini(WriteFile("[N]\nneg=-7\nmax=2147483647\nhex=0x10\ntail=12abc\nbig=4294967296\nempty=\n"
                                 "zero=0\ntwo=2\nword=yes\nf=-1.5e2\ncomma=1,5\ninf=inf\n"));
    EXPECT_EQ(ini.ReadInteger("N", "neg", 0), -7);
    EXPECT_EQ(ini.ReadInteger("N", "max", 0), 2147483647);
    for (const char* key : {"hex", "tail", "big", "empty", "word", "missing"})
        EXPECT_EQ(ini.ReadInteger("N", key, -99), -99) << key;
    EXPECT_FALSE(ini.ReadBool("N", "zero", true));
    EXPECT_TRUE(ini.ReadBool("N", "two", false));
    EXPECT_FALSE(ini.ReadBool("N", "word", false));
    EXPECT_EQ(ini.ReadFloat("N", "f", 9), -150.0);
    for (const char* key : {"comma", "inf", "word"})
        EXPECT_EQ(ini.ReadFloat("N", key, 9), 9.0) << key;
}

TEST_F(TIniFileTest, Utf8WithWindows1252ForOtherBytes)
{
    // After the byte order mark: UTF-8 e-acute, a lone 8-bit e-acute and euro sign, a surrogate
    // and an overlong form (neither valid UTF-8), a sequence cut off by the end of the file.
    const TIniFile ini(WriteFile("\xEF\xBB\xBF[Caf\xC3\xA9]\nname=Ren\xE9 \x80 \xE2\x82\xAC\n"
                                 "surrogate=\xED\xA0\x80\noverlong=\xC0\xAF\nend=\xC3"));
    const QString section = QString::fromUtf8("CAF\xC3\x89");
    EXPECT_EQ(ini.ReadString(section, "name", ""), QString::fromUtf8("Ren\xC3\xA9 \xE2\x82\xAC \xE2\x82\xAC"));
    EXPECT_EQ(ini.ReadString(section, "surrogate", ""), QString::fromUtf8("\xC3\xAD\xC2\xA0\xE2\x82\xAC"));
    EXPECT_EQ(ini.ReadString(section, "overlong", ""), QString::fromUtf8("\xC3\x80\xC2\xAF"));
    EXPECT_EQ(ini.ReadString(section, "end", ""), QString::fromUtf8("\xC3\x83"));
}

TEST_F(TIniFileTest, WritingErasingAndSaving)
{
    const QString path = WriteFile("; kept\r\n[Schools]\r\nOld=\r\n"
                                   "[LinkTypes]\r\nstray line\r\n = nameless\r\nfriend=255\r\nFriend=1\r\n"
                                   "[Schools]\r\nAgain=\r\n");
    TIniFile ini(path);
    ini.WriteString("LINKTYPES", "FRIEND", "  65280 ");
    ini.WriteString("LinkTypes", QString::fromUtf8(" B\xC3\xBCro "), "line\r\nbreak");
    ini.WriteString("Food", "Pizza", "");
    ini.WriteString("Food", "", "ignored");
    ini.EraseSection("schools");
    EXPECT_TRUE(ini.ReadSection("Schools").isEmpty()) << "both sections of that name";
    EXPECT_EQ(ini.ReadString("LinkTypes", "friend", ""), "65280");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ReadFile(path), "; kept\r\n\r\n"
                              "[LinkTypes]\r\nstray line\r\n= nameless\r\nfriend=65280\r\nFriend=1\r\n"
                              "B\xC3\xBCro=line  break\r\n\r\n"
                              "[Food]\r\nPizza=\r\n");
    EXPECT_EQ(TIniFile(path).ReadString("linktypes", QString::fromUtf8("b\xC3\xBCro"), ""), "line  break");

    const QString fresh = FDir.filePath("new.ini");
    TIniFile created(fresh);
    created.WriteString("S", "k", "v");
    ASSERT_TRUE(created.UpdateFile());
    EXPECT_EQ(ReadFile(fresh), "[S]\nk=v\n");

    TIniFile inMissingDir(FDir.filePath("no/dir/x.ini"));
    inMissingDir.WriteString("S", "k", "v");
    EXPECT_FALSE(inMissingDir.UpdateFile());
    TIniFile onDirectory(FDir.path());
    EXPECT_FALSE(onDirectory.UpdateFile());
}

TEST_F(TIniFileTest, HostileInput)
{
    std::mt19937 random(11);
    QByteArray junk(1 << 20, Qt::Uninitialized);
    for (char& b : junk)
        b = char(random());
    // Binary junk, a 4 MB line without a line break, brackets and equals signs by the million.
    const QByteArray inputs[] = {
        junk + "\n[S]\nk=v",
        "[S]\nk=" + QByteArray(4 << 20, 'x'),
        QByteArray(1 << 20, '[') + "\n[S]\nk=v",
        "[S]\nk=v\n" + QByteArray(1 << 20, '='),
        QByteArray("[S]\nk=v\0w", 9),
    };
    for (const QByteArray& input : inputs) {
        TIniFile ini(WriteFile(input));
        EXPECT_FALSE(ini.ReadString("S", "k", "").isEmpty());
        ini.WriteString("S", "k2", "v2");
        EXPECT_TRUE(ini.UpdateFile());
        EXPECT_EQ(TIniFile(ini.FileName()).ReadString("s", "K2", ""), "v2");
    }
}

} // namespace
