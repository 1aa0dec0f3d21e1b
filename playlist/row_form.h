#pragma once

#include <QString>

struct PlaylistEntry;

// The four columns of a playlist row.
enum class PlaylistColumn { Track, File, Length, Gap };
constexpr int kPlaylistColumns = 4;

// Header caption and width in twips of a column.
QString columnHeader(PlaylistColumn column);
int columnWidthTwips(PlaylistColumn column);

// What row slot + 1 shows in the given column.
QString rowText(const PlaylistEntry& entry, int slot, PlaylistColumn column);
