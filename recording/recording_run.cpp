#include "recording/recording_run.h"

#include "common/failure.h"
#include "common/number_text.h"
#include "discs/cd_entry.h"
#include "player/cd_audio.h"
#include "player/media_player.h"
#include "playlist/playlist.h"
#include "playlist_files/playlist_writer.h"
#include "recording/recording_file.h"
#include "recording/run_rules.h"

#include <algorithm>
#include <cmath>

RecordingRun::RecordingRun(const Playlist& playlist, MediaPlayer& player, CDAudio& cd, QString programDirectory,
                           QObject* parent)
    : QObject(parent)
    , m_playlist(playlist)
    , m_player(player)
    , m_cd(cd)
    , m_programDirectory(std::move(programDirectory))
{
    m_gapTimer.setObjectName(QStringLiteral("Timer1"));
    m_gapTimer.setTimerType(Qt::PreciseTimer);
    m_gapTimer.setInterval(1);
    m_cdWatch.setObjectName(QStringLiteral("Timer3"));
    m_cdWatch.setInterval(300);
    m_mediaWatch.setObjectName(QStringLiteral("Timer4"));
    m_mediaWatch.setInterval(1000);
    for (QTimer* timer : {&m_gapTimer, &m_cdWatch, &m_mediaWatch})
        timer->setParent(this); // so that they are found by name
    m_cdStartPoll.setInterval(20);
    connect(&m_gapTimer, &QTimer::timeout, this, &RecordingRun::startNext);
    connect(&m_cdWatch, &QTimer::timeout, this, &RecordingRun::watchCd);
    connect(&m_mediaWatch, &QTimer::timeout, this, &RecordingRun::watchMedia);
    connect(&m_cdStartPoll, &QTimer::timeout, this, &RecordingRun::checkCdStarted);
    connect(&player, &MediaPlayer::soundTaken, this, &RecordingRun::mediaTaken);
    connect(&player, &MediaPlayer::soundStarted, this, &RecordingRun::mediaStarted);
    connect(&player, &MediaPlayer::breakHeard, this, &RecordingRun::mediaBroke);
    connect(&player, &MediaPlayer::endOfStream, this, &RecordingRun::mediaEnded);
    connect(&player, &MediaPlayer::failed, this, &RecordingRun::mediaFailed);
}

RecordingRun::~RecordingRun()
{
    // The player outlives the run: a run cut short by closing the window must not play on.
    if (m_running)
        m_player.stop();
}

void RecordingRun::start()
{
    if (m_playlist.isEmpty())
        return;
    m_player.stop();
    m_gapTotal = gapTotalOf(m_playlist.table());
    m_running = true;
    m_completedTime = 0;
    m_queued.clear();
    m_breaks.clear();
    resetDevices();
    Q_EMIT started();
    m_gapTimer.setInterval(1);
    m_gapTimer.start();
    m_state = State::Waiting;
    m_currentTrack = 0;
}

void RecordingRun::resetDevices()
{
    m_cd.StopPlay();
    m_cd.UnloadAll();
    m_cd.SetCDPlayerReady();
    m_cd.SetFormat_tmsf();
}

void RecordingRun::startNext()
{
    m_gapTimer.stop();
    m_state = State::Idle;
    if (m_currentTrack >= m_playlist.count())
        return;
    const int number = m_currentTrack + 1;
    std::optional<SoundSource> sound;
    try {
        sound = playerSound(number);
    } catch (const Failure& failure) {
        fail(failure.description());
        return;
    }
    if (sound) {
        if (queue(number, *sound))
            m_state = State::Waiting;
        return;
    }
    m_currentTrack = number;
    m_gapTimer.setInterval(gapInterval(m_playlist.at(number - 1).gap));
    Q_EMIT entryStarted(number);
    startCdTrack(number);
}

// What the player plays for an entry: the media file, or the CD track's sound where
// the CD device reads it; none for a drive that plays the track itself.
std::optional<SoundSource> RecordingRun::playerSound(int number)
{
    const QString& path = m_playlist.at(number - 1).path;
    if (!isCdEntry(path))
        return SoundSource { .path = path };
    const CdEntry entry = readCdEntry(path);
    m_cd.UseDisc(entry.disc);
    return m_cd.TrackSound(qint16(entry.track));
}

