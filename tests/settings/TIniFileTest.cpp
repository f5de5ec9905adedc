#include "settings/TIniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

class TIniFileTest : public ::testing::Test
{
protected:
    QString WriteFile(const QByteArray& bytes, const QString& name = QStringLiteral("test.ini"))
    {
        const QString path = FDir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return path;
    }
    QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir FDir;
};

TEST_F(TIniFileTest, SectionsAndKeysIgnoreCaseAndBlanks)
{
    const TIniFile ini(WriteFile("[Node Settings]\r\n  Best Friend  =  Anna Berg  \r\nnHeight=20\r\n"));
    EXPECT_EQ(ini.ReadString("node settings", "best friend", "x"), "Anna Berg");
    EXPECT_EQ(ini.ReadInteger("NODE SETTINGS", "NHEIGHT", 0), 20);
    EXPECT_EQ(ini.ReadSection("node SETTINGS"), QStringList({"Best Friend", "nHeight"}));
    EXPECT_EQ(ini.ReadString("Node", "nHeight", "x"), "x") << "whole names only";
    EXPECT_EQ(ini.ReadString("Node Settings", "Height", "x"), "x");
}

TEST_F(TIniFileTest, WhatCountsAsAnEntry)
{
    const TIniFile ini(WriteFile("orphan=1\n"
                                 "[ Lists ]\n"
                                 "; comment=1\n"
                                 "no equals sign\n"
                                 "\n"
                                 "=nameless\n"
                                 "a=first\n"
                                 "A=second\n"
                                 "path = x=y \n"
                                 "quoted=\"  padded  \"\n"
                                 "half=\"open\n"
                                 "mixed='x\"\n"
                                 "[broken\n"
                                 "[lists]\n"
                                 "late=1"));
    EXPECT_EQ(ini.ReadSection("Lists"), QStringList({"a", "A", "path", "quoted", "half", "mixed"}));
    EXPECT_EQ(ini.ReadString("lists", "a", ""), "first");
    EXPECT_EQ(ini.ReadString("lists", "path", ""), "x=y");
    EXPECT_EQ(ini.ReadString("lists", "quoted", ""), "  padded  ");
    EXPECT_EQ(ini.ReadString("lists", "half", ""), "\"open");
    EXPECT_EQ(ini.ReadString("lists", "mixed", ""), "'x\"");
    EXPECT_EQ(ini.ReadString("lists", "late", "none"), "none") << "a repeated section is not read";
    EXPECT_EQ(ini.ReadString("", "orphan", "none"), "none") << "lines before any section belong to none";
    EXPECT_EQ(ini.ReadString("lists", "; comment", "none"), "none");
    EXPECT_TRUE(ini.ReadSection("missing").isEmpty());
}

TEST_F(TIniFileTest, NumbersAndTruthValues)
{
    const TIniFile ini(WriteFile("[N]\nplain=42\nneg=-7\nplus=+3\nhex=0x10\ntail=12abc\nbig=4294967296\n"
                                 "max=2147483647\nempty=\nzero=0\ntwo=2\nword=yes\n"
                                 "f=0.25\nexp=-1.5e2\ncomma=1,5\ninf=inf\nnan=nan\n"));
    EXPECT_EQ(ini.ReadInteger("N", "plain", 0), 42);
    EXPECT_EQ(ini.ReadInteger("N", "neg", 0), -7);
    EXPECT_EQ(ini.ReadInteger("N", "plus", 0), 3);
    EXPECT_EQ(ini.ReadInteger("N", "max", 0), 2147483647);
    for (const char* key : {"hex", "tail", "big", "empty", "word", "missing"})
        EXPECT_EQ(ini.ReadInteger("N", key, -99), -99) << key;
    EXPECT_FALSE(ini.ReadBool("N", "zero", true));
    EXPECT_TRUE(ini.ReadBool("N", "two", false));
    EXPECT_TRUE(ini.ReadBool("N", "word", true));
    EXPECT_FALSE(ini.ReadBool("N", "word", false));
    EXPECT_EQ(ini.ReadFloat("N", "f", 9), 0.25);
    EXPECT_EQ(ini.ReadFloat("N", "exp", 9), -150.0);
    for (const char* key : {"comma", "inf", "nan", "word", "missing"})
        EXPECT_EQ(ini.ReadFloat("N", key, 9), 9.0) << key;
}

TEST_F(TIniFileTest, Utf8WithWindows1252ForOtherBytes)
{
    // UTF-8 e-acute, a lone 8-bit e-acute, the euro sign of the code page, a cut-off sequence.
    const TIniFile ini(WriteFile("\xEF\xBB\xBF[Caf\xC3\xA9]\nname=Ren\xE9 \x80 \xE2\x82\xAC\n"
                                 "surrogate=\xED\xA0\x80\noverlong=\xC0\xAF\nend=\xC3"));
    const QString section = QString::fromUtf8("Caf\xC3\xA9");
    EXPECT_EQ(ini.ReadString(section, "name", ""), QString::fromUtf8("Ren\xC3\xA9 \xE2\x82\xAC \xE2\x82\xAC"));
    EXPECT_EQ(ini.ReadString(section, "surrogate", ""), QString::fromUtf8("\xC3\xAD\xC2\xA0\xE2\x82\xAC"));
    EXPECT_EQ(ini.ReadString(section, "overlong", ""), QString::fromUtf8("\xC3\x80\xC2\xAF"));
    EXPECT_EQ(ini.ReadString(section, "end", ""), QString::fromUtf8("\xC3\x83"));
    EXPECT_EQ(ini.ReadSection(QString::fromUtf8("CAF\xC3\x89")), QStringList({"name", "surrogate", "overlong", "end"}));
}

