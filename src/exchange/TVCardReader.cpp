#include "exchange/TVCardReader.h"

#include "exchange/ExchangeError.h"
#include "exchange/ImportText.h"
#include "exchange/PersonFields.h"
#include "model/TEgoNetModel.h"

#include <QImage>

#include <cctype>

namespace {

// One content line after unfolding: "group.NAME;PARAM=a,b;BARE:value".
struct TProperty
{
    QByteArray Name;
    QList<QByteArray> Types;
    QByteArray Encoding;
    QByteArray Charset;
    QByteArray ValueType;
    QByteArray Value;
    int Line = 0;
};

QByteArray DecodeQuotedPrintable(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size() && std::isxdigit(uchar(text[i + 1])) &&
            std::isxdigit(uchar(text[i + 2]))) {
            out += char(QByteArray::fromHex(text.mid(i + 1, 2)).at(0));
            i += 2;
        } else if (text[i] != '=' || i + 1 < text.size()) {
            out += text[i];
        }
    }
    return out;
}

// Splits at separators that no backslash escapes, then resolves the escapes.
QStringList SplitValue(const QString& text, QChar separator)
{
    QStringList parts(1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            const QChar next = text[++i];
            parts.last() += next == 'n' || next == 'N' ? QChar('\n') : next;
        } else if (c == separator) {
            parts.append(QString());
        } else {
            parts.last() += c;
        }
    }
    return parts;
}

bool HasQuotedPrintable(const QByteArray& head)
{
    return head.toUpper().contains("QUOTED-PRINTABLE");
}

TProperty ParseProperty(const QByteArray& line, int lineNumber, const QString& fileName)
{
    // The colon that ends the head is the first one outside a quoted parameter value.
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size() && colon < 0; ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            colon = i;
    }
    if (colon <= 0)
        throw EImportError(fileName, QStringLiteral("line %1").arg(lineNumber),
                           QStringLiteral("\"%1\" is not a vCard property (no \":\")")
                               .arg(QString::fromUtf8(line.left(60))));
    TProperty property;
    property.Line = lineNumber;
    property.Value = line.mid(colon + 1);
    const QList<QByteArray> head = line.left(colon).split(';');
    property.Name = head.first().trimmed().toUpper();
    if (const qsizetype dot = property.Name.lastIndexOf('.'); dot >= 0)
        property.Name = property.Name.mid(dot + 1);
    for (qsizetype i = 1; i < head.size(); ++i) {
        const QByteArray param = head[i].trimmed();
        const qsizetype equals = param.indexOf('=');
        const QByteArray key = equals < 0 ? QByteArray("TYPE") : param.left(equals).toUpper();
        QByteArray value = equals < 0 ? param : param.mid(equals + 1);
        value.replace('"', QByteArray());
        if (key == "TYPE") {
            for (const QByteArray& type : value.split(','))
                property.Types.append(type.trimmed().toLower());
        } else if (key == "ENCODING") {
            property.Encoding = value.toUpper();
        } else if (key == "CHARSET") {
            property.Charset = value;
        } else if (key == "VALUE") {
            property.ValueType = value.toLower();
        }
    }
    // The bare 2.1 forms "BASE64" and "QUOTED-PRINTABLE" are encodings, not types.
    for (const QByteArray& type : std::as_const(property.Types))
        if (type == "base64" || type == "b" || type == "quoted-printable")
            property.Encoding = type.toUpper();
    return property;
}

class TCardBuilder
{
public:
    TCardBuilder(TEgoNetModel& model, const QString& fileName, QStringList& notes)
        : FModel(model)
        , FFileName(fileName)
        , FNotes(notes)
    {
    }

    void Begin(int line)
    {
        FPerson = new TOrganizedNode(GridPosition(FModel.NodeCount()));
        FBeginLine = line;
    }

    void End()
    {
        CompleteNames(*FPerson);
        FModel.AddNode(FPerson);
        FPerson = nullptr;
    }

    ~TCardBuilder() { delete FPerson; }

    bool InCard() const { return FPerson != nullptr; }
    int BeginLine() const { return FBeginLine; }

    void Take(const TProperty& p)
    {
        TEgoNetNode& person = *FPerson;
        if (p.Name == "PHOTO") {
            TakePhoto(p);
            return;
        }
        const QString text = Text(p);
        if (p.Name == "N") {
            const QStringList parts = SplitValue(text, ';');
            SetPersonValue(person, PersonKeys::LastName, parts.value(0));
            SetPersonValue(person, PersonKeys::FirstName, parts.value(1));
        } else if (p.Name == "FN") {
            person.SetCaption(SplitValue(text, ';').join(' '));
        } else if (p.Name == "GENDER" || p.Name == "X-GENDER") {
            SetPersonValue(person, PersonKeys::Sex, SexFromText(text));
        } else if (p.Name == "BDAY") {
            int year = 0;
            int month = 0;
            if (ParseBirthday(text, year, month))
                SetBirthday(person, year, month);
            else
                Note(p, QStringLiteral("birthday \"%1\" not understood, left out").arg(text));
        } else if (p.Name == "EMAIL") {
            if (PersonValue(person, PersonKeys::EMail).isEmpty())
                SetPersonValue(person, PersonKeys::EMail, SplitValue(text, ';').join(QString()));
        } else if (p.Name == "TEL") {
            TakePhone(p, text);
        } else if (p.Name == "ORG") {
            SetPersonValue(person, PersonKeys::Work, SplitValue(text, ';').value(0));
        } else if (p.Name == "TITLE") {
            if (PersonValue(person, PersonKeys::Work).isEmpty())
                SetPersonValue(person, PersonKeys::Work, SplitValue(text, ';').join(' '));
        } else if (p.Name == "CATEGORIES") {
            QStringList categories = SplitValue(text, ',');
            for (QString& c : categories)
                c = c.trimmed();
            categories.removeAll(QString());
            SetPersonValue(person, PersonKeys::Categories, categories.join(','));
        }
    }

private:
    QString Text(const TProperty& p) const
    {
        const QByteArray bytes = p.Encoding == "QUOTED-PRINTABLE" ? DecodeQuotedPrintable(p.Value) : p.Value;
        return DecodeImportedText(bytes, p.Charset);
    }

