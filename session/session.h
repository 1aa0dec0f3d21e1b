#pragma once

#include "common/title_lookup.h"
#include "discs/cue_titles.h"
#include "medium/output_choice.h"
#include "medium/recorder_kind.h"
#include "medium/side_plan.h"
#include "medium/track_list_choice.h"
#include "playlist/playlist.h"
#include "recording/when_done.h"
#include "session/settings_file.h"

#include <QObject>
#include <QSet>
#include <functional>
#include <optional>

class CableChecker;
class CableProbe;
class DiscLookup;
class Discs;
class InputListener;
class KeepAwake;
class ListFindings;
class ListGains;
class MediaPlayer;
class OnlineDiscTitles;
class OtherSounds;
class RecordingRun;
class RunListening;
class RunOutput;
class SampleReader;
class SoundOutputs;

// What a session works with, from outside: the real things in the program, fakes and
// temporary folders in tests.
struct SessionServices {
    Discs& discs;
    MediaPlayer& mediaPlayer;
    SampleReader& sampleReader;
    SoundOutputs& soundOutputs;
    OtherSounds& otherSounds;
    CableProbe& cableProbe;
    InputListener& inputListener;
    KeepAwake& keepAwake;
    QString programDirectory; // the settings files
    QString dataDirectory;    // the scan cache
    QString discLookupAddress;
};

// Everything a recording session holds, with no window: the playlist, the run, the
// titles, what the scan found, the gains, the output and the listening, and the
// choices kept in the settings files, read at the start and written as they change.
// The windows show it and hand it the user's choices; what the scan found follows
// the list whether a window shows it or not.
class Session : public QObject {
    Q_OBJECT
public:
    explicit Session(const SessionServices& services, QObject* parent = nullptr);
    ~Session() override;

    Playlist& playlist() { return m_playlist; }
    RecordingRun& run() { return *m_run; }
    ListFindings& findings() { return *m_findings; }
    ListGains& gains() { return *m_gains; }
    RunOutput& output() { return *m_output; }
    CableChecker& cableChecker() { return *m_cableChecker; }
    RunListening& listening() { return *m_listening; }
    OnlineDiscTitles& onlineTitles() { return *m_onlineTitles; }
    // A sheet's titles first, then the disc's own text, then those found online.
    const TitleLookup& titleLookup() const { return m_titleLookup; }
    const AlbumLookup& albumLookup() const { return m_albumLookup; }

    const RecorderKind& recorder() const { return m_recorder; }
    void setRecorder(const RecorderKind& recorder);
    const SideSettings& sideSettings() const { return m_sides; }
    void setSideSettings(const SideSettings& sides);
    const TrackListChoice& trackListChoice() const { return m_trackListChoice; }
    void setTrackListChoice(const TrackListChoice& choice);
    const OutputChoice& outputChoice() const { return m_outputChoice; }
    void setOutputChoice(const OutputChoice& choice);
    // The "When done" choices as settings.dat held them at the start.
    const SettingsRead& startingWhenDone() const { return m_startingWhenDone; }
    void setWhenDone(const WhenDoneChoices& choices);
    // Writes the "When done" choices to settings.dat; a failure is not fatal.
    void saveWhenDone();

    // The playlist as it is now on the recorder's sides.
    SidePlan sidePlan() const;
    // Why a run cannot start now, in a sentence to show; nothing when it can.
    std::optional<QString> refusal() const;
    // What to ask before recording a list that does not fit; empty when it fits.
    QString recordAnywayQuestion() const;
    // Starts the run with the chosen lead-in and, on a cassette, the hold for the flip.
    void startRun();
    // The program closes: nothing may stay muted or kept awake, and the choices are kept.
    void close();

Q_SIGNALS:
    void recorderChanged(const RecorderKind& recorder);
    void outputChoiceChanged(const OutputChoice& choice);
    // The list's tracks could not be handed to the scan; what it found stays that of the
    // list as it was.
    void findingsFailed(const QString& message);
    // Listening began on the input of that description.
    void listeningStarted(const QString& input);
    // A settings file could not be written, in a sentence fit to show; the program goes on.
    void settingsNotSaved(const QString& message);

private:
    QString programFile(const QString& name) const;
    void writeOrTell(const QString& fileName, const std::function<void()>& write);
    void setUpTitles();
    void setUpListening();
    void followList();

    SessionServices m_services;
    Playlist m_playlist;
    CueTitles m_cueTitles; // read once for the track list and the scan alike
    DiscLookup* m_discLookup;
    OnlineDiscTitles* m_onlineTitles;
    TitleLookup m_titleLookup;
    AlbumLookup m_albumLookup;
    RecordingRun* m_run;
    ListFindings* m_findings;
    ListGains* m_gains;
    RunOutput* m_output;
    CableChecker* m_cableChecker;
    RunListening* m_listening;
    RecorderKind m_recorder;
    SideSettings m_sides;
    TrackListChoice m_trackListChoice;
    OutputChoice m_outputChoice;
    SettingsRead m_startingWhenDone;
    WhenDoneChoices m_whenDone;
    QSet<QString> m_toldNotSaved; // settings files that failed, told once and not written since
};
