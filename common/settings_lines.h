#pragma once

#include <QString>
#include <QStringList>

// The lines of a small settings file, read no further than its first mostBytes, where
// anything sensible in it lies; none when it is no regular file or cannot be opened.
// Lines end and decode as in any text file the program reads (see splitTextLines).
QStringList readSettingsLines(const QString& path, qint64 mostBytes = 4096);
