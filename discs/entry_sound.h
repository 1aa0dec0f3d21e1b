#pragma once

#include "common/playlist_entry.h"
#include "discs/sound_source.h"

class Discs;

// What an entry of the list plays, and for how long.
struct EntrySound {
    SoundSource sound;
    double seconds = 0;
    QString refusal; // why a CD track cannot be played; the rest is then unset
};

// A media file plays as it is, for the length the list holds; a CD entry plays its
// disc's track, for the length the disc's table gives. Throws a Failure for a CD
// entry whose path names no track.
EntrySound soundOf(const PlaylistEntry& entry, Discs& discs);
