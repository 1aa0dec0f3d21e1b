#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file's exact bytes, read and written without any text handling.
inline QByteArray bytesOf(const QString& path) { QFile file(path); return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(); }

inline void writeBytes(const QString& path, const QByteArray& bytes) { QFile file(path); file.open(QIODevice::WriteOnly) && file.write(bytes); }
