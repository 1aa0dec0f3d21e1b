#pragma once

#include <QByteArray>
#include <QString>

// Writes content through a temporary file that replaces the target only when
// complete, so a failed write never leaves a truncated file. Throws a Failure.
void writeWholeFile(const QString& path, const QByteArray& content);
