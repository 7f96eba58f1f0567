#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>

// Lets test failures show Qt strings as text rather than as raw objects.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toStdString() << "\" (" << bytes.toHex(' ').toStdString() << ')';
}
