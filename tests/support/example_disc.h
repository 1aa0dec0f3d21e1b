#pragma once

#include "discs/disc.h"

// MusicBrainz's example disc of six audio tracks, disc ID 49HHV7Eb8UKF3aQiNmu1GR8vKTY-,
// with no CD-Text; its tracks played from /dev/cdrom.
inline Disc exampleDisc()
{
    Disc disc;
    const qint64 starts[] = { 0, 15213, 32164, 46442, 63264, 80339, 95312 };
    for (int i = 0; i < 6; ++i)
        disc.tracks.append({ true, starts[i + 1] - starts[i], { SoundSource::Kind::DriveTrack, "/dev/cdrom", i + 1 }, {}, starts[i] });
    disc.leadOut = starts[6];
    return disc;
}
