#include "scan/scan_tracks.h"

#include "common/playlist_table.h"
#include "discs/cd_entry.h"
#include "discs/entry_sound.h"

QList<ScanTrack> scanTracksOf(const PlaylistTable& table, Discs& discs, const TitleLookup& titles)
{
    QList<ScanTrack> tracks;
    for (size_t slot = 0; slot < table.size(); ++slot) {
        const PlaylistEntry& entry = table[slot];
        ScanTrack track { entryTitle(entry.path, int(slot + 1), titles), { .path = entry.path }, entry.gap / 1000,
                          slot + 1 == table.size() };
        // An entry that names no track stays as it is, and the scan says it failed.
        if (!isCdEntry(entry.path) || cdEntryOf(entry.path)) {
            if (const EntrySound sound = soundOf(entry, discs); sound.refusal.isEmpty())
                track.source = sound.sound;
        }
        tracks << track;
    }
    return tracks;
}
