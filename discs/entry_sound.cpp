#include "discs/entry_sound.h"

#include "discs/cd_entry.h"
#include "discs/discs.h"

EntrySound soundOf(const PlaylistEntry& entry, Discs& discs)
{
    if (!isCdEntry(entry.path))
        return {{.path = entry.path}, double(entry.length), {}};
    const CdEntry cdEntry = readCdEntry(entry.path);
    const std::optional<DiscTrack> track = discTrackOf(discs, cdEntry);
    if (!track)
        return {{}, 0, entry.path + QStringLiteral(" cannot be played: the CD drive has no such track.")};
    if (!track->audio)
        return {{}, 0, QStringLiteral("The CD drive did not start playing track %1.").arg(cdEntry.track)};
    return {track->sound, double(track->wholeSeconds()), {}};
}
