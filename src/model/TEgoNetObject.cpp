#include "model/TEgoNetObject.h"

#include "foundation/DateTime.h"

#include <QRandomGenerator>

#include <array>

QString NewObjectID()
{
    // Four random bytes in upper-case hexadecimal, as the IDs have always been (the start of the
    // last group of a fresh GUID). Each thread draws them from its own generator, seeded once by
    // the system's: the system's own draw is a processor instruction that costs, on some
    // machines, more than reading the object from a file.
    thread_local QRandomGenerator random = [] {
        std::array<quint32, 8> seed;
        QRandomGenerator::system()->fillRange(seed.data(), seed.size());
        return QRandomGenerator(seed.data(), qsizetype(seed.size()));
    }();
    const quint32 bits = random.generate();
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    QString id(8, Qt::Uninitialized);
    QChar* out = id.data();
    for (int i = 0; i < 8; ++i)
        out[i] = QChar(kDigits[(bits >> (28 - 4 * i)) & 0xF]);
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
