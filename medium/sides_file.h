#pragma once

#include "medium/side_plan.h"

#include <QString>

// sides.dat, beside recorder.dat: the leader a side in seconds, then "fill" or
// "balance" for the split, a line each.

inline const QString kSidesFileName = QStringLiteral("sides.dat");

// Reads sides.dat; no file gives the defaults, and so does a line that is missing,
// damaged or out of range.
SideSettings readSidesFile(const QString& path);
// Replaces sides.dat only once the new content is complete. Throws a Failure.
void writeSidesFile(const QString& path, const SideSettings& settings);
