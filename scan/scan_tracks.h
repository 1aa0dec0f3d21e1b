#pragma once

#include "common/playlist_table.h"
#include "scan/scan_track.h"
#include "medium/track_list_text.h"

#include <QList>

class Discs;

// The playlist's entries as the scan reads them: a media file as it is, a CD
// track where its disc's sound is read (a track without sound is handed on by its
// path, so that the scan says it failed), each with its gap and its title.
QList<ScanTrack> scanTracksOf(const PlaylistTable& table, Discs& discs, const TitleLookup& titles);
