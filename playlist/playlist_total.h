#pragma once

#include "common/playlist_table.h"

class QString;

// The figures the total label and the list frame show.

// Seconds of all lengths plus all gaps but the last entry's: the silence after
// the last track is never played.
double playlistTotal(const PlaylistTable& table);

// "Total time: 06:37"; a fraction of a second is cut after one digit ("06:36.5").
QString totalTimeCaption(double total);

// "Playlist - 2 files", or "Playlist" for an empty list.
QString playlistFrameCaption(const PlaylistTable& table);