TEST_F(TIniFileTest, WritingAndErasing)
{
    const QString path = WriteFile("; kept comment\r\n[Schools]\r\nOld School=\r\nnote without value\r\n"
                                   "[LinkTypes]\r\nfriend=255\r\nFriend=1\r\n[Schools]\r\nAgain=\r\n");
    TIniFile ini(path);
    ini.WriteString("LINKTYPES", "FRIEND", "  65280 ");
    ini.WriteString("LinkTypes", " best friend ", "line\r\nbreak");
    ini.WriteString("Favorite Food", "Pizza", "");
    ini.WriteString("Favorite Food", "", "ignored");
    ini.EraseSection("schools");
    EXPECT_TRUE(ini.ReadSection("Schools").isEmpty()) << "both sections of that name";
    EXPECT_EQ(ini.ReadString("LinkTypes", "friend", ""), "65280");
    EXPECT_EQ(ini.ReadString("LinkTypes", "best friend", ""), "line  break");
    ASSERT_TRUE(ini.UpdateFile());

    EXPECT_EQ(ReadFile(path), "; kept comment\r\n"
                              "\r\n[LinkTypes]\r\nfriend=65280\r\nFriend=1\r\nbest friend=line  break\r\n"
                              "\r\n[Favorite Food]\r\nPizza=\r\n");
    const TIniFile again(path);
    EXPECT_EQ(again.ReadSection("favorite food"), QStringList({"Pizza"}));
    EXPECT_EQ(again.ReadInteger("LinkTypes", "FRIEND", 0), 65280);
}

TEST_F(TIniFileTest, SavesNonAsciiAsUtf8AndKeepsUnreadLines)
{
    const QString path = WriteFile("[Work]\nB\xFCro=\nstray line\n");
    TIniFile ini(path);
    ini.WriteString("Work", QString::fromUtf8("Caf\xC3\xA9"), QString::fromUtf8("\xE2\x82\xAC"));
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ReadFile(path), "[Work]\nB\xC3\xBCro=\nstray line\nCaf\xC3\xA9=\xE2\x82\xAC\n");
}

TEST_F(TIniFileTest, MissingFileReadsEmptyAndIsCreatedOnSave)
{
    const QString path = FDir.filePath("new.ini");
    TIniFile ini(path);
    EXPECT_EQ(ini.FileName(), path);
    EXPECT_TRUE(ini.ReadSection("LinkTypes").isEmpty());
    EXPECT_EQ(ini.ReadString("LinkTypes", "friend", "d"), "d");
    ini.WriteString("LinkTypes", "friend", "255");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ReadFile(path), "[LinkTypes]\nfriend=255\n");
}

TEST_F(TIniFileTest, FailedSaveReportsAndLeavesNoFile)
{
    TIniFile inMissingDir(FDir.filePath("no/such/dir/x.ini"));
    inMissingDir.WriteString("S", "k", "v");
    EXPECT_FALSE(inMissingDir.UpdateFile());
    EXPECT_FALSE(QFile::exists(FDir.filePath("no/such/dir/x.ini")));

    TIniFile onDirectory(FDir.path());
    onDirectory.WriteString("S", "k", "v");
    EXPECT_FALSE(onDirectory.UpdateFile());
}

TEST_F(TIniFileTest, HostileInput)
{
    std::mt19937 random(11);
    QByteArray junk(1 << 20, Qt::Uninitialized);
    for (char& b : junk)
        b = char(random());
    // Binary junk, a 4 MB line without a line break, brackets and equals signs by the thousand.
    const QByteArray inputs[] = {
        junk + "\n[S]\nk=v",
        "[S]\nk=" + QByteArray(4 << 20, 'x'),
        QByteArray(1 << 20, '[') + "\n[S]\nk=v",
        "[S]\nk=v\n" + QByteArray(1 << 20, '='),
        QByteArray("[S]\nk=v\0w\n", 11),
    };
    for (const QByteArray& input : inputs) {
        TIniFile ini(WriteFile(input));
        ini.ReadSection("S");
        EXPECT_FALSE(ini.ReadString("S", "k", "").isEmpty()) << input.left(20).toHex().toStdString();
        ini.WriteString("S", "k2", "v2");
        EXPECT_TRUE(ini.UpdateFile());
        EXPECT_EQ(TIniFile(ini.FileName()).ReadString("s", "K2", ""), "v2");
    }
    EXPECT_EQ(TIniFile(WriteFile("[S]\nk=" + QByteArray(4 << 20, 'x'))).ReadString("S", "k", "").size(), 4 << 20);
}

} // namespace
