#include "app/pages/GroupEditing.h"

#include "model/PersonKeys.h"
#include "model/TEgoNetObject.h"

#include <QLabel>
#include <QLocale>

const QStringList& PersonalKeys()
{
    using namespace PersonKeys;
    static const QStringList keys{FirstName,     LastName,  Sex,           BirthdayMonth, BirthdayYear,   Education,
                                  Work,          EMail,     HomePhoneArea, HomePhone,     WorkPhoneArea, WorkPhone,
                                  CellPhoneArea, CellPhone, Entertainments, Sports,       Foods};
    return keys;
}

bool IsPersonalKey(const QString& name)
{
    // The keys are all lower case, so the name matches exactly or through its lower-case form.
    return PersonalKeys().contains(name.toLower());
}

void SetFullNameStyle(QLabel& label, bool group)
{
    QFont font = label.font();
    font.setPointSize(group ? 8 : 13);
    font.setBold(!group);
    label.setFont(font);
    label.setStyleSheet(group ? QStringLiteral("color: rgb(255, 0, 0);") : QStringLiteral("color: rgb(0, 166, 0);"));
    label.setAlignment(group ? Qt::AlignRight : Qt::AlignLeft);
}

QString ShownValue(const TEgoNetObject* object, const QString& name, bool* found)
{
    QString value;
    const bool has = object->Attributes.GetValue(name, value);
    if (found)
        *found = has;
    return IsMissingValue(value) ? QString() : value;
}

QString CommonValue(const QList<TEgoNetObject*>& objects, const QString& name, bool* differed)
{
    if (differed)
        *differed = false;
    if (objects.isEmpty())
        return QString();
    const QString candidate = ShownValue(objects.first(), name);
    for (qsizetype i = 1; i < objects.size(); ++i) {
        bool found = false;
        if (ShownValue(objects[i], name, &found) != candidate && found) {
            if (differed)
                *differed = true;
            return QString();
        }
    }
    return candidate;
}

QString StrengthText(float strength)
{
    return QString::asprintf("%3.1f", double(strength)).replace(QLatin1Char('.'), QLocale().decimalPoint());
}
