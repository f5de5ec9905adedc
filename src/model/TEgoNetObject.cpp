#include "model/TEgoNetObject.h"

#include "foundation/DateTime.h"

#include <QUuid>

QString NewObjectID()
{
    // Characters 25 to 32 of "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": the start of the last group.
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper().mid(25, 8);
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
