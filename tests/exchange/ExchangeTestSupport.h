#pragma once

#include "exchange/ExchangeError.h"
#include "exchange/PersonFields.h"
#include "model/TEgoNetModel.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>

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

// A new model with what one of the readers reads from bytes, given the file's name.
template <typename Reader>
std::unique_ptr<TEgoNetModel> ReadWith(const QByteArray& bytes, const QString& fileName, QStringList* notes = nullptr)
{
    auto model = std::make_unique<TEgoNetModel>();
    QStringList ignored;
    Reader::Read(bytes, fileName, *model, notes ? *notes : ignored);
    return model;
}

// The message with which one of the readers refuses bytes; empty when it reads them.
template <typename Reader>
QString ReadErrorWith(const QByteArray& bytes, const QString& fileName)
{
    try {
        ReadWith<Reader>(bytes, fileName);
    } catch (const EImportError& e) {
        return e.Message();
    }
    return QString();
}
