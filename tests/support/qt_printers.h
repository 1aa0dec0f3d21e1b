#pragma once

#include <QByteArray>
#include <QString>
#include <ostream>

// Lets failing expectations show Qt texts and bytes as text (QStringList prints
// through them too).
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '"';
    for (const char c : bytes) {
        if (c == '\r' || c == '\n')
            *out << (c == '\r' ? "\\r" : "\\n");
        else if (c >= ' ' && c < 0x7F)
            *out << c;
        else
            *out << "\\x" << QByteArray::number(uchar(c), 16).toUpper().rightJustified(2, '0').constData();
    }
    *out << '"';
}
