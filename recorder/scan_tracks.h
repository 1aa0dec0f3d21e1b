#pragma once

#include "common/playlist_table.h"
#include "recorder/scan_track.h"
#include "recorder/track_list_text.h"

#include <QList>

class CDAudio;

// The playlist's entries as the scan reads them: a media file as it is, a CD
// track where the CD device reads its sound (a track it cannot read is handed on
// by its path, so that the scan says it failed), each with its gap and its title.
QList<ScanTrack> scanTracksOf(const PlaylistTable& table, CDAudio& cd, const TitleLookup& titles);
