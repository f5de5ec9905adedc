#pragma once

#include "exchange/PersonFields.h"
#include "model/TEgoNetModel.h"

#include <QFile>
#include <QString>

// The value of a person's key, empty when missing.
inline QString Field(const TEgoNetNode* person, const QString& key)
{
    return person ? PersonValue(*person, key) : QStringLiteral("<no person>");
}

inline QByteArray ReadTestData(const QString& name)
{
    QFile file(QStringLiteral(CW_EXCHANGE_DATA_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A person with names, caption and the given e-mail address.
inline TOrganizedNode* AddPerson(TEgoNetModel& model, const QString& first, const QString& last,
                                 const QString& email = QString())
{
    TOrganizedNode* person = model.NewNode(QPoint(100, 100), FullName(first, last));
    person->ID = NewObjectID();
    SetPersonValue(*person, PersonKeys::FirstName, first);
    SetPersonValue(*person, PersonKeys::LastName, last);
    SetPersonValue(*person, PersonKeys::EMail, email);
    return person;
}
