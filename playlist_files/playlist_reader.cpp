#include "playlist_files/playlist_reader.h"

#include "common/text_file.h"
#include "playlist_files/playlist_format.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <optional>

namespace {

bool isBlank(QStringView text)
{
    return text.trimmed().isEmpty();
}

std::optional<QString> m3uPath(const QString& line)
{
    if (line.startsWith(u'#') || isBlank(line))
        return std::nullopt;
    return line;
}

std::optional<QString> plsPath(const QString& line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    qsizetype keyStart = 0;
    while (keyStart < equals && (line[keyStart] == u' ' || line[keyStart] == u'\t'))
        ++keyStart;
    // Only the key counts: "Title1=My File" names a title, not a file.
    if (!QStringView(line).sliced(keyStart, equals - keyStart).startsWith(u"File"))
        return std::nullopt;
    const QString path = line.mid(equals + 1);
    if (isBlank(path))
        return std::nullopt;
    return path;
}

// Other players write entries as file:// addresses; the adders want a path.
QString localPath(const QString& entry)
{
    if (!entry.startsWith(QLatin1String("file://"), Qt::CaseInsensitive))
        return entry;
    const QString local = QUrl(entry).toLocalFile();
    return local.isEmpty() ? entry : local;
}

// A relative entry names a file next to the playlist, wherever the playlist is read
// from; in a list made on Windows its folders are separated by "\". A Windows path
// with a drive or from a drive's root, and an address, stay as they stand.
QString fullPath(const QString& entry, const QDir& playlistFolder)
{
    const bool windowsRooted =
        entry.startsWith(u'\\') || (entry.size() > 1 && entry[1] == u':' && entry[0].isLetter());
    if (QDir::isAbsolutePath(entry) || windowsRooted || entry.contains(u"://"))
        return entry;
    return QDir::toNativeSeparators(playlistFolder.absoluteFilePath(QString(entry).replace(u'\\', u'/')));
}

} // namespace

void readPlaylist(const QString& path, const std::function<void(const QString&)>& onPath)
{
    const PlaylistFormat format = playlistFormatOf(path);
    if (format == PlaylistFormat::None)
        return;
    const auto rule = format == PlaylistFormat::M3u ? m3uPath : plsPath;
    const QDir folder = QFileInfo(path).absoluteDir();
    TextLineReader reader(path);
    QString line;
    while (reader.readLine(line)) {
        if (const std::optional<QString> entry = rule(line))
            onPath(fullPath(localPath(*entry), folder));
    }
}
