#include "player/cd_audio.h"

#include "common/number_text.h"
#include "player/cd_device.h"

#include <algorithm>
#include <cmath>

namespace {

// Characters first to last (1-based) of a reply read as a 16-bit number.
qint16 field(const QString& reply, int first, int last)
{
    return toInt16(leadingNumber(QStringView(reply).mid(first - 1, last - first + 1)));
}

// Field index (0-based) of a time reply such as "tt:mm:ss:ff" read as a number. A
// field is read whole: minutes past 99 take three figures or more.
double timeField(const QString& reply, int index)
{
    QStringView rest(reply);
    for (int skipped = 0; skipped < index; ++skipped) {
        const qsizetype colon = rest.indexOf(u':');
        if (colon < 0)
            return 0;
        rest = rest.sliced(colon + 1);
    }
    return leadingNumber(rest.left(rest.indexOf(u':')));
}

} // namespace

CDAudio::CDAudio(CdDevice& device)
    : m_device(device)
{
}

void CDAudio::send(const QString& command)
{
    m_device.sendCommand(command.toLocal8Bit(), 0);
}

QString CDAudio::query(const QString& command, int capacity)
{
    return QString::fromLatin1(m_device.sendCommand(command.toLocal8Bit(), capacity));
}

qint16 CDAudio::GetCurrentTime()
{
    const QString reply = query(QStringLiteral("status cd position"));
    return toInt16(timeField(reply, 1) * 60 + timeField(reply, 2));
}

qint16 CDAudio::GetCurrentTrack()
{
    return toInt16(timeField(query(QStringLiteral("status cd position")), 0));
}

void CDAudio::StartPlay()
{
    send(QStringLiteral("play cd"));
}

void CDAudio::SetTrack(qint16 track)
{
    send(QStringLiteral("seek cd to ") + printNumber(track));
}

void CDAudio::StopPlay()
{
    send(QStringLiteral("stop cd wait"));
}

void CDAudio::PausePlay()
{
    send(QStringLiteral("pause cd"));
}

void CDAudio::EjectCD()
{
    send(QStringLiteral("set cd door open"));
}

void CDAudio::CloseCD()
{
    send(QStringLiteral("set cd door closed"));
}

void CDAudio::UnloadAll()
{
    send(QStringLiteral("close all"));
}

void CDAudio::SetCDPlayerReady()
{
    send(QStringLiteral("open cdaudio alias cd wait shareable"));
}

void CDAudio::SetFormat_tmsf()
{
    send(QStringLiteral("set cd time format tmsf wait"));
}

void CDAudio::SetFormat_milliseconds()
{
    send(QStringLiteral("set cd time format milliseconds"));
}

qint16 CDAudio::CheckCD()
{
    // The device answers "true" or "false".
    const QString reply = query(QStringLiteral("status cd media present"));
    if (reply.startsWith(QLatin1String("true"), Qt::CaseInsensitive))
        return 1;
    return toInt16(leadingNumber(reply));
}

qint16 CDAudio::GetNumTracks()
{
    return field(query(QStringLiteral("status cd number of tracks wait")), 1, 2);
}

QString CDAudio::GetCDLength()
{
    return query(QStringLiteral("status cd length wait"));
}

QString CDAudio::GetTrackLength(qint16 track)
{
    return query(QStringLiteral("status cd length track ") + QString::number(track));
}

void CDAudio::GetCDPosition(qint16& track, qint16& minutes, qint16& seconds)
{
    const QString reply = query(QStringLiteral("status cd position"));
    track = toInt16(timeField(reply, 0));
    minutes = toInt16(timeField(reply, 1));
    seconds = toInt16(timeField(reply, 2));
}

qint16 CDAudio::CheckIfPlaying()
{
    return query(QStringLiteral("status cd mode")).left(7) == QLatin1String("playing") ? 1 : 0;
}

void CDAudio::SeekCDtoX(qint16 track)
{
    StopPlay();
    SetTrack(track);
    StartPlay();
}

void CDAudio::ReadyDevice()
{
    UnloadAll();
    SetCDPlayerReady();
    SetFormat_tmsf();
}

void CDAudio::moveBy(qint32 milliseconds)
{
    SetFormat_milliseconds();
    const double position = leadingNumber(query(QStringLiteral("status cd position wait"), 40));
    CheckIfPlaying();
    const bool playing = CheckIfPlaying() == 1;
    const QString target = QString::number(qint64(position) + milliseconds);
    send((playing ? QStringLiteral("play cd from ") : QStringLiteral("seek cd to ")) + target);
    SetFormat_tmsf();
}

void CDAudio::FastForward(qint16 milliseconds)
{
    moveBy(milliseconds);
}

void CDAudio::ReWind(qint16 milliseconds)
{
    moveBy(-milliseconds);
}

double trackLengthSeconds(const QString& reply)
{
    return std::fabs(timeField(reply, 0) * 60 + timeField(reply, 1));
}

bool replyHasLength(const QString& reply)
{
    return std::any_of(reply.begin(), reply.end(), [](QChar c) { return c >= u'1' && c <= u'9'; });
}

void CDAudio::UseDisc(const QString& disc)
{
    m_device.chooseDisc(disc);
}

std::optional<SoundSource> CDAudio::TrackSound(qint16 track)
{
    return m_device.trackSound(track);
}
