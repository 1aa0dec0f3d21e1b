#include "session/session.h"

#include "common/failure.h"
#include "discs/discs.h"
#include "disc_lookup/disc_lookup.h"
#include "disc_lookup/disc_title_cache.h"
#include "disc_lookup/online_disc_titles.h"
#include "listening/cable_checker.h"
#include "listening/received_wav.h"
#include "listening/run_listening.h"
#include "medium/recorder_file.h"
#include "medium/side_plan_text.h"
#include "medium/sides_file.h"
#include "medium/track_list_text.h"
#include "recording/keep_awake.h"
#include "recording/recording_run.h"
#include "scan/list_findings.h"
#include "scan/list_gains.h"
#include "scan/scan_cache.h"
#include "scan/scan_tracks.h"
#include "session/run_output.h"

#include <QDateTime>
#include <QDir>

Session::Session(const SessionServices& services, QObject* parent)
    : QObject(parent)
    , m_services(services)
    , m_recorder(readRecorderFile(programFile(kRecorderFileName)))
    , m_sides(readSidesFile(programFile(kSidesFileName)))
    , m_trackListChoice(readTrackListFile(programFile(kTrackListFileName)))
    , m_outputChoice(readOutputFile(programFile(kOutputFileName)))
    , m_startingWhenDone(readSettingsFile(programFile(kSettingsFileName)))
{
    setUpTitles();
    m_run = new RecordingRun(m_playlist, services.mediaPlayer, services.discs, services.programDirectory, this);
    // Held through a cassette's hold too: the computer must not sleep while the user turns it over.
    connect(m_run, &RecordingRun::started, this, [this] { m_services.keepAwake.hold(); });
    connect(m_run, &RecordingRun::ended, this, [this] { m_services.keepAwake.release(); });

    m_output = new RunOutput(services.soundOutputs, services.otherSounds, services.mediaPlayer, this);
    m_output->setChoice(m_outputChoice);
    connect(m_run, &RecordingRun::started, m_output, &RunOutput::runStarted);
    connect(m_run, &RecordingRun::ended, m_output, &RunOutput::runEnded);
    connect(m_output, &RunOutput::lostDuringRun, m_run, &RecordingRun::fail);

    m_findings = new ListFindings(services.sampleReader, QDir(services.dataDirectory).filePath(kScanCacheFileName),
                                  this);
    m_findings->setRule(m_recorder.silence);
    // Every change of the list ends in a new total, once for a whole add or load.
    connect(&m_playlist, &Playlist::totalChanged, this, &Session::followList);
    connect(m_onlineTitles, &OnlineDiscTitles::titlesArrived, this, &Session::followList);

    // Every entry plays at the loudness chosen, as far as its tags and the scan tell it.
    m_gains = new ListGains(m_playlist, *m_findings, this);
    m_gains->setSettings(m_outputChoice.gain);
    m_run->setGainSource(m_gains);

    m_cableChecker = new CableChecker(services.cableProbe, this);
    setUpListening();
}

Session::~Session() = default;

QString Session::programFile(const QString& name) const
{
    return QDir(m_services.programDirectory).filePath(name);
}

// A CD's tracks are looked up as they go on the list, so their titles are there when shown.
void Session::setUpTitles()
{
    m_discLookup = new DiscLookup(this);
    m_discLookup->setBaseAddress(m_services.discLookupAddress);
    m_onlineTitles = new OnlineDiscTitles(m_services.discs, *m_discLookup, programFile(kDiscTitleCacheFileName), this);
    connect(&m_playlist, &Playlist::entryAppended, m_onlineTitles,
            [this](int index) { m_onlineTitles->titleOf(m_playlist.at(index).path); });
    // A sheet's titles first; a disc in the drive may name its tracks in its CD-Text,
    // else MusicBrainz may know them.
    m_titleLookup = [this](const QString& path) {
        QString title = m_cueTitles.titleOf(path);
        if (title.isEmpty())
            title = discTextTitleOf(m_services.discs, path);
        return title.isEmpty() ? m_onlineTitles->titleOf(path) : title;
    };
    m_albumLookup = [this](const QString& path) {
        QString album = m_cueTitles.albumOf(path);
        if (album.isEmpty())
            album = discTextAlbumOf(m_services.discs, path);
        return album.isEmpty() ? m_onlineTitles->albumOf(path) : album;
    };
}

