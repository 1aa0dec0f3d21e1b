#pragma once

#include <QByteArray>
#include <QtGlobal>

// Bytes read in place of a file's own, from offset on, without changing the file.
struct BytePatch {
    qint64 offset;
    QByteArray bytes;
};
