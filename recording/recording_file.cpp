#include "recording/recording_file.h"

#include "common/failure.h"
#include "common/number_text.h"
#include "playlist_files/playlist_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <limits>

namespace {

// True when the name is free to take: nothing there, or an empty file, now deleted.
// A folder of that name is not free: no file could be written there.
bool takeFree(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    if (!info.isFile() || info.size() > 0)
        return false;
    QFile::remove(path);
    return true;
}

QString extensionOf(PlaylistFormat format)
{
    switch (format) {
    case PlaylistFormat::M3u:
        return QStringLiteral(".m3u");
    case PlaylistFormat::Pls:
        return QStringLiteral(".pls");
    case PlaylistFormat::None:
        break;
    }
    return {};
}

} // namespace

QString freeRecordingStem(const QString& directory)
{
    const QDir dir(directory);
    for (qint32 n = 1; n < std::numeric_limits<qint32>::max(); ++n) {
        const QString stem = dir.filePath(QStringLiteral("Recording") + printNumber(n));
        if (takeFree(stem + QStringLiteral(".m3u")) && takeFree(stem + QStringLiteral(".pls")))
            return stem;
    }
    throw Failure(QStringLiteral("Overflow"));
}

RecordingSave saveNextRecordingPlaylist(const QString& directory, PlaylistFormat format, const PlaylistTable& table)
{
    const QString path = freeRecordingStem(directory) + extensionOf(format);
    return {path, writePlaylist(path, format, table)};
}
