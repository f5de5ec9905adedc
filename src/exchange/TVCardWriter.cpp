#include "exchange/TVCardWriter.h"

#include "exchange/PersonFields.h"
#include "model/TEgoNetNode.h"

namespace {

QString Escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == '\\' || c == ',' || c == ';')
            out += '\\';
        if (c == '\n')
            out += QLatin1String("\\n");
        else if (c != '\r')
            out += c;
    }
    return out;
}

// Lines longer than 75 bytes are folded, never inside a UTF-8 sequence.
void AppendFolded(QByteArray& out, const QByteArray& line)
{
    constexpr qsizetype kWidth = 75;
    qsizetype start = 0;
    qsizetype width = kWidth;
    while (line.size() - start > width) {
        qsizetype end = start + width;
        while (end > start && (uchar(line[end]) & 0xC0) == 0x80)
            --end;
        out += line.mid(start, end - start);
        out += "\r\n ";
        start = end;
        width = kWidth - 1;
    }
    out += line.mid(start);
    out += "\r\n";
}

} // namespace

QByteArray TVCardWriter::Write(const QList<const TEgoNetNode*>& persons)
{
    QByteArray out;
    const auto property = [&out](const char* head, const QString& value) {
        if (!value.isEmpty())
            AppendFolded(out, QByteArray(head) + ':' + value.toUtf8());
    };
    for (const TEgoNetNode* person : persons) {
        out += "BEGIN:VCARD\r\nVERSION:4.0\r\n";
        const QString first = PersonValue(*person, PersonKeys::FirstName);
        const QString last = PersonValue(*person, PersonKeys::LastName);
        // FN is required; a person without any name still has its caption or its ID.
        QString caption = person->Caption().isEmpty() ? FullName(first, last) : person->Caption();
        if (caption.isEmpty())
            caption = person->ID;
        property("FN", Escaped(caption));
        property("N", Escaped(last) + ';' + Escaped(first) + QLatin1String(";;;"));
        const QString sex = PersonValue(*person, PersonKeys::Sex);
        property("GENDER", sex == kMale ? QStringLiteral("M") : sex == kFemale ? QStringLiteral("F") : QString());
        property("BDAY", BirthdayText(*person));
        property("EMAIL", Escaped(PersonValue(*person, PersonKeys::EMail)));
        property("TEL;TYPE=home", Escaped(FullPhone(*person, PersonKeys::HomePhoneArea, PersonKeys::HomePhone)));
        property("TEL;TYPE=work", Escaped(FullPhone(*person, PersonKeys::WorkPhoneArea, PersonKeys::WorkPhone)));
        property("TEL;TYPE=cell", Escaped(FullPhone(*person, PersonKeys::CellPhoneArea, PersonKeys::CellPhone)));
        property("ORG", Escaped(PersonValue(*person, PersonKeys::Work)));
        QStringList categories = PersonValue(*person, PersonKeys::Categories).split(',', Qt::SkipEmptyParts);
        for (QString& c : categories)
            c = Escaped(c.trimmed());
        property("CATEGORIES", categories.join(','));
        if (const QByteArray picture = PictureBytes(*person); !picture.isEmpty())
            property("PHOTO", QStringLiteral("data:image/png;base64,") + QString::fromLatin1(picture.toBase64()));
        out += "END:VCARD\r\n";
    }
    return out;
}
