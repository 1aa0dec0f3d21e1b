#include "discs/discs.h"

std::optional<DiscTrack> discTrackOf(Discs& discs, const CdEntry& entry)
{
    const std::optional<Disc> disc = discs.disc(entry.disc);
    if (!disc || entry.track < 1 || entry.track > disc->tracks.size())
        return std::nullopt;
    const DiscTrack& track = disc->tracks[entry.track - 1];
    if (track.sectors <= 0) // a number the disc skips
        return std::nullopt;
    return track;
}
