#include "playlist/media_duration.h"

#include "recording/media_player.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>

namespace {

// Types whose length the header reader knows. It is asked by extension only, so
// that it never guesses a length for a file the player would refuse.
bool headersGiveLength(const QString& path)
{
    static const QStringList types = {
        QStringLiteral("mp3"), QStringLiteral("mp2"), QStringLiteral("wav"),
        QStringLiteral("wma"), QStringLiteral("asf"), QStringLiteral("aif"),
        QStringLiteral("aifc"), QStringLiteral("aiff"),
    };
    return types.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
}

int headerMilliseconds(const QString& path)
{
    const TagLib::FileRef file(QFile::encodeName(path).constData(), true,
                               TagLib::AudioProperties::Fast);
    const TagLib::AudioProperties* properties = file.audioProperties();
    return properties ? properties->lengthInMilliseconds() : 0;
}

} // namespace

double mediaDuration(MediaPlayer& player, const QString& path)
{
    if (headersGiveLength(path)) {
        const int milliseconds = headerMilliseconds(path);
        if (milliseconds > 0)
            return milliseconds / 1000.0;
    }
    player.setFileName(QFileInfo(path).absoluteFilePath()); // a playlist's entry may be relative
    const double seconds = player.duration();
    return std::isfinite(seconds) ? seconds : 0;
}
