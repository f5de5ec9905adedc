// The display-settings block of a graph file.
#include "foundation/StreamError.h"
#include "settings/TEgoNetDisplaySettings.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TEgoNetDisplaySettings settings;
    try {
        settings.ReadFromStream(buffer);
    } catch (const EStreamError&) {
    }
    return 0;
}
