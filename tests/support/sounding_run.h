#pragma once

#include "app/main_window.h"
#include "common/busy_state.h"
#include "common/flat_button.h"
#include "discs/system_discs.h"
#include "player/cable_probe.h"
#include "player/input_listener.h"
#include "player/media_player.h"
#include "player/sample_reader.h"
#include "support/fake_dialogs.h"
#include "support/fake_keep_awake.h"
#include "sound_server/other_sounds.h"
#include "sound_server/sound_outputs.h"
#include "support/generated_media.h"
#include "support/pulse_null_sink.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

// A main window on the real player and the real discs (CUE sheets are read; a test
// machine has no drive), so that a recording run is heard through the sound output;
// the dialogs are fakes.
struct SoundingRun {
    QTemporaryDir programDir;
    FakeDialogs dialogs;
    std::unique_ptr<MediaPlayer> player = makeMediaPlayer();
    SystemDiscs discs;
    std::unique_ptr<SampleReader> sampleReader = makeSampleReader();
    std::unique_ptr<SoundOutputs> soundOutputs = makeSoundOutputs(), soundInputs = makeSoundInputs();
    std::unique_ptr<CableProbe> cableProbe = makeCableProbe();
    std::unique_ptr<InputListener> inputListener = makeInputListener();
    std::unique_ptr<OtherSounds> otherSounds = makeOtherSounds(programDir.filePath(QStringLiteral("muted.dat")));
    FakeKeepAwake keepAwake; // the test machine's sleep is not the test's
    MainWindow window { AppServices { dialogs, discs, *player, *sampleReader, *soundOutputs, *soundInputs, *cableProbe, *inputListener, *otherSounds, keepAwake,
                                      programDir.path(), programDir.path(), programDir.path(), {} } };

    SoundingRun() { window.setAttribute(Qt::WA_DeleteOnClose, false); window.setUpColumns(); }

    // The benchmarks' name for GeneratedMedia::tone.
    static QString makeTone(GeneratedMedia& media, const QString& name, double seconds, int frequency)
    {
        return media.tone(name, seconds, frequency);
    }

    void add(const QString& path, double seconds, double gapMs) { window.playlist().append({path, qint64(seconds), gapMs}); }

    // Plays the whole run while the sink's monitor is recorded into recordingPath;
    // false when the recording did not start or the run did not end.
    bool recordRun(PulseNullSink& sink, const QString& recordingPath, int channels = 1, int limitMs = 30000)
    {
        if (!sink.startRecording(recordingPath, channels))
            return false;
        play(limitMs);
        const bool ended = !window.busyState().recording();
        QThread::msleep(300); // the last samples reach the monitor
        sink.stopRecording();
        return ended;
    }

    // Starts the run and lets the event loop go until it is over or limitMs have passed.
    void play(int limitMs)
    {
        window.ui.startRecording->click();
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (!window.busyState().recording())
                loop.quit();
        });
        QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
        check.start(250); // seldom, so that a benchmark counts the program's wake-ups, not its own
        loop.exec();
    }
};
