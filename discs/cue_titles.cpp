#include "discs/cue_titles.h"

#include "common/failure.h"
#include "discs/cd_entry.h"
#include "discs/cue_sheet_file.h"

#include <QFileInfo>

namespace {

// The entry, when it names a track of a CUE sheet.
std::optional<CdEntry> sheetEntryOf(const QString& entryPath)
{
    const std::optional<CdEntry> entry = cdEntryOf(entryPath);
    return entry && isCueSheet(entry->disc) ? entry : std::nullopt;
}

} // namespace

QString CueTitles::titleOf(const QString& entryPath)
{
    const std::optional<CdEntry> entry = sheetEntryOf(entryPath);
    return entry ? sheet(entry->disc).titles.value(entry->track) : QString();
}

QString CueTitles::albumOf(const QString& entryPath)
{
    const std::optional<CdEntry> entry = sheetEntryOf(entryPath);
    return entry ? sheet(entry->disc).album : QString();
}

const CueTitles::Sheet& CueTitles::sheet(const QString& path)
{
    const QFileInfo file(path);
    Sheet& known = m_sheets[path];
    if (known.size == file.size() && known.changed == file.lastModified())
        return known;
    known = { file.size(), file.lastModified(), {}, {} };
    try {
        const CueSheet sheet = readCueSheetFile(path);
        known.album = sheet.title;
        for (const CueTrack& track : sheet.tracks) {
            const QString performer = track.performer.isEmpty() ? sheet.performer : track.performer;
            if (!track.title.isEmpty())
                known.titles[track.number] = performer.isEmpty() ? track.title : performer + QStringLiteral(" - ") + track.title;
        }
    } catch (const Failure&) {
        // No title is no reason to bother anyone: the track is named by its number.
    }
    return known;
}
