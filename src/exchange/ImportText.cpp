#include "exchange/ImportText.h"

#include "foundation/Cp1252.h"

#include <QStringDecoder>

QString DecodeImportedText(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? DecodeCp1252(bytes) : text;
}

QString DecodeImportedText(const QByteArray& bytes, const QByteArray& charset)
{
    const QByteArray name = charset.trimmed().toLower();
    if (name == "utf-8" || name == "utf8")
        return QString::fromUtf8(bytes);
    // Latin-1 files from mail programs are Windows-1252 in practice.
    if (name == "windows-1252" || name == "cp1252" || name == "iso-8859-1" || name == "latin1")
        return DecodeCp1252(bytes);
    return DecodeImportedText(bytes);
}
