#include "model/TEgoNetObject.h"

#include "foundation/DateTime.h"

#include <QUuid>

QString NewObjectID()
{
    // Characters 25 to 32 of "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", the start of the last
    // group: bytes 2 to 5 of the GUID's fourth field, in upper-case hexadecimal. Formatted
    // directly, since making the whole text took longer than making the GUID.
    const QUuid guid = QUuid::createUuid();
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    QString id(8, Qt::Uninitialized);
    QChar* out = id.data();
    for (int i = 0; i < 4; ++i) {
        const uchar byte = guid.data4[2 + i];
        out[2 * i] = QChar(kDigits[byte >> 4]);
        out[2 * i + 1] = QChar(kDigits[byte & 0xF]);
    }
    return id;
}

TEgoNetObject::TEgoNetObject(const QString& caption)
    : ID(NewObjectID())
{
    SetCaption(caption);
    if (Key.isEmpty() && !FCaption.isEmpty())
        Key = FCaption;
}

void TEgoNetObject::SetSelected(bool value)
{
    FSelected = value;
    SelectTime = value ? NowAsDays() : 0;
}

QString TEgoNetObject::HintText(bool labelShown) const
{
    if (!Visible)
        return QString();
    QString text;
    if (!labelShown || HideLabel)
        text = QStringLiteral("Label:  ") + FCaption;
    if (!Attributes.isEmpty()) {
        if (!text.isEmpty())
            text += QStringLiteral("\r\n");
        for (qsizetype i = 0; i < Attributes.size(); ++i) {
            const QString name = Attributes.NameAt(int(i));
            if (name.isEmpty())
                continue;
            text += name + QStringLiteral(":  ") + ValueAt(Attributes, int(i));
            if (i != Attributes.size() - 1)
                text += QStringLiteral("\r\n");
        }
    }
    return text;
}
