#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <ostream>

// Lets failing expectations show Qt texts and bytes as text (QStringList prints
// through them too).
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '"';
    for (const char c : bytes) {
        if (c == '\r')
            *out << "\\r";
        else if (c == '\n')
            *out << "\\n";
        else if (c >= ' ' && c < 0x7F)
            *out << c;
        else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
            *out << escaped;
        }
    }
    *out << '"';
}
