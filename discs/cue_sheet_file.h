#pragma once

#include "discs/cue_sheet.h"

#include <QString>

// Reads and parses the CUE sheet at path. Throws a Failure naming the sheet when it
// is no regular file (a folder, a FIFO, a device, a loop of links: said as such and
// never waited on), cannot be read, is over 1 MiB or gives no track list.
CueSheet readCueSheetFile(const QString& path);