qint16 RecordingRun::cdTrackOf(int number) const
{
    return qint16(readCdEntry(m_playlist.at(number - 1).path).track);
}

// Hands an entry to the player, which places its sound the gap of the entry
// before after the sound of the last one, to the sample.
bool RecordingRun::queue(int number, const SoundSource& sound)
{
    double length = 0;
    try {
        const QString& path = m_playlist.at(number - 1).path;
        length = isCdEntry(path) ? toInt16(trackLengthSeconds(m_cd.GetTrackLength(cdTrackOf(number))))
                                 : double(m_playlist.at(number - 1).length);
        m_player.play(sound, number > 1 ? m_playlist.at(number - 2).gap : 0);
    } catch (const Failure& failure) {
        fail(failure.description());
        return false;
    }
    m_queued.push_back({number, length});
    return true;
}

// The player has begun to take the entry handed to it last, seconds before it is
// heard: the next entry waits behind it from now on, so that even a short gap comes
// out exact however late this thread gets round to handing it over.
void RecordingRun::mediaTaken()
{
    if (!m_running || m_queued.empty())
        return;
    const int number = m_queued.back().number + 1;
    if (number > m_playlist.count())
        return;
    std::optional<SoundSource> next;
    try {
        next = playerSound(number);
    } catch (const Failure& failure) {
        fail(failure.description());
        return;
    }
    if (next)
        queue(number, *next);
}

// The entry is shown as playing from the moment it is heard.
void RecordingRun::mediaStarted()
{
    if (m_queued.empty() || m_state != State::Waiting)
        return;
    const Queued entry = m_queued.front();
    m_queued.pop_front();
    const int number = entry.number;
    m_currentTrack = number;
    m_gapTimer.setInterval(gapInterval(m_playlist.at(number - 1).gap));
    m_trackLength = entry.length;
    Q_EMIT entryStarted(number);
    m_cdThroughPlayer = isCdEntry(m_playlist.at(number - 1).path);
    if (m_cdThroughPlayer) {
        m_cdWatch.start();
        m_state = State::PlayingCd;
    } else {
        m_mediaWatch.start();
        m_state = State::PlayingMedia;
    }
}

// The deck hears the break as the end of a track: the user is told where, after the run.
void RecordingRun::mediaBroke(double position)
{
    if (playingThroughPlayer())
        m_breaks.push_back({m_currentTrack, position});
}

void RecordingRun::tellBreaks()
{
    if (!m_breaks.empty())
        Q_EMIT warning(brokenTracksMessage(std::exchange(m_breaks, {})));
}

bool RecordingRun::playingThroughPlayer() const
{
    return m_state == State::PlayingMedia || (m_state == State::PlayingCd && m_cdThroughPlayer);
}

void RecordingRun::startCdTrack(int number)
{
    m_cdThroughPlayer = false;
    try {
        m_cdTrack = cdTrackOf(number);
        const QString length = m_cd.GetTrackLength(qint16(m_cdTrack));
        // No length: no disc, or no such track on it. Waiting for it to play would be in vain.
        if (!std::any_of(length.begin(), length.end(), [](QChar c) { return c >= u'1' && c <= u'9'; }))
            throw Failure(m_playlist.at(number - 1).path + QStringLiteral(" cannot be played: the CD drive has no such track."));
        m_trackLength = toInt16(trackLengthSeconds(length));
        m_cd.SeekCDtoX(qint16(m_cdTrack));
    } catch (const Failure& failure) {
        fail(failure.description());
        return;
    }
    // The window answers while the drive spins up; a drive that never starts
    // (no disc, no such track) ends the run.
    m_state = State::StartingCd;
    m_cdWaited.start();
    m_cdStartPoll.start();
    checkCdStarted();
}

void RecordingRun::checkCdStarted()
{
    if (m_cd.CheckIfPlaying() == 1) {
        m_cdStartPoll.stop();
        m_cdWatch.start();
        m_state = State::PlayingCd;
    } else if (m_cdWaited.elapsed() >= cdStartLimitMs) {
        m_cdStartPoll.stop();
        fail(QStringLiteral("The CD drive did not start playing track ") + QString::number(m_cdTrack)
             + QStringLiteral("."));
    }
}

