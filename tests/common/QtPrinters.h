#pragma once

// Readable Qt values in test failure messages; forced into every test source by CMake.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
