#include "player/disc_cd_device.h"

#include "player/media_player.h"

#include <algorithm>
#include <cmath>

namespace {

QString twoDigits(qint64 number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

// "mm:ss:ff": minutes, seconds and sectors; minutes take more digits when they need them.
QString minutesSecondsFrames(qint64 sectors)
{
    const qint64 seconds = sectors / kSectorsPerSecond;
    return twoDigits(seconds / 60) + ':' + twoDigits(seconds % 60) + ':' + twoDigits(sectors % kSectorsPerSecond);
}

// Whether words are those of text, then extra words more.
bool said(const QStringList& words, const char* text, int extra = 0)
{
    const QStringList expected = QString::fromLatin1(text).split(QLatin1Char(' '));
    return words.size() == expected.size() + extra && std::equal(expected.begin(), expected.end(), words.begin());
}

} // namespace

DiscCdDevice::DiscCdDevice(DiscFinder findDisc, MediaPlayer& player)
    : m_findDisc(std::move(findDisc))
    , m_player(player)
{
    QObject::connect(&m_player, &MediaPlayer::endOfStream, &m_listener, [this] { heardEnd(); });
    QObject::connect(&m_player, &MediaPlayer::failed, &m_listener, [this] {
        if (m_mode == Mode::Playing) {
            m_place = currentPlace();
            m_mode = Mode::Stopped;
        }
    });
}

QByteArray DiscCdDevice::sendCommand(const QByteArray& command, int replyCapacity)
{
    QStringList words = QString::fromLocal8Bit(command).toLower().simplified().split(QLatin1Char(' '));
    words.removeAll(QStringLiteral("wait"));
    words.removeAll(QStringLiteral("shareable"));
    QByteArray reply = answer(words).toLatin1().left(replyCapacity);
    reply.append(QByteArray(replyCapacity - reply.size(), '\0'));
    return reply;
}

void DiscCdDevice::chooseDisc(const QString& folder)
{
    // The tracks of one disc are asked for one after another: it is read once.
    // Opening the device reads it again, so a changed disc is seen at each run.
    if (m_open && folder == m_folder && m_disc)
        return;
    m_folder = folder;
    if (m_open)
        loadDisc();
}

std::optional<SoundSource> DiscCdDevice::trackSound(int track)
{
    const std::optional<Disc> disc = m_open ? m_disc : m_findDisc(m_folder);
    if (!disc || track < 1 || track > disc->tracks.size() || !disc->tracks[track - 1].audio)
        return std::nullopt;
    return disc->tracks[track - 1].sound;
}

// The reply text; an empty one for a command that fails or has nothing to say.
QString DiscCdDevice::answer(const QStringList& words)
{
    if (said(words, "open cdaudio alias cd")) {
        m_open = true;
        loadDisc();
        return {};
    }
    if (!m_open)
        return {};
    if (said(words, "close all") || said(words, "close cd")) {
        stopPlaying(Mode::Stopped);
        m_open = false;
        m_disc.reset();
    } else if (said(words, "set cd time format tmsf") || said(words, "set cd time format milliseconds")) {
        m_milliseconds = words.last() == QLatin1String("milliseconds");
    } else if (said(words, "set cd door open")) {
        stopPlaying(Mode::Stopped);
        m_doorOpen = true;
        m_disc.reset();
    } else if (said(words, "set cd door closed")) {
        // Another disc may have gone in meanwhile.
        if (m_doorOpen) {
            m_doorOpen = false;
            loadDisc();
        }
    } else if (said(words, "status cd mode")) {
        return modeText();
    } else if (said(words, "status cd media present")) {
        return m_disc ? QStringLiteral("true") : QStringLiteral("false");
    } else if (m_disc) {
        return answerAboutDisc(words);
    }
    return {};
}

QString DiscCdDevice::answerAboutDisc(const QStringList& words)
{
    const int count = int(m_disc->tracks.size());
    if (said(words, "status cd number of tracks"))
        return twoDigits(count);
    if (said(words, "status cd length"))
        return minutesSecondsFrames(sectorsBefore(count + 1));
    if (said(words, "status cd length track", 1)) {
        bool number = false;
        const int track = words.last().toInt(&number);
        if (!number || track < 1 || track > count)
            return {};
        return minutesSecondsFrames(m_disc->tracks[track - 1].sectors);
    }
    if (said(words, "status cd position"))
        return positionText(currentPlace());
    if (said(words, "seek cd to", 1)) {
        if (const std::optional<Place> place = placeOf(words.last())) {
            stopPlaying(Mode::Stopped);
            m_place = *place;
        }
    } else if (said(words, "play cd")) {
        if (m_mode != Mode::Playing)
            playFrom(m_place);
    } else if (said(words, "play cd from", 1)) {
        if (const std::optional<Place> place = placeOf(words.last())) {
            stopPlaying(Mode::Stopped);
            playFrom(*place);
        }
    } else if (said(words, "stop cd")) {
        stopPlaying(Mode::Stopped);
    } else if (said(words, "pause cd")) {
        if (m_mode == Mode::Playing)
            stopPlaying(Mode::Paused);
    }
    return {};
}

// A new disc, or none, stands stopped at its start.
void DiscCdDevice::loadDisc()
{
    stopPlaying(Mode::Stopped);
    m_disc = m_doorOpen ? std::nullopt : m_findDisc(m_folder);
    if (m_disc && m_disc->tracks.isEmpty())
        m_disc.reset();
    m_place = {};
}

// Only a play of this device's own is stopped: the player may be sounding a file.
void DiscCdDevice::stopPlaying(Mode mode)
{
    if (m_mode == Mode::Playing) {
        m_place = currentPlace();
        m_player.stop();
    }
    m_mode = mode;
}

// A data track, or the end of the disc, plays nothing.
void DiscCdDevice::playFrom(const Place& place)
{
    m_place = place;
    std::optional<SoundSource> sound = trackSound(place.track);
    if (!sound || place.sectors >= m_disc->tracks[place.track - 1].sectors)
        return;
    sound->firstFrame += place.sectors * kFramesPerSector;
    m_player.play(*sound, 0);
    m_mode = Mode::Playing;
}

// The track is over: the drive stands at the start of the next one, or at the end of the last.
void DiscCdDevice::heardEnd()
{
    if (m_mode != Mode::Playing)
        return;
    m_mode = Mode::Stopped;
    const int track = m_place.track;
    if (track < m_disc->tracks.size())
        m_place = { track + 1, 0 };
    else
        m_place = { track, m_disc->tracks[track - 1].sectors };
}

DiscCdDevice::Place DiscCdDevice::currentPlace() const
{
    if (m_mode != Mode::Playing)
        return m_place;
    const qint64 heard = qint64(std::floor(std::max(0.0, m_player.currentPosition()) * kSectorsPerSecond));
    return { m_place.track, std::min(m_place.sectors + heard, m_disc->tracks[m_place.track - 1].sectors) };
}

// tmsf: a track number, its start; milliseconds: a time from the disc's start, within the disc.
std::optional<DiscCdDevice::Place> DiscCdDevice::placeOf(const QString& text) const
{
    const int count = int(m_disc->tracks.size());
    bool number = false;
    if (!m_milliseconds) {
        const int track = text.toInt(&number);
        if (!number || track < 1 || track > count)
            return std::nullopt;
        return Place { track, 0 };
    }
    const qint64 milliseconds = text.toLongLong(&number);
    if (!number)
        return std::nullopt;
    const qint64 sectors = std::clamp<qint64>(std::llround(milliseconds * kSectorsPerSecond / 1000.0), 0,
                                              sectorsBefore(count + 1));
    for (int track = 1; track < count; ++track) {
        if (sectors < sectorsBefore(track + 1))
            return Place { track, sectors - sectorsBefore(track) };
    }
    return Place { count, sectors - sectorsBefore(count) };
}

qint64 DiscCdDevice::sectorsBefore(int track) const
{
    qint64 sectors = 0;
    for (int earlier = 1; earlier < track; ++earlier)
        sectors += m_disc->tracks[earlier - 1].sectors;
    return sectors;
}

// tmsf: "tt:mm:ss:ff" within the track; milliseconds: from the disc's start.
QString DiscCdDevice::positionText(const Place& place) const
{
    if (m_milliseconds)
        return QString::number(std::llround((sectorsBefore(place.track) + place.sectors) * 1000.0 / kSectorsPerSecond));
    return twoDigits(place.track) + ':' + minutesSecondsFrames(place.sectors);
}

QString DiscCdDevice::modeText() const
{
    if (m_doorOpen)
        return QStringLiteral("open");
    if (!m_disc)
        return QStringLiteral("not ready");
    switch (m_mode) {
    case Mode::Playing:
        return QStringLiteral("playing");
    case Mode::Paused:
        return QStringLiteral("paused");
    case Mode::Stopped:
        break;
    }
    return QStringLiteral("stopped");
}
