#include "exchange/TContactCsvReader.h"

#include "exchange/CsvFormat.h"
#include "exchange/ExchangeError.h"
#include "exchange/ImportText.h"
#include "exchange/PersonFields.h"
#include "model/TEgoNetModel.h"

#include <QHash>
#include <QRegularExpression>

#include <optional>

namespace {

enum class TColumn { First, Last, Name, Sex, Birthday, EMail, PhoneLabel, PhoneValue, HomePhone, WorkPhone, CellPhone,
                     Work, Title, Categories };

// "E-mail 1 - Value" and "Email1Value" alike become "email1value".
QString HeaderKey(const QString& header)
{
    QString key;
    for (const QChar c : header)
        if (c.isLetterOrNumber())
            key += c.toLower();
    return key;
}

const QHash<QString, TColumn>& KnownHeaders()
{
    static const QHash<QString, TColumn> headers{
        {"firstname", TColumn::First},
        {"givenname", TColumn::First},
        {"lastname", TColumn::Last},
        {"familyname", TColumn::Last},
        {"surname", TColumn::Last},
        {"name", TColumn::Name},
        {"displayname", TColumn::Name},
        {"fullname", TColumn::Name},
        {"gender", TColumn::Sex},
        {"sex", TColumn::Sex},
        {"birthday", TColumn::Birthday},
        {"emailaddress", TColumn::EMail},
        {"email", TColumn::EMail},
        {"homephone", TColumn::HomePhone},
        {"businessphone", TColumn::WorkPhone},
        {"workphone", TColumn::WorkPhone},
        {"mobilephone", TColumn::CellPhone},
        {"cellphone", TColumn::CellPhone},
        {"company", TColumn::Work},
        {"organizationname", TColumn::Work},
        {"organization1name", TColumn::Work},
        {"jobtitle", TColumn::Title},
        {"organizationtitle", TColumn::Title},
        {"organization1title", TColumn::Title},
        {"categories", TColumn::Categories},
        {"labels", TColumn::Categories},
        {"groupmembership", TColumn::Categories},
    };
    return headers;
}

// Google's numbered columns: "email1value", "phone2label", "phone2type".
bool NumberedColumn(const QString& key, TColumn& column)
{
    static const QRegularExpression numbered(QStringLiteral("^(email|phone)\\d+(value|label|type)$"));
    const QRegularExpressionMatch m = numbered.match(key);
    if (!m.hasMatch())
        return false;
    const bool value = m.captured(2) == "value";
    if (m.captured(1) == "email") {
        if (!value)
            return false;
        column = TColumn::EMail;
    } else {
        column = value ? TColumn::PhoneValue : TColumn::PhoneLabel;
    }
    return true;
}

// Outlook writes "4/12/1985" (month first) and "0/0/00" for none; Google ISO dates.
bool ParseContactBirthday(const QString& text, int& year, int& month)
{
    static const QRegularExpression us(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2,4})$"));
    if (const QRegularExpressionMatch m = us.match(text.trimmed()); m.hasMatch()) {
        month = m.captured(1).toInt();
        year = m.captured(3).size() == 4 ? m.captured(3).toInt() : 0;
        return month >= 1 && month <= 12;
    }
    return ParseBirthday(text, year, month);
}

// Google joins several values of a cell with " ::: ", Outlook with ";".
QStringList CellValues(const QString& cell)
{
    static const QRegularExpression separator(QStringLiteral("\\s*(?::::|;)\\s*"));
    QStringList values = cell.split(separator, Qt::SkipEmptyParts);
    for (QString& v : values)
        v = v.trimmed();
    values.removeAll(QString());
    return values;
}

void SetPhone(TEgoNetNode& person, const QString& label, const QString& value)
{
    const QString kind = label.toLower();
    const QString key = kind.contains("mobile") || kind.contains("cell") ? PersonKeys::CellPhone
                        : kind.contains("work") || kind.contains("business") ? PersonKeys::WorkPhone
                        : kind.contains("home") ? PersonKeys::HomePhone
                                                : QString();
    // A phone of no known kind takes the first free field.
    const QStringList order = key.isEmpty()
                                  ? QStringList{PersonKeys::CellPhone, PersonKeys::HomePhone, PersonKeys::WorkPhone}
                                  : QStringList{key};
    for (const QString& k : order) {
        if (PersonValue(person, k).isEmpty()) {
            SetPersonValue(person, k, value);
            return;
        }
    }
}

} // namespace

