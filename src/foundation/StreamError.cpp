#include "foundation/StreamError.h"

EStreamError::EStreamError(const QString& message)
    : FMessage(message)
    , FUtf8(message.toUtf8())
{
}

const char* EStreamError::what() const noexcept
{
    return FUtf8.constData();
}
