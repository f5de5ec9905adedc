#include "settings/GraphFile.h"

#include "foundation/AtomicFileWriter.h"
#include "foundation/StreamError.h"
#include "foundation/ValueReader.h"
#include "foundation/ValueWriter.h"
#include "model/TEgoNetModel.h"
#include "settings/TEgoNetDisplaySettings.h"

#include <QBuffer>
#include <QFile>

namespace {

const QByteArray kMagic = QByteArrayLiteral("ENG10");

} // namespace

QByteArray GraphFileBytes(const TGraphHeader& header, const TEgoNetDisplaySettings& settings, TEgoNetModel& model)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    buffer.write(kMagic);
    {
        ValueWriter writer(buffer);
        writer.WriteString(header.Caption);
        writer.WriteString(header.Description);
        writer.Finish();
    }
    settings.WriteToStream(buffer);
    model.WriteModel(buffer);
    return bytes;
}

void WriteGraphFile(const QString& fileName, const TGraphHeader& header, const TEgoNetDisplaySettings& settings,
                    TEgoNetModel& model)
{
    // The whole file is built first, so that nothing touches the disk before it is complete.
    const QByteArray bytes = GraphFileBytes(header, settings, model);
    QString error;
    if (!WriteFileAtomically(fileName, bytes, error))
        throw EStreamError(QStringLiteral("Cannot save \"%1\": %2").arg(fileName, error));
}

bool ReadGraph(QIODevice& stream, TGraphHeader& header, TEgoNetDisplaySettings& settings, TEgoNetModel& model,
               const std::function<void()>& settingsRead)
{
    if (stream.atEnd())
        return false;
    const QByteArray magic = stream.read(kMagic.size());
    if (magic.size() < kMagic.size())
        throw EStreamError(QStringLiteral("Stream read error"));
    if (magic != kMagic)
        return false;
    {
        ValueReader reader(stream);
        header.Caption = reader.ReadString();
        header.Description = reader.ReadString();
    }
    settings.ReadFromStream(stream);
    if (settingsRead)
        settingsRead();
    model.ReadModel(stream, false);
    return true;
}

bool ReadGraphFile(const QString& fileName, TGraphHeader& header, TEgoNetDisplaySettings& settings,
                   TEgoNetModel& model, const std::function<void()>& settingsRead)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EStreamError(QStringLiteral("Cannot open \"%1\": %2").arg(fileName, file.errorString()));
    return ReadGraph(file, header, settings, model, settingsRead);
}