void TContactCsvReader::Read(const QByteArray& bytes, const QString& fileName, TEgoNetModel& into, QStringList& notes)
{
    const QList<TCsvRow> rows = ParseCsv(DecodeImportedText(bytes), fileName);
    if (rows.isEmpty())
        throw EImportError(fileName, QStringLiteral("line 1"), QStringLiteral("the file is empty"));
    const TCsvRow& header = rows.first();
    QList<std::optional<TColumn>> columns;
    bool hasName = false;
    for (const QString& title : header.Fields) {
        const QString key = HeaderKey(title);
        TColumn column;
        if (const auto found = KnownHeaders().constFind(key); found != KnownHeaders().cend())
            columns.append(*found);
        else if (NumberedColumn(key, column))
            columns.append(column);
        else
            columns.append(std::nullopt);
        if (columns.last() && (*columns.last() == TColumn::First || *columns.last() == TColumn::Last ||
                               *columns.last() == TColumn::Name || *columns.last() == TColumn::EMail))
            hasName = true;
    }
    if (!hasName)
        throw EImportError(fileName, QStringLiteral("line %1").arg(header.Line),
                           QStringLiteral("the header has no column for a name or an e-mail address "
                                          "(\"First Name\", \"Last Name\", \"Name\", \"E-mail Address\")"));

    for (qsizetype r = 1; r < rows.size(); ++r) {
        const TCsvRow& row = rows[r];
        if (row.Fields.size() > columns.size())
            throw EImportError(fileName, QStringLiteral("line %1").arg(row.Line),
                               QStringLiteral("%1 fields, but the header names %2")
                                   .arg(row.Fields.size())
                                   .arg(columns.size()));
        auto* person = new TOrganizedNode(GridPosition(into.NodeCount()));
        into.AddNode(person);
        QString phoneLabel;
        QStringList categories;
        for (qsizetype c = 0; c < row.Fields.size(); ++c) {
            const QString value = row.Fields[c].trimmed();
            if (!columns[c] || value.isEmpty())
                continue;
            switch (*columns[c]) {
            case TColumn::First: SetPersonValue(*person, PersonKeys::FirstName, value); break;
            case TColumn::Last: SetPersonValue(*person, PersonKeys::LastName, value); break;
            case TColumn::Name: person->SetCaption(value); break;
            case TColumn::Sex: SetPersonValue(*person, PersonKeys::Sex, SexFromText(value)); break;
            case TColumn::Birthday: {
                int year = 0;
                int month = 0;
                if (ParseContactBirthday(value, year, month))
                    SetBirthday(*person, year, month);
                else if (value != "0/0/00")
                    notes << QStringLiteral("%1, line %2: birthday \"%3\" not understood, left out")
                                 .arg(fileName).arg(row.Line).arg(value);
                break;
            }
            case TColumn::EMail:
                if (PersonValue(*person, PersonKeys::EMail).isEmpty())
                    SetPersonValue(*person, PersonKeys::EMail, CellValues(value).value(0));
                break;
            case TColumn::PhoneLabel: phoneLabel = value; break;
            case TColumn::PhoneValue:
                SetPhone(*person, phoneLabel, CellValues(value).value(0));
                phoneLabel.clear();
                break;
            case TColumn::HomePhone: SetPersonValue(*person, PersonKeys::HomePhone, value); break;
            case TColumn::WorkPhone: SetPersonValue(*person, PersonKeys::WorkPhone, value); break;
            case TColumn::CellPhone: SetPersonValue(*person, PersonKeys::CellPhone, value); break;
            case TColumn::Work: SetPersonValue(*person, PersonKeys::Work, value); break;
            case TColumn::Title:
                if (PersonValue(*person, PersonKeys::Work).isEmpty())
                    SetPersonValue(*person, PersonKeys::Work, value);
                break;
            case TColumn::Categories:
                // Google's own groups ("* myContacts") are no categories of the user's.
                for (const QString& category : CellValues(value))
                    if (!category.startsWith('*'))
                        categories << category;
                break;
            }
        }
        SetPersonValue(*person, PersonKeys::Categories, categories.join(','));
        CompleteNames(*person);
    }
}
