#include "recorder/scan_tracks.h"

#include "common/number_text.h"
#include "common/playlist_table.h"
#include "player/cd_audio.h"

QList<ScanTrack> scanTracksOf(const PlaylistTable& table, CDAudio& cd, const TitleLookup& titles)
{
    QList<ScanTrack> tracks;
    for (int slot = 0; slot < table.count(); ++slot) {
        const PlaylistEntry& entry = table[slot];
        ScanTrack track { entryTitle(entry.path, slot + 1, titles), { .path = entry.path }, entry.gap / 1000,
                          slot == table.lastIndex() };
        if (entry.path.endsWith(u".cda", Qt::CaseInsensitive)) {
            const qsizetype word = entry.path.lastIndexOf(QLatin1String("track"), -1, Qt::CaseInsensitive);
            cd.UseDiscOf(entry.path);
            if (const std::optional<SoundSource> sound = cd.TrackSound(toInt16(leadingNumber(QStringView(entry.path).mid(word + 5)))))
                track.source = *sound;
        }
        tracks << track;
    }
    return tracks;
}
