#pragma once

#include "discs/disc.h"

#include <QString>

// The disc a CUE sheet describes: its track n is the sheet's TRACK n, as a drive
// numbers its tracks (a number the sheet skips is no track). An audio track is the
// stretch of its file from its INDEX 01 to the next track's INDEX 01 in the same
// file (so a pregap plays with the track before, as on a disc) or to the file's
// end. A FILE name is taken from the sheet's folder, "\" being a folder separator
// too; a name not found as written is matched in any case, each folder being
// listed once. Raw images (BINARY, MOTOROLA) are measured by their size, other
// files by the sample count their headers give (FLAC, WAV, AIFF, APE, WavPack,
// TrueAudio, Musepack). Throws a Failure, naming the sheet, when the sheet cannot
// be read (see readCueSheetFile), names a file that is not there, is no regular
// file or whose length is unknown, or puts a track at or past the end of its file
// or makes it empty.
Disc discOfCueSheet(const QString& sheetPath);
