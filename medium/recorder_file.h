#pragma once

#include "medium/recorder_kind.h"

#include <QStringList>

// recorder.dat, beside settings.dat: the chosen recorder's id and, for a custom
// one, its minutes, track limit, threshold, minimum silence and sides, a line each.

inline const QString kRecorderFileName = QStringLiteral("recorder.dat");

// The recorder the lines name; anything unknown, missing or out of range gives the default.
RecorderKind parseRecorder(const QStringList& lines);
QStringList recorderLines(const RecorderKind& kind);

// Reads recorder.dat; no file or a damaged one gives the default recorder.
RecorderKind readRecorderFile(const QString& path);
// Replaces recorder.dat only once the new content is complete. Throws a Failure.
void writeRecorderFile(const QString& path, const RecorderKind& kind);
