// Clipboard data pasted into a small network, as the paste command merges it.
#include "foundation/StreamError.h"
#include "model/TEgoNetModel.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TEgoNetModel model;
    TOrganizedNode* ann = model.NewNode(QPoint(10, 10), "Ann");
    TOrganizedNode* bob = model.NewNode(QPoint(80, 30), "Bob");
    model.NewLink(ann, bob, "friend", "");
    try {
        model.ReadModel(buffer, true);
        model.SelectAll(true);
        QByteArray copied;
        QBuffer out(&copied);
        out.open(QIODevice::WriteOnly);
        model.WriteSelection(out);
    } catch (const EStreamError&) {
    }
    return 0;
}
