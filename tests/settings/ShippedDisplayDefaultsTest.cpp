#include "settings/TEgoNetDisplaySettings.h"
#include "settings/TIniFile.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The display defaults that the program ships as "enDispSettings.in_". A misspelt key or section
// would be skipped without a word and leave its built-in default in place, so every entry of the
// file must change what the program reads when its value changes.

namespace {

const QString kShipped = QStringLiteral(CW_SHIPPED_DATA_DIR "/enDispSettings.in_");

// Everything an INI read can set: the block of a graph file and the two fields outside it.
QByteArray ReadState(const QString& fileName)
{
    TEgoNetDisplaySettings settings;
    EXPECT_TRUE(settings.LoadFromIni(fileName));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    settings.WriteToStream(buffer);
    return buffer.data() + settings.StyleName.toUtf8() + QByteArray::number(settings.PositionColor);
}

QStringList Sections(const QString& fileName)
{
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList sections;
    const QRegularExpression header(QStringLiteral(R"(^\s*\[([^\]]+)\])"), QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : header.globalMatch(QString::fromUtf8(file.readAll())))
        sections << match.captured(1).trimmed();
    return sections;
}

} // namespace

TEST(ShippedDisplayDefaults, EveryEntryIsReadByTheProgram)
{
    TEgoNetDisplaySettings shipped;
    ASSERT_TRUE(shipped.LoadFromIni(kShipped));
    EXPECT_EQ(shipped.StyleName, "Default");
    EXPECT_TRUE(shipped.ShowShape || shipped.ShowImage);

    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("base.ini"));
    ASSERT_TRUE(QFile::copy(kShipped, base));
    {
        // With pictures shown, no value is overruled by the rule that persons must show somehow.
        TIniFile ini(base);
        ini.WriteString(QStringLiteral("EgoNet Display General Settings"), QStringLiteral("ShowImage"), QStringLiteral("1"));
        ASSERT_TRUE(ini.UpdateFile());
    }
    const QByteArray before = ReadState(base);

    int entries = 0;
    const TIniFile ini(base);
    for (const QString& section : Sections(base)) {
        for (const QString& key : ini.ReadSection(section)) {
            ++entries;
            // One of these differs from any value the key can hold and reads as its kind.
            bool read = false;
            for (const char* candidate : {"0", "1", "7", "0.5", "12345678", "Arial,9,1"}) {
                const QString changed = dir.filePath(QStringLiteral("changed.ini"));
                QFile::remove(changed);
                ASSERT_TRUE(QFile::copy(base, changed));
                TIniFile copy(changed);
                copy.WriteString(section, key, QString::fromLatin1(candidate));
                ASSERT_TRUE(copy.UpdateFile());
                read = read || ReadState(changed) != before;
            }
            EXPECT_TRUE(read) << "[" << section.toStdString() << "] " << key.toStdString() << " is never read";
        }
    }
    // The style name and every option of the record that an INI file can set.
    EXPECT_EQ(entries, 36);
}
