#include "playlist/media_duration.h"

#include "player/media_player.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tfilestream.h>

namespace {

// Types whose length the header reader knows. It is asked by extension only, so
// that it never guesses a length for a file the player would refuse.
bool headersGiveLength(const QString& path)
{
    static const QStringList types = {
        QStringLiteral("mp3"), QStringLiteral("mp2"), QStringLiteral("wav"),
        QStringLiteral("wma"), QStringLiteral("asf"), QStringLiteral("aif"),
        QStringLiteral("aifc"), QStringLiteral("aiff"), QStringLiteral("flac"),
        QStringLiteral("ogg"), QStringLiteral("oga"), QStringLiteral("opus"),
        QStringLiteral("m4a"), QStringLiteral("wv"), QStringLiteral("ape"),
    };
    return types.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
}

// The header reader searches a file for its first and last MPEG frames a kilobyte at
// a time, through the whole file when it has none. Its reads are counted, and after a
// thousand (about a megabyte searched; a sound file's headers take at most a few
// hundred) the file reads as ended, so the search stops and the player decides.
class BoundedFileStream : public TagLib::FileStream {
public:
    using FileStream::FileStream;

    TagLib::ByteVector readBlock(unsigned long length) override
    {
        return ++m_reads > kMaxReads ? TagLib::ByteVector() : FileStream::readBlock(length);
    }
    void seek(long offset, Position from) override
    {
        if (m_reads <= kMaxReads) // a search going on through the ended file costs nothing
            FileStream::seek(offset, from);
    }

private:
    static constexpr int kMaxReads = 1000;
    int m_reads = 0;
};

int headerMilliseconds(const QString& path)
{
    BoundedFileStream stream(QFile::encodeName(path).constData(), true);
    const TagLib::FileRef file(&stream, true, TagLib::AudioProperties::Fast);
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
