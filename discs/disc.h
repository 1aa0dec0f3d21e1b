#pragma once

#include "discs/sound_source.h"

#include <QList>
#include <QString>

// CD time: 75 sectors a second, 588 stereo frames at 44.1 kHz each.
constexpr qint64 kSectorsPerSecond = 75;
constexpr qint64 kFramesPerSector = 588;

// One track of a disc's table of contents.
struct DiscTrack {
    bool audio = true;
    qint64 sectors = 0; // its length
    SoundSource sound;  // where its audio is read
    QString title;      // the disc's own text names it so: "Performer - Title", or the title alone
    qint64 start = 0;   // its first sector from the start of the disc's program area (a drive's disc only)

    // Its length as it is shown and counted: whole seconds, the sectors of a last,
    // partial second left out.
    qint64 wholeSeconds() const { return sectors / kSectorsPerSecond; }

    // What stands for a number the disc skips: no audio, no length.
    static DiscTrack skipped()
    {
        DiscTrack track;
        track.audio = false;
        return track;
    }
};

// A disc as a drive reports it or a CUE sheet describes it: track n is tracks[n - 1].
struct Disc {
    QList<DiscTrack> tracks;
    QString title; // the album, as the disc's own text names it
    qint64 leadOut = 0; // the sector after the last track, counted as DiscTrack::start (a drive's disc only)
};
