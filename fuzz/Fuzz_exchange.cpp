// A file given to File > Import: the same bytes as a vCard, a contact list and a GraphML network.
// Each reader either takes it or refuses it with EImportError.
#include "exchange/ExchangeError.h"
#include "exchange/TContactCsvReader.h"
#include "exchange/TGraphMLReader.h"
#include "exchange/TVCardReader.h"
#include "model/TEgoNetModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (auto* read : {&TVCardReader::Read, &TContactCsvReader::Read, &TGraphMLReader::Read}) {
        TEgoNetModel model;
        QStringList notes;
        try {
            read(bytes, QStringLiteral("input"), model, notes);
        } catch (const EImportError&) {
        }
    }
    return 0;
}
