#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class TEgoNetModel;

// Reads the contact lists that mail programs export as CSV: Google Contacts (the current "First
// Name … E-mail 1 - Value, Phone 1 - Label" headers and the older "Given Name, Family Name …"
// ones) and Outlook (English headers). Headers match whatever their case, blanks and hyphens
// ("E-mail", "Email"). One new node of into per row; notes gets what is left out.
class TContactCsvReader
{
public:
    static void Read(const QByteArray& bytes, const QString& fileName, TEgoNetModel& into, QStringList& notes);
};
