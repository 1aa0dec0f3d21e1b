#include "recording/recording_file.h"

#include "common/failure.h"
#include "common/number_text.h"
#include "common/text_file.h"
#include "playlist_files/playlist_writer.h"

#include <QDir>
#include <QFile>
#include <limits>

namespace {

// True when the file is free to take: absent, or empty and now deleted.
bool takeFree(const QString& path)
{
    if (fileHasContent(path))
        return false;
    if (QFile::exists(path))
        QFile::remove(path);
    return true;
}

QString extensionOf(int format)
{
    switch (format) {
    case 1:
        return QStringLiteral(".m3u");
    case 2:
        return QStringLiteral(".pls");
    default:
        return {};
    }
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
    throw Failure(QStringLiteral("Overflow"), 6);
}

RecordingSave hittaledigfil(const QString& directory, int format, const PlaylistTable& table)
{
    const QString path = freeRecordingStem(directory) + extensionOf(format);
    return {path, skrivplaylist(path, format, table)};
}
