#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

// The readers take a path; each input is written to a file of the given name first.
inline QString writeInput(const QTemporaryDir& dir, const QString& name, const uint8_t* data, size_t size)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}
