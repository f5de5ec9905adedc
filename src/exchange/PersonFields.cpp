#include "exchange/PersonFields.h"

#include "model/TEgoNetNode.h"
#include "model/TEgoNetObject.h"

#include <QBuffer>
#include <QRegularExpression>

QString MonthName(int month)
{
    return month >= 1 && month <= 12 ? MonthNames()[month - 1] : QString();
}

int MonthNumber(const QString& name)
{
    for (int i = 0; i < 12; ++i)
        if (name.trimmed().compare(MonthNames()[i], Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

QString SexFromText(const QString& text)
{
    // vCard 4.0 writes "M;free text": the code comes first.
    const QString code = text.section(';', 0, 0).trimmed().toLower();
    if (code == "m" || code == "male" || code == "man")
        return kMale;
    if (code == "f" || code == "female" || code == "woman")
        return kFemale;
    return QString();
}

bool ParseBirthday(const QString& text, int& year, int& month)
{
    static const QRegularExpression full(QStringLiteral("^(\\d{4})-?(\\d{2})(?:-?(\\d{2}))?$"));
    static const QRegularExpression yearless(QStringLiteral("^--(\\d{2})-?(\\d{2})?$"));
    const QString date = text.trimmed().section('T', 0, 0);
    year = 0;
    month = 0;
    if (const QRegularExpressionMatch m = full.match(date); m.hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
    } else if (const QRegularExpressionMatch m = yearless.match(date); m.hasMatch()) {
        month = m.captured(1).toInt();
    } else {
        return false;
    }
    return month >= 1 && month <= 12;
}

void SetBirthday(TEgoNetNode& person, int year, int month)
{
    SetPersonValue(person, PersonKeys::BirthdayMonth, MonthName(month));
    if (year > 0)
        SetPersonValue(person, PersonKeys::BirthdayYear, QString::number(year));
}

QString BirthdayText(const TEgoNetNode& person)
{
    const int month = MonthNumber(PersonValue(person, PersonKeys::BirthdayMonth));
    if (month == 0)
        return QString();
    bool isYear = false;
    const int year = PersonValue(person, PersonKeys::BirthdayYear).toInt(&isYear);
    const QString mm = QStringLiteral("%1").arg(month, 2, 10, QChar('0'));
    return isYear && year > 0 && year <= 9999 ? QStringLiteral("%1-%2").arg(year, 4, 10, QChar('0')).arg(mm)
                                              : QStringLiteral("--") + mm;
}

QString PersonValue(const TEgoNetNode& person, const QString& key)
{
    QString value;
    return person.Attributes.GetValue(key, value) && !IsMissingValue(value) ? value : QString();
}

void SetPersonValue(TEgoNetNode& person, const QString& key, const QString& value)
{
    const QString text = value.trimmed();
    if (text.isEmpty())
        return;
    if (person.Attributes.HasAttribute(key))
        person.Attributes.SetValue(key, text);
    else
        person.Attributes.AddAttribute(key, text);
}

QString FullPhone(const TEgoNetNode& person, const QString& areaKey, const QString& numberKey)
{
    const QString area = PersonValue(person, areaKey);
    const QString number = PersonValue(person, numberKey);
    return area.isEmpty() ? number : number.isEmpty() ? area : area + ' ' + number;
}

QString FullName(const QString& first, const QString& last)
{
    if (first.isEmpty())
        return last;
    return last.isEmpty() ? first : first + ' ' + last;
}

void CompleteNames(TEgoNetNode& person)
{
    const QString first = PersonValue(person, PersonKeys::FirstName);
    const QString last = PersonValue(person, PersonKeys::LastName);
    if (person.Caption().isEmpty()) {
        person.SetCaption(FullName(first, last));
    } else if (first.isEmpty() && last.isEmpty()) {
        const QString caption = person.Caption();
        const qsizetype blank = caption.indexOf(' ');
        SetPersonValue(person, PersonKeys::FirstName, blank < 0 ? caption : caption.left(blank));
        if (blank >= 0)
            SetPersonValue(person, PersonKeys::LastName, caption.mid(blank + 1));
    }
}

void SetPicture(TEgoNetNode& person, const QImage& image)
{
    if (image.isNull())
        return;
    person.Image = image.convertToFormat(QImage::Format_RGB32);
    person.ImageID = NewObjectID();
    person.BuildImageMasks();
}

QByteArray PictureBytes(const TEgoNetNode& person)
{
    if (person.Image.isNull() || person.ImageID == kNoImageID)
        return QByteArray();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    person.Image.save(&buffer, "PNG");
    return bytes;
}

QPoint GridPosition(int index)
{
    constexpr int kPerRow = 20;
    constexpr int kStep = 40;
    constexpr int kOrigin = 50;
    return QPoint(kOrigin + (index % kPerRow) * kStep, kOrigin + (index / kPerRow) * kStep);
}
