#include "playlist/media_extensions.h"

const QList<FileExtension>& extensionTable()
{
    static const QList<FileExtension> table = {
        {u".cda", FileKind::CdTrack}, {u".mp3", FileKind::Media},
        {u".m3u", FileKind::M3uPlaylist}, {u".pls", FileKind::PlsPlaylist},
        {u".mp2", FileKind::Media}, {u".wav", FileKind::Media},
        {u".mid", FileKind::Media}, {u".midi", FileKind::Media},
        {u".asf", FileKind::Media}, {u".asx", FileKind::Media},
        {u".wm", FileKind::Media}, {u".wma", FileKind::Media},
        {u".wax", FileKind::Media}, {u".wmw", FileKind::Media},
        {u".wvx", FileKind::Media}, {u".avi", FileKind::Media},
        {u".mpeg", FileKind::Media}, {u".mpg", FileKind::Media},
        {u".mpe", FileKind::Media}, {u".m1v", FileKind::Media},
        {u".mpv2", FileKind::Media}, {u".mp2v", FileKind::Media},
        {u".mpa", FileKind::Media}, {u".rmi", FileKind::Media},
        {u".ivf", FileKind::Media}, {u".aif", FileKind::Media},
        {u".aifc", FileKind::Media}, {u".aiff", FileKind::Media},
        {u".au", FileKind::Media}, {u".snd", FileKind::Media},
        {u".mov", FileKind::Media}, {u".qt", FileKind::Media},
        {u".flac", FileKind::Media}, {u".ogg", FileKind::Media},
        {u".oga", FileKind::Media}, {u".opus", FileKind::Media},
        {u".m4a", FileKind::Media}, {u".aac", FileKind::Media},
        {u".wv", FileKind::Media}, {u".ape", FileKind::Media},
        {u".mka", FileKind::Media}, {u".cue", FileKind::CueSheet},
    };
    return table;
}

QStringList addFilesFilters()
{
    static const char* const filters[][2] = {
        {"MP3 File", "mp3"}, {"M3U Playlist", "m3u"}, {"PLS Playlist", "pls"},
        {"MP2 File", "mp2"}, {"CD Track", "cda"}, {"WAV File", "wav"},
        {"MID File", "mid"}, {"MIDI File", "midi"}, {"ASF File", "asf"},
        {"ASX File", "asx"}, {"WM File", "wm"}, {"WMA File", "wma"},
        {"WAX File", "wax"}, {"WMW File", "wmw"}, {"WVX File", "wvx"},
        {"AVI File", "avi"}, {"MPEG File", "mpeg"}, {"MPG File", "mpg"},
        {"MPE File", "mpe"}, {"M1V File", "m1v"}, {"MPV2 File", "mpv2"},
        {"MP2V File", "mp2v"}, {"MPA File", "mpa"}, {"RMI File", "rmi"},
        {"IVF File", "ivf"}, {"AIF File", "aif"}, {"AIFC File", "aifc"},
        {"AIFF File", "aiff"}, {"AU File", "au"}, {"SND File", "snd"},
        {"MOV File", "mov"}, {"QT File", "qt"}, {"FLAC File", "flac"},
        {"OGG File", "ogg"}, {"OGA File", "oga"}, {"OPUS File", "opus"},
        {"M4A File", "m4a"}, {"AAC File", "aac"}, {"WV File", "wv"},
        {"APE File", "ape"}, {"MKA File", "mka"}, {"CUE File", "cue"},
    };
    QStringList list;
    for (const auto& [type, extension] : filters)
        list << QStringLiteral("%1 (*.%2)").arg(QLatin1String(type), QLatin1String(extension));
    return list << everyTypeFilter();
}

QString everyTypeFilter()
{
    QStringList patterns;
    for (const FileExtension& extension : extensionTable())
        patterns << QStringLiteral("*") + extension.text.toString();
    return QStringLiteral("All playable files (%1)").arg(patterns.join(QLatin1Char(' ')));
}

std::optional<FileExtension> endingExtension(QStringView name)
{
    for (const FileExtension& extension : extensionTable()) {
        if (name.endsWith(extension.text, Qt::CaseInsensitive))
            return extension;
    }
    return std::nullopt;
}
