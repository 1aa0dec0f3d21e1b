#include "recording/recording_run.h"

#include "common/failure.h"
#include "common/number_text.h"
#include "discs/cd_entry.h"
#include "discs/discs.h"
#include "discs/entry_sound.h"
#include "player/media_player.h"
#include "playlist/playlist.h"
#include "playlist_files/playlist_writer.h"
#include "recording/recording_file.h"
#include "recording/run_rules.h"

#include <algorithm>
#include <cmath>

RecordingRun::RecordingRun(const Playlist& playlist, MediaPlayer& player, Discs& discs, QString programDirectory,
                           QObject* parent)
    : QObject(parent)
    , m_playlist(playlist)
    , m_player(player)
    , m_discs(discs)
    , m_programDirectory(std::move(programDirectory))
{
    m_gapTimer.setObjectName(QStringLiteral("Timer1"));
    m_gapTimer.setTimerType(Qt::PreciseTimer);
    m_gapTimer.setInterval(1);
    m_leadInWatch.setInterval(250);
    for (QTimer* timer : {&m_gapTimer, &m_watch, &m_leadInWatch})
        timer->setParent(this); // so that they are found by name
    connect(&m_gapTimer, &QTimer::timeout, this, &RecordingRun::startNext);
    connect(&m_watch, &QTimer::timeout, this, &RecordingRun::watch);
    connect(&m_leadInWatch, &QTimer::timeout, this, &RecordingRun::watchLeadIn);
    connect(&player, &MediaPlayer::soundTaken, this, &RecordingRun::mediaTaken);
    connect(&player, &MediaPlayer::soundStarted, this, &RecordingRun::mediaStarted);
    connect(&player, &MediaPlayer::breakHeard, this, &RecordingRun::mediaBroke);
    connect(&player, &MediaPlayer::endOfStream, this, &RecordingRun::mediaEnded);
    connect(&player, &MediaPlayer::failed, this, &RecordingRun::mediaFailed);
}

RecordingRun::~RecordingRun()
{
    // The player outlives the run: a run cut short by closing the window must not play on.
    if (isRunning())
        m_player.stop();
}

void RecordingRun::start()
{
    if (m_playlist.isEmpty())
        return;
    m_player.stop();
    m_gapTotal = gapTotalOf(m_playlist.table());
    m_state = State::Waiting;
    m_completedTime = 0;
    m_queued.clear();
    m_waitingInPlayer = 0;
    m_breaks.clear();
    m_discs.lookAgain(); // the disc in the drive may have changed since the list was made
    Q_EMIT started();
    m_gapTimer.setInterval(1);
    m_gapTimer.start();
    m_currentTrack = 0;
}

void RecordingRun::startNext()
{
    m_gapTimer.stop();
    if (m_currentTrack >= m_playlist.count())
        return;
    const int number = m_currentTrack + 1;
    EntrySound entry;
    try {
        entry = soundOf(m_playlist.at(number - 1), m_discs);
        if (entry.refusal.isEmpty()) {
            queue(number, entry);
            handAhead();
            return;
        }
    } catch (const Failure& failure) {
        fail(failure.description());
        return;
    }
    // A CD track that cannot be played is shown as its turn comes, and ends the run.
    m_currentTrack = number;
    Q_EMIT entryStarted(number);
    fail(entry.refusal);
}

// The number (from 1) of side B's first entry; 0 for a one-sided run.
int RecordingRun::sideBFirst() const
{
    return m_sideBreak > 0 && m_sideBreak < m_playlist.count() ? m_sideBreak + 1 : 0;
}

// Milliseconds of silence between the sound before an entry and the entry. Side B
// waits until Continue; its lead-in counts from then.
double RecordingRun::silenceBefore(int number) const
{
    if (number == 1)
        return m_leadInSeconds * 1000;
    if (number == sideBFirst())
        return MediaPlayer::kHeld;
    return m_playlist.at(number - 2).gap;
}

// Hands an entry to the player, which places its sound the gap of the entry
// before after the sound of the last one, to the sample.
void RecordingRun::queue(int number, const EntrySound& entry)
{
    m_player.play(entry.sound, silenceBefore(number), m_gains ? m_gains->gainDb(number - 1) : 0);
    m_queued.push_back({number, entry.seconds});
    ++m_waitingInPlayer;
    if (number == 1)
        startLeadIn(number);
}

void RecordingRun::startLeadIn(int number)
{
    if (m_leadInSeconds <= 0)
        return;
    m_leadInTrack = number;
    m_leadInClock.start();
    watchLeadIn();
    m_leadInWatch.start();
}

// The lead-in counts from the play that asks for it: the output's start, or Continue.
void RecordingRun::watchLeadIn()
{
    Q_EMIT leadInLeft(m_leadInTrack, std::max(0.0, m_leadInSeconds - m_leadInClock.elapsed() / 1000.0));
}

// The player has begun to take an entry, seconds before it is heard: one more
// may wait behind those waiting.
void RecordingRun::mediaTaken()
{
    // Side B's first entry is held until Continue: nothing is taken meanwhile.
    if (!isRunning() || m_queued.empty() || m_state == State::Holding)
        return;
    m_waitingInPlayer = std::max(0, m_waitingInPlayer - 1);
    handAhead();
}