// What the recorder received during a run, heard on the input chosen when it started.
void Session::setUpListening()
{
    m_listening = new RunListening(m_services.inputListener, this);
    connect(m_run, &RecordingRun::started, m_listening, [this] {
        const OutputChoice& choice = m_outputChoice;
        if (choice.listenName.isEmpty())
            return;
        Q_EMIT listeningStarted(choice.listenDescription.isEmpty() ? choice.listenName : choice.listenDescription);
        QString wavPath;
        if (choice.keepReceivedSound) {
            const QString folder = m_playlist.folder().isEmpty() ? m_services.programDirectory : m_playlist.folder();
            wavPath = receivedWavPath(folder, m_playlist.name(), QDateTime::currentDateTime());
        }
        m_listening->start(choice.listenName, wavPath);
    });
    connect(m_run, &RecordingRun::ended, m_listening, [this] {
        const PlaylistTable& table = m_playlist.table();
        const QStringList names = entryTitles(table, m_titleLookup, {});
        std::vector<SentEntry> sent;
        for (size_t index = 0; index < table.size(); ++index)
            sent.push_back({names[qsizetype(index)], double(table[index].length), table[index].gap / 1000.0});
        m_listening->finish(sent, m_recorder.silence);
    });
}

void Session::followList()
{
    try {
        m_findings->setTracks(scanTracksOf(m_playlist.table(), m_services.discs, m_titleLookup));
    } catch (const Failure& failure) {
        Q_EMIT findingsFailed(failure.description());
    }
}

// The choice holds until the program ends; only the next start misses it, and the
// user is told so once, not at every change of a figure.
void Session::writeOrTell(const QString& fileName, const std::function<void()>& write)
{
    try {
        write();
        m_toldNotSaved.remove(fileName);
    } catch (const Failure& failure) {
        if (m_toldNotSaved.contains(fileName))
            return;
        m_toldNotSaved.insert(fileName);
        Q_EMIT settingsNotSaved(QStringLiteral("%1 could not be saved: %2. The next start will not have these settings.")
                                    .arg(QDir::toNativeSeparators(programFile(fileName)), failure.description()));
    }
}

void Session::setRecorder(const RecorderKind& recorder)
{
    m_recorder = recorder;
    writeOrTell(kRecorderFileName, [&] { writeRecorderFile(programFile(kRecorderFileName), recorder); });
    m_findings->setRule(recorder.silence);
    Q_EMIT recorderChanged(recorder);
}

void Session::setSideSettings(const SideSettings& sides)
{
    m_sides = sides;
    writeOrTell(kSidesFileName, [&] { writeSidesFile(programFile(kSidesFileName), sides); });
}

void Session::setTrackListChoice(const TrackListChoice& choice)
{
    m_trackListChoice = choice;
    writeOrTell(kTrackListFileName, [&] { writeTrackListFile(programFile(kTrackListFileName), choice); });
}

void Session::setOutputChoice(const OutputChoice& choice)
{
    m_outputChoice = choice;
    writeOrTell(kOutputFileName, [&] { writeOutputFile(programFile(kOutputFileName), choice); });
    m_output->setChoice(choice);
    m_gains->setSettings(choice.gain);
    Q_EMIT outputChoiceChanged(choice);
}

void Session::setWhenDone(const WhenDoneChoices& choices)
{
    m_whenDone = choices;
    m_run->setWhenDone(choices);
}

void Session::saveWhenDone()
{
    writeOrTell(kSettingsFileName, [&] { writeSettingsFile(programFile(kSettingsFileName), m_whenDone); });
}

SidePlan Session::sidePlan() const
{
    return planSides(m_playlist.table(), m_recorder, m_sides, m_outputChoice.leadInSeconds);
}

std::optional<QString> Session::refusal() const
{
    if (std::optional<QString> refusal = m_output->refusal())
        return refusal;
    if (m_cableChecker->checking())
        return QStringLiteral("The cable check is playing to the output: start the recording when it is done.");
    return std::nullopt;
}

QString Session::recordAnywayQuestion() const
{
    return ::recordAnywayQuestion(m_playlist.table(), m_recorder, m_sides, m_outputChoice.leadInSeconds);
}

void Session::startRun()
{
    m_run->setLeadIn(m_outputChoice.leadInSeconds);
    // A cassette's run holds for the flip where side B begins.
    const SidePlan plan = sidePlan();
    m_run->setSideBreak(plan.sides.size() > 1 ? plan.sides[1].first : -1);
    m_run->start();
}

void Session::close()
{
    // A run or passage cut short by the close must not leave other programs muted.
    m_output->letOthersBack();
    m_services.keepAwake.release();
    saveWhenDone();
}
