#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The error every reader and writer of persisted data raises. Its message is the fixed text
// that the reading command shows to the user ("Stream read error", "Node data read error", ...).
class EStreamError : public std::exception
{
public:
    explicit EStreamError(const QString& message);

    const QString& Message() const { return FMessage; }
    // The message in UTF-8.
    const char* what() const noexcept override;

private:
    QString FMessage;
    QByteArray FUtf8;
};
