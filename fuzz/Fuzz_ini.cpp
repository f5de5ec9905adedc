// An INI file as the program reads one: the display defaults and the lists of the pages.
#include "settings/TEgoNetDisplaySettings.h"
#include "settings/TIniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/cw-fuzz-XXXXXX")
                                                      : QDir::tempPath() + "/cw-fuzz-XXXXXX");
    const QString fileName = dir.filePath("input.ini");
    {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    TEgoNetDisplaySettings settings;
    settings.LoadFromIni(fileName);

    TIniFile ini(fileName);
    for (const char* section : {"Schools", "LinkTypes", "Node Settings"})
        for (const QString& key : ini.ReadSection(section))
            ini.ReadString(section, key, QString());
    ini.WriteString("LinkTypes", "friend", "255");
    ini.EraseSection("Schools");
    ini.UpdateFile();
    return 0;
}
