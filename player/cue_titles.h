#pragma once

#include <QString>

// The title a CUE sheet gives the track a CD entry names ("/rips/album.cue/Track03.cda"):
// "Performer - Title" when the sheet names both, the title alone otherwise; empty
// for any other path, a sheet that cannot be read, or a track without a title.
QString cueTrackTitle(const QString& entryPath);