// Keeps as many entries as the player holds waiting behind the one it plays, each
// opened and decoded ahead: the next is ready long before it is due, even a
// short gap comes out exact, however late this thread gets round to the hand-over.
void RecordingRun::handAhead()
{
    while (m_waitingInPlayer < MediaPlayer::kFilesWaiting) {
        const int number = m_queued.back().number + 1;
        // Side B waits for the cassette to be turned over.
        if (number > m_playlist.count() || number == sideBFirst())
            return;
        // An entry that cannot be played says why when its turn comes: what plays
        // before it is recorded whole.
        try {
            const EntrySound next = soundOf(m_playlist.at(number - 1), m_discs);
            if (!next.refusal.isEmpty())
                return;
            queue(number, next);
        } catch (const Failure&) {
            return;
        }
    }
}

// The entry is shown as playing from the moment it is heard.
void RecordingRun::mediaStarted()
{
    if (m_queued.empty() || m_state != State::Waiting)
        return;
    const Queued entry = m_queued.front();
    m_queued.pop_front();
    const int number = entry.number;
    m_leadInWatch.stop();
    m_currentTrack = number;
    m_gapTimer.setInterval(gapInterval(m_playlist.at(number - 1).gap));
    m_trackLength = entry.length;
    Q_EMIT entryStarted(number);
    m_state = State::Playing;
    startWatch(isCdEntry(m_playlist.at(number - 1).path));
}

// The deck hears the break as the end of a track: the user is told where, after the run.
void RecordingRun::mediaBroke(double position)
{
    if (m_state == State::Playing)
        m_breaks.push_back({m_currentTrack, position});
}

void RecordingRun::tellBreaks()
{
    if (!m_breaks.empty())
        Q_EMIT warning(brokenTracksMessage(std::exchange(m_breaks, {})));
}

// Silent first: the message may wait long on the user, and sound left playing
// meanwhile may go where it must not be heard.
void RecordingRun::fail(const QString& description)
{
    m_breaks.clear(); // a run that fails has spoiled the recording anyway
    stop();
    Q_EMIT warning(description);
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

void RecordingRun::startWatch(bool cdTrack)
{
    m_watchingCd = cdTrack;
    m_watch.setObjectName(cdTrack ? QStringLiteral("Timer3") : QStringLiteral("Timer4"));
    m_watch.setInterval(cdTrack ? 300 : 1000);
    m_watch.start();
}

// A CD track counts down in whole seconds, as a drive tells them; its end is the player's to tell.
void RecordingRun::watch()
{
    if (m_watchingCd)
        showProgress([this] { return std::floor(m_player.currentPosition()); }, CountdownRounding::HalfToEven, false);
    else
        showProgress([this] { return m_player.currentPosition(); }, CountdownRounding::TowardZero, true);
}

void RecordingRun::mediaEnded()
{
    // The player may report an end after the run was stopped.
    if (m_state != State::Playing)
        return;
    m_completedTime += m_trackLength;
    m_watch.stop();
    trackEnded();
}

// A media file that cannot be played, or breaks off, ends the run: a broken
// track on the recording is no success.
void RecordingRun::mediaFailed(const QString& description)
{
    if (isRunning())
        fail(description);
}

void RecordingRun::trackEnded()
{
    const int lastIndex = m_playlist.lastIndex();
    if (m_currentTrack + 1 == sideBFirst()) {
        hold();
    } else if (m_currentTrack - 1 < lastIndex) {
        m_state = State::Waiting;
        if (!m_queued.empty())
            return; // the player starts it the gap after this one's sound
        // Only a CD track that cannot be played is left for its turn, to say why then.
        m_gapTimer.setInterval(gapInterval(m_playlist.at(m_currentTrack - 1).gap));
        m_gapTimer.start();
    } else if (m_currentTrack - 1 == lastIndex) {
        endOfRun();
    } else {
        m_state = State::Waiting; // the list lost its later entries meanwhile: nothing more plays until Stop
    }
}

// The output keeps sending silence meanwhile. Side B's first entry is handed over
// now, held, so that it is opened and decoded while the cassette is turned over.
void RecordingRun::hold()
{
    m_state = State::Holding;
    Q_EMIT holdStarted();
    try {
        const EntrySound first = soundOf(m_playlist.at(sideBFirst() - 1), m_discs);
        if (first.refusal.isEmpty()) // else it says why after Continue
            queue(sideBFirst(), first);
    } catch (const Failure& failure) {
        fail(failure.description());
    }
}

void RecordingRun::continueRun()
{
    if (m_state != State::Holding)
        return;
    m_state = State::Waiting;
    Q_EMIT holdEnded();
    if (m_queued.empty())
        startNext();
    if (!isRunning() || m_queued.empty())
        return;
    m_player.resume(m_leadInSeconds * 1000);
    startLeadIn(sideBFirst());
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
    m_watch.stop();
    m_player.stop(); // the last file is heard; let the sound output go
    tellBreaks();
    Q_EMIT ended();
    // Leaving now would lose the playlist that could not be saved.
    if (saved && choices.exit == BoxState::Ticked)
        Q_EMIT quitRequested(choices.shutdown == BoxState::Ticked);
}

void RecordingRun::stop()
{
    const bool held = m_state == State::Holding;
    m_queued.clear();
    m_waitingInPlayer = 0;
    m_leadInWatch.stop();
    m_gapTimer.stop();
    m_watch.stop();
    m_player.stop();
    m_state = State::Idle;
    if (held)
        Q_EMIT holdEnded();
    tellBreaks();
    Q_EMIT ended();
}
