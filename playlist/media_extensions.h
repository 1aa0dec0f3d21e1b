#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// The file types the program takes: media files, CD track files, playlists and
// CUE sheets (a disc image or an album rip, standing for a disc).

enum class FileKind { CdTrack, Media, M3uPlaylist, PlsPlaylist, CueSheet };

struct FileExtension {
    QStringView text; // ".mp3", always lower case
    FileKind kind;
};

// The extensions in the order in which a name is tested against them (".cda" first).
const QList<FileExtension>& extensionTable();

// The open dialog's filters, one per type ("MP3 File (*.mp3)"), in the order shown,
// and last everyTypeFilter.
QStringList addFilesFilters();

// The filter that shows every type of the table at once, so that a folder of mixed
// files can be chosen in one go.
QString everyTypeFilter();

// The table's extension that the name ends with, compared without regard to case.
std::optional<FileExtension> endingExtension(QStringView name);