    void TakePhone(const TProperty& p, const QString& text)
    {
        QString number = SplitValue(text, ';').join(QString()).trimmed();
        if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
            number = number.mid(4);
        const auto has = [&](const char* type) { return p.Types.contains(QByteArray(type)); };
        QStringList keys;
        if (has("cell") || has("mobile") || has("iphone"))
            keys << PersonKeys::CellPhone;
        else if (has("work"))
            keys << PersonKeys::WorkPhone;
        else if (has("home"))
            keys << PersonKeys::HomePhone;
        else
            keys << PersonKeys::CellPhone << PersonKeys::HomePhone << PersonKeys::WorkPhone;
        for (const QString& key : std::as_const(keys)) {
            if (PersonValue(*FPerson, key).isEmpty()) {
                SetPersonValue(*FPerson, key, number);
                return;
            }
        }
        Note(p, QStringLiteral("phone \"%1\" left out: its field is taken").arg(number));
    }

    void TakePhoto(const TProperty& p)
    {
        QByteArray data;
        if (p.Encoding == "B" || p.Encoding == "BASE64") {
            data = QByteArray::fromBase64(p.Value);
        } else if (p.Value.startsWith("data:")) {
            const qsizetype comma = p.Value.indexOf(',');
            if (comma < 0 || !p.Value.left(comma).endsWith(";base64")) {
                Note(p, QStringLiteral("picture not in base64, left out"));
                return;
            }
            data = QByteArray::fromBase64(p.Value.mid(comma + 1));
        } else {
            Note(p, QStringLiteral("picture given as a link (%1), left out").arg(QString::fromUtf8(p.Value.left(80))));
            return;
        }
        const QImage image = QImage::fromData(data);
        if (image.isNull())
            Note(p, QStringLiteral("picture cannot be read, left out"));
        else
            SetPicture(*FPerson, image);
    }

    void Note(const TProperty& p, const QString& what)
    {
        FNotes << QStringLiteral("%1, line %2: %3").arg(FFileName).arg(p.Line).arg(what);
    }

    TEgoNetModel& FModel;
    QString FFileName;
    QStringList& FNotes;
    TOrganizedNode* FPerson = nullptr;
    int FBeginLine = 0;
};

} // namespace

void TVCardReader::Read(const QByteArray& bytes, const QString& fileName, TEgoNetModel& into, QStringList& notes)
{
    const QByteArray content = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    const QList<QByteArray> physical = content.split('\n');
    TCardBuilder card(into, fileName, notes);
    int cards = 0;

    // Unfolding: a line that starts with a blank continues the one before; a quoted-printable
    // value that ends in "=" continues on the next line.
    QByteArray line;
    int lineNumber = 0;
    const auto finish = [&] {
        if (line.trimmed().isEmpty())
            return;
        const QByteArray upper = line.trimmed().toUpper();
        if (upper == "BEGIN:VCARD") {
            if (card.InCard())
                throw EImportError(fileName, QStringLiteral("line %1").arg(lineNumber),
                                   QStringLiteral("BEGIN:VCARD inside the card begun on line %1").arg(card.BeginLine()));
            card.Begin(lineNumber);
        } else if (upper == "END:VCARD") {
            if (!card.InCard())
                throw EImportError(fileName, QStringLiteral("line %1").arg(lineNumber),
                                   QStringLiteral("END:VCARD without BEGIN:VCARD"));
            card.End();
            ++cards;
        } else if (!card.InCard()) {
            throw EImportError(fileName, QStringLiteral("line %1").arg(lineNumber),
                               QStringLiteral("\"%1\" outside BEGIN:VCARD … END:VCARD")
                                   .arg(QString::fromUtf8(line.left(60))));
        } else {
            card.Take(ParseProperty(line, lineNumber, fileName));
        }
    };
    for (qsizetype i = 0; i < physical.size(); ++i) {
        QByteArray text = physical[i];
        if (text.endsWith('\r'))
            text.chop(1);
        const bool folded = !text.isEmpty() && (text[0] == ' ' || text[0] == '\t') && !line.isEmpty();
        if (line.endsWith('=') && HasQuotedPrintable(line.left(line.indexOf(':')))) {
            line.chop(1);
            line += folded ? text.mid(1) : text;
            continue;
        }
        if (folded) {
            line += text.mid(1);
            continue;
        }
        finish();
        line = text;
        lineNumber = int(i) + 1;
    }
    finish();
    if (card.InCard())
        throw EImportError(fileName, QStringLiteral("line %1").arg(card.BeginLine()),
                           QStringLiteral("the card begun here has no END:VCARD"));
    if (cards == 0)
        throw EImportError(fileName, QStringLiteral("line 1"), QStringLiteral("no vCard in the file"));
}
