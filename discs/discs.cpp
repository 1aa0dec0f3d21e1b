#include "discs/discs.h"

#include "common/failure.h"

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

QString discTextTitleOf(Discs& discs, const QString& entryPath)
{
    const std::optional<CdEntry> entry = cdEntryOf(entryPath);
    try {
        const std::optional<DiscTrack> track = entry ? discTrackOf(discs, *entry) : std::nullopt;
        return track ? track->title : QString();
    } catch (const Failure&) {
        return {}; // a title is no reason to bother anyone: the track is named by its number
    }
}

QString discTextAlbumOf(Discs& discs, const QString& entryPath)
{
    const std::optional<CdEntry> entry = cdEntryOf(entryPath);
    try {
        const std::optional<Disc> disc = entry ? discs.disc(entry->disc) : std::nullopt;
        return disc ? disc->title : QString();
    } catch (const Failure&) {
        return {};
    }
}