void RecordingRun::fail(const QString& description)
{
    Q_EMIT warning(description);
    m_breaks.clear(); // a run that fails has spoiled the recording anyway
    stop();
}

void RecordingRun::showProgress(const std::function<double()>& position, CountdownRounding rounding, bool fromMedia)
{
    RunFigures figures;
    figures.trackLength = m_trackLength;
    figures.completedTime = m_completedTime;
    figures.gapTotal = m_gapTotal;
    figures.playlistTotal = m_playlist.total();
    Q_EMIT progressChanged(progressDisplay(position, figures, rounding), fromMedia);
}

void RecordingRun::watchCd()
{
    // A track heard through the player ends with its last sample, told by the player.
    if (m_cdThroughPlayer) {
        showProgress([this] { return std::floor(m_player.currentPosition()); }, CountdownRounding::HalfToEven, false);
        return;
    }
    showProgress([this] { return double(m_cd.GetCurrentTime()); }, CountdownRounding::HalfToEven, false);
    const qint16 driveTrack = m_cd.GetCurrentTrack();
    const qint16 driveSeconds = m_cd.GetCurrentTime();
    if (!cdTrackHasEnded(m_cdTrack, m_trackLength, driveTrack, driveSeconds))
        return;
    m_cd.StopPlay();
    m_completedTime += m_trackLength;
    m_cdWatch.stop();
    trackEnded();
}

void RecordingRun::watchMedia()
{
    showProgress([this] { return m_player.currentPosition(); }, CountdownRounding::TowardZero, true);
}

void RecordingRun::mediaEnded()
{
    // The player may report an end after the run was stopped.
    if (!playingThroughPlayer())
        return;
    m_completedTime += m_trackLength;
    m_mediaWatch.stop();
    m_cdWatch.stop();
    trackEnded();
}

// A media file that cannot be played, or breaks off, ends the run: a broken
// track on the recording is no success.
void RecordingRun::mediaFailed(const QString& description)
{
    if (m_state == State::Waiting || playingThroughPlayer())
        fail(description);
}

void RecordingRun::trackEnded()
{
    const int lastIndex = m_playlist.lastIndex();
    if (m_currentTrack - 1 < lastIndex) {
        m_state = State::Waiting;
        if (!m_queued.empty())
            return; // the player starts it the gap after this one's sound
        // A media file after a track the drive played is woken early enough for the player to place it exactly.
        double gap = m_playlist.at(m_currentTrack - 1).gap;
        if (!isCdEntry(m_playlist.at(m_currentTrack).path))
            gap -= m_player.startLeadMs();
        m_gapTimer.setInterval(gapInterval(gap));
        m_gapTimer.start();
    } else if (m_currentTrack - 1 == lastIndex) {
        endOfRun();
    } else {
        m_state = State::Idle;
    }
}

void RecordingRun::endOfRun()
{
    const WhenDoneChoices choices = m_whenDone;
    bool saved = true;
    if (choices.save == BoxState::Ticked) {
        try {
            const RecordingSave save = saveNextRecordingPlaylist(m_programDirectory, choices.format, m_playlist.table());
            if (!save.skipped.isEmpty())
                Q_EMIT warning(skippedEntriesMessage(save.skipped));
        } catch (const Failure& failure) {
            saved = false;
            Q_EMIT warning(failure.description());
        }
    }
    m_state = State::Idle;
    m_running = false;
    m_mediaWatch.stop();
    m_player.stop(); // the last file is heard; let the sound output go
    tellBreaks();
    Q_EMIT ended();
    // Leaving now would lose the playlist that could not be saved.
    if (saved && choices.exit == BoxState::Ticked)
        Q_EMIT quitRequested(choices.shutdown == BoxState::Ticked);
}

void RecordingRun::stop()
{
    m_queued.clear();
    m_cdStartPoll.stop();
    m_gapTimer.stop();
    m_cdWatch.stop();
    resetDevices();
    m_player.stop();
    m_running = false;
    m_mediaWatch.stop();
    m_state = State::Idle;
    tellBreaks();
    Q_EMIT ended();
}
