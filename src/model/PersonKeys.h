#pragma once

#include <QString>
#include <QStringList>

// The personal details as the Persons page keeps them: free attributes of a person under fixed
// keys. The contact formats of import and export map their fields onto these, both ways.
namespace PersonKeys {
inline const QString FirstName = QStringLiteral("name_first");
inline const QString LastName = QStringLiteral("name_last");
inline const QString Sex = QStringLiteral("sex");
inline const QString BirthdayMonth = QStringLiteral("birthday_month");
inline const QString BirthdayYear = QStringLiteral("birthday_year");
inline const QString Work = QStringLiteral("work_type");
inline const QString EMail = QStringLiteral("email");
inline const QString HomePhoneArea = QStringLiteral("homephone_area");
inline const QString HomePhone = QStringLiteral("homephone");
inline const QString WorkPhoneArea = QStringLiteral("workphone_area");
inline const QString WorkPhone = QStringLiteral("workphone");
inline const QString CellPhoneArea = QStringLiteral("cellphone_area");
inline const QString CellPhone = QStringLiteral("cellphone");
inline const QString Education = QStringLiteral("education");
inline const QString Entertainments = QStringLiteral("entertainments");
inline const QString Movies = QStringLiteral("movies");
inline const QString Sports = QStringLiteral("sports");
inline const QString Foods = QStringLiteral("foods");
// Contact groups ("CATEGORIES", "Labels", "Categories") land here.
inline const QString Categories = QStringLiteral("categories");
} // namespace PersonKeys

// The page's values for sex.
inline const QString kMale = QStringLiteral("male");
inline const QString kFemale = QStringLiteral("female");

// The birthday months as the Persons page offers them, January first.
inline const QStringList& MonthNames()
{
    static const QStringList months{"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
    return months;
}
