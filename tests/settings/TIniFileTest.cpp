#include "settings/TIniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
}

} // namespace
