#pragma once

#include "discs/cd_entry.h"
#include "discs/disc.h"

#include <QString>
#include <optional>

// Where CD entries find their discs: a CUE sheet stands for a disc of its own, any
// other folder of CD entries for the disc in the drive.
class Discs {
public:
    virtual ~Discs() = default;
    // The disc of the CD entries whose disc is discPath (CdEntry::disc). Nothing when
    // there is none: no drive, no disc in it, a sheet that cannot be used. A disc
    // asked for before may be answered as it was read then, until lookAgain.
    virtual std::optional<Disc> disc(const QString& discPath) = 0;
    // From the next question on, discs are read anew: another may have gone in, or a
    // sheet may have changed.
    virtual void lookAgain() = 0;
};

// The track a CD entry names, when its disc has one of that number with a length (a
// data track has one too); nothing otherwise.
std::optional<DiscTrack> discTrackOf(Discs& discs, const CdEntry& entry);

// The title a CD entry's disc gives its track in the disc's own text (CD-Text);
// empty for any other entry, or when the disc names none.
QString discTextTitleOf(Discs& discs, const QString& entryPath);
// The album a CD entry's disc names in its own text; empty as for discTextTitleOf.
QString discTextAlbumOf(Discs& discs, const QString& entryPath);
