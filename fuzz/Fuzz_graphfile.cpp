// A graph file loaded as opening one does: read, then every attribute name given to all.
#include "foundation/StreamError.h"
#include "model/TEgoNetModel.h"
#include "settings/GraphFile.h"
#include "settings/TEgoNetDisplaySettings.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TGraphHeader header;
    TEgoNetDisplaySettings settings;
    TEgoNetModel model;
    try {
        if (ReadGraph(buffer, header, settings, model)) {
            model.NormalizeNodeAttrs();
            model.NormalizeLinkAttrs();
            // Whatever was read must also write.
            GraphFileBytes(header, settings, model);
        }
    } catch (const EStreamError&) {
    }
    return 0;
}
