#pragma once

#include "common/playlist_entry.h"

#include <vector>

// The playlist's entries in list order.
using PlaylistTable = std::vector<PlaylistEntry>;

// The most entries a playlist holds; adding one more fails with "Overflow".
constexpr int kMostPlaylistEntries = 32768;
