#include "end_to_end.h"
#include "support/heard_sound.h"
#include "support/itunes_gapless.h"
#include "support/pulse_null_sink.h"
#include "support/sounding_run.h"

#include "common/check_box.h"
#include "recording/recording_run.h"

#include <QScopeGuard>
#include <QSignalSpy>

namespace {

struct Tone { double seconds, gapMs; int frequency = 440, rate = 44100, channels = 1; };

class RecordingEndToEnd : public EndToEndTest {
protected:
    // Plays the tones as a run through the real player into the null sink and finds
    // in the recording one stretch of sound per entry, each of its length, and between
    // them silences of the entries' gaps, never shorter nor longer by more than lateMs
    // (the last entry's gap is never waited); entries with no gap between them sound
    // as one stretch of their summed length.
    void expectHeardAsPlayed(const std::vector<Tone>& tones, double lateMs = 1)
    {
        SoundingRun run;
        std::vector<double> lengths, silences;
        for (size_t i = 0; i < tones.size(); ++i) {
            const Tone& t = tones[i];
            const QString path = media.tone(QStringLiteral("run%1-track%2.wav").arg(++m_runs).arg(i + 1), t.seconds,
                                            t.frequency, 0.5, t.rate, t.channels);
            ASSERT_FALSE(path.isEmpty()) << "sox could not make track " << i + 1;
            run.add(path, t.seconds, t.gapMs);
            if (i > 0 && tones[i - 1].gapMs == 0)
                lengths.back() += t.seconds;
            else
                lengths.push_back(t.seconds);
            if (t.gapMs > 0)
                silences.push_back(t.gapMs);
        }
        const QString recording = recorded(run);
        ASSERT_FALSE(recording.isEmpty()) << "no recording, or the run did not end";
        expectHeard(recording, lengths, silences, lateMs);
    }

private:
    int m_runs = 0;
};

// Every sample and the whole gap are heard. The files differ in rate and channels, as
// a real playlist's do. A machine too busy to start the next file in time lengthens
// a gap; bench/gap_bench measures that.
TEST_F(RecordingEndToEnd, recordingHearsEachTrackWithItsGapAfterIt)
{
    expectHeardAsPlayed({{1.0, 0, 440, 44100, 2}, {1.2, 50, 660, 48000, 1}, {1.0, 250, 550, 22050, 2},
                         {1.4, 800, 440, 44100, 2}, {1.2, 3000, 660, 44100, 1}}, 100);
}

// A sound server's stream plays nothing until its buffer is full, while its clock
// runs on: a run shorter than that buffer must still be heard whole, not only told
// as played.
TEST_F(RecordingEndToEnd, aRunShorterThanTheOutputHoldsIsHeardWhole)
{
    expectHeardAsPlayed({{0.5, 0}});
    expectHeardAsPlayed({{0.3, 0}, {0.3, 0}, {0.3, 0}});
}

// Today's types through the same player: a lossless track is heard to its last sample,
// and a lossy one at the length its file declares, without the encoder's silence
// before and after the music (LAME's and ffmpeg's MP3 headers, Opus's pre-skip,
// Vorbis's last granule, iTunes's comment in AAC in M4A, and the edit list in M4A that
// skips the priming, whose track GStreamer 1.22's qtdemux alone would end up to a packet
// early). ADTS AAC declares nothing.
TEST_F(RecordingEndToEnd, recordingHearsTodaysTypesWholeWithNoAddedSilence)
{
    const struct { const char* name; QString program; QStringList options; double tolerance; } types[] = {
        {"flac", "ffmpeg", {"-c:a", "flac"}, 0.0001}, {"wv", "ffmpeg", {"-c:a", "wavpack"}, 0.0001},
        {"alac.m4a", "ffmpeg", {"-c:a", "alac"}, 0.0001}, {"mka", "ffmpeg", {"-c:a", "flac"}, 0.0001},
        {"opus", "ffmpeg", {"-c:a", "libopus"}, 0.001}, {"ogg", "ffmpeg", {"-c:a", "libvorbis"}, 0.001},
        {"lame.mp3", "lame", {"--quiet"}, 0.001}, {"ffmpeg.mp3", "ffmpeg", {"-c:a", "libmp3lame"}, 0.001},
        {"itunes.m4a", "ffmpeg", {"-c:a", "aac", "-use_editlist", "0"}, 0.001},
        {"edited.m4a", "ffmpeg", {"-c:a", "aac"}, 0.001},
    };
    constexpr double kSeconds = 1.0;
    const QString wav = media.tone(QStringLiteral("source.wav"), kSeconds, 440);
    ASSERT_FALSE(wav.isEmpty());
    SoundingRun run;
    for (const auto& type : types) {
        const QString name = QStringLiteral("track.") + type.name;
        const QStringList arguments = type.program == "lame" ? type.options + QStringList{wav, name}
            : QStringList{"-v", "quiet", "-i", wav} + type.options + QStringList{name};
        const QString path = media.make(type.program, arguments, name);
        ASSERT_FALSE(path.isEmpty()) << "could not make " << type.name;
        // ffmpeg's AAC encoder primes with 1024 frames and pads to whole packets of 1024.
        const qint64 music = qint64(kSeconds * 44100);
        ASSERT_TRUE(!name.endsWith(QLatin1String("itunes.m4a")) || writeItunesGapless(path, 1024, 1024 - music % 1024, music));
        run.add(path, kSeconds, 300);
    }

    const QString recording = recorded(run);
    ASSERT_FALSE(recording.isEmpty());
    // Encoder silence (16 ms and more) would lengthen a gap.
    const std::vector<SoundStretch> sounds = expectHeard(recording, std::vector(std::size(types), kSeconds),
                                                         std::vector(std::size(types), 300.0), 5, 0.001);
    for (size_t i = 0; i < sounds.size() && i < std::size(types); ++i) {
        std::printf("%s: heard %.3f ms of %.0f ms\n", types[i].name, sounds[i].length() * 1000, kSeconds * 1000);
        EXPECT_NEAR(sounds[i].length(), kSeconds, types[i].tolerance) << types[i].name;
    }
}

// A file cut short is no track: losing the sound output mid-track stops the run
// with the output's own message, and no when-done action takes it for a success.
TEST_F(RecordingEndToEnd, soundOutputLostMidTrackStopsTheRunWithAMessage)
{
    SoundingRun run;
    const QString path = media.tone(QStringLiteral("long.wav"), 4, 440);
    ASSERT_FALSE(path.isEmpty());
    run.add(path, 4, 0);
    run.add(path, 4, 0);
    run.window.ui.saveWhenDoneBox->setValue(BoxState::Ticked);
    QTimer::singleShot(1500, [&] { sink.stopServer(); });
    run.play(20000);
    EXPECT_FALSE(run.window.busyState().recording());
    const QStringList told = run.dialogs.takeWarnings();
    EXPECT_TRUE(told.size() == 1 && !told[0].isEmpty()) << told.join(u'|').toStdString();
    EXPECT_TRUE(QDir(run.programDir.path()).entryList({QStringLiteral("Recording*")}).isEmpty());
}

// A computer that leaves the program no time for longer than the sink holds sound
// ahead: the deck hears a break, and the run, once over, names the track and the
// second of it where the recording has the break.
TEST_F(RecordingEndToEnd, aBreakInTheSoundIsToldWithTheTrackAndWhereItIs)
{
    const QString path = media.tone(QStringLiteral("long.wav"), 8, 440);
    ASSERT_FALSE(path.isEmpty());
    SoundingRun run;
    run.add(path, 8, 0);
    // Two seconds into the sound the program is stopped for three.
    const QString stopper = QStringLiteral("kill -STOP %1; sleep 3; kill -CONT %1").arg(QCoreApplication::applicationPid());
    QObject::connect(run.player.get(), &MediaPlayer::soundStarted, [&] {
        QTimer::singleShot(2000, [&] { QProcess::startDetached(QStringLiteral("sh"), {QStringLiteral("-c"), stopper}); });
    });
    const QString recording = media.path(QStringLiteral("deck.wav"));
    ASSERT_TRUE(run.recordRun(sink, recording)) << "no recording, or the run did not end";

    ASSERT_EQ(run.dialogs.messages.size(), 1u);
    const QString text = run.dialogs.messages.front().text;
    const QRegularExpressionMatch told = QRegularExpression(QStringLiteral("^Track 1 broke off at (\\d\\d):(\\d\\d)\\.\\n")).match(text);
    ASSERT_TRUE(told.hasMatch()) << text.toStdString();
    const int second = told.captured(1).toInt() * 60 + told.captured(2).toInt();
    const std::vector<SoundStretch> sounds = soundStretches(recording, 0.02);
    ASSERT_GE(sounds.size(), 2u) << "the recording has no break";
    const double brokeAt = sounds[0].length();
    std::printf("told: broke off at %d s; heard: at %.3f s\n", second, brokeAt);
    // The piece on its way to the sink when the program stopped came too late as well.
    EXPECT_GE(brokeAt, second - 0.1);
    EXPECT_LT(brokeAt, second + 1.05);
}

// With no sound output at all a run would play into nothing and look like a
// recording: the player refuses to play, and the run ends at once with the reason
// and never counts down.
TEST(RecordingWithoutOutput, noSoundOutputEndsTheRunWithTheReasonBeforeItCountsDown)
{
    GeneratedMedia media;
    const QString path = media.tone(QStringLiteral("tone.wav"), 2, 440);
    const QString noDevices = media.write(QStringLiteral("asound.conf"), {});
    ASSERT_FALSE(path.isEmpty() || noDevices.isEmpty());
    // No sound server, no ALSA device and no JACK server, whatever this computer has.
    const std::pair<const char*, QByteArray> nothing[] = {
        {"PULSE_SERVER", "unix:" + QFile::encodeName(media.path(QStringLiteral("no-server")))},
        {"ALSA_CONFIG_PATH", QFile::encodeName(noDevices)}, {"JACK_NO_START_SERVER", "1"}};
    std::vector<std::optional<QByteArray>> saved;
    for (const auto& [name, value] : nothing) {
        saved.push_back(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qputenv(name, value);
    }
    const auto restore = qScopeGuard([&] {
        for (size_t i = 0; i < saved.size(); ++i)
            saved[i] ? qputenv(nothing[i].first, *saved[i]) : qunsetenv(nothing[i].first);
    });
    SoundingRun run;
    run.add(path, 2, 0);
    QSignalSpy entries(&run.window.recordingRun(), &RecordingRun::entryStarted);
    QSignalSpy progress(&run.window.recordingRun(), &RecordingRun::progressChanged);
    run.play(10000);
    EXPECT_FALSE(run.window.busyState().recording());
    EXPECT_TRUE(entries.isEmpty() && progress.isEmpty());
    const QStringList told = run.dialogs.takeWarnings();
    ASSERT_EQ(told.size(), 1);
    const QStringList lines = told[0].split(u'\n');
    EXPECT_EQ(lines.front(), "There is no sound output to play through.");
    EXPECT_TRUE(lines.size() > 1 && !lines[1].isEmpty()) << "no reason given"; // the sound server's, here
}

} // namespace
