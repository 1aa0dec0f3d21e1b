#include "support/generated_media.h"
#include "support/heard_sound.h"
#include "support/itunes_gapless.h"
#include "support/pulse_null_sink.h"
#include "support/pulse_streams.h"
#include "support/sounding_run.h"
#include "support/window_controls.h"

#include "common/check_box.h"
#include "recorder/recorder_window.h"
#include "recording/recording_run.h"
#include "scan/level_envelope.h"
#include "scan/list_scan.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <map>

namespace {

struct Tone { double seconds, gapMs; int frequency = 440, rate = 44100, channels = 1; };

// A sound server of the test's own, whose null sink "deck" is recorded as a deck
// on the line output would hear it, and a folder for the media and the recordings.
class EndToEnd : public ::testing::Test {
protected:
    PulseNullSink sink; // first: the players made later must find its server
    GeneratedMedia media;

    void SetUp() override { ASSERT_TRUE(sink.ready()) << "no PulseAudio server with a null sink could be started"; }

    // Plays the whole run while the deck is recorded, into a file of its own; the
    // recording, or none when it did not start or the run did not end. A run that
    // ends is expected to have warned of nothing.
    QString recorded(SoundingRun& run, int channels = 1, int limitMs = 30000)
    {
        const QString recording = media.path(QStringLiteral("deck%1.wav").arg(++m_recordings));
        if (!run.recordRun(sink, recording, channels, limitMs))
            return {};
        EXPECT_EQ(run.dialogs.takeWarnings(), QStringList());
        return recording;
    }

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
    int m_recordings = 0;
    int m_runs = 0;
};

// Pieces of tone ("seconds frequency", 0 for silence) joined at CD rate into a file the
// name's extension chooses; raw CD audio, 16-bit little-endian stereo, for another one.
QString cdAudio(GeneratedMedia& media, const QString& name, std::initializer_list<std::pair<double, int>> pieces)
{
    QStringList arguments { "-D" };
    for (const auto& [seconds, frequency] : pieces)
        arguments << QStringLiteral("|sox -n -r 44100 -c 2 -p synth %1 sine %2 vol %3")
                         .arg(seconds).arg(frequency).arg(frequency ? 0.5 : 0);
    arguments << "-b" << "16";
    if (!name.endsWith(".flac"))
        arguments << "-t" << "raw" << "-e" << "signed" << "-L";
    return media.make(QStringLiteral("sox"), arguments << name, name);
}

// The level of a 16-bit WAV recording, as the scan measures a track's.
LevelEnvelope envelopeOfRecording(const QString& path)
{
    const WavSamples wav = readWav(path);
    std::vector<float> samples(size_t(wav.frames() * 2)); // as stereo, whatever the monitor gives
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = float(wav.samples[i / 2 * size_t(wav.channels) + (wav.channels > 1 ? i % 2 : 0)]) / 32768.0f;
    LevelEnvelope envelope;
    appendSamples(envelope, samples.data(), wav.frames());
    return envelope;
}

constexpr const char* kTone = "sine 440 vol 0.5";
constexpr const char* kQuiet = "sine 440 vol 0.001"; // -60 dB

} // namespace

// Every sample and the whole gap are heard. The files differ in rate and channels, as
// a real playlist's do. A machine too busy to start the next file in time lengthens
// a gap; bench/gap_bench measures that.
TEST_F(EndToEnd, recordingHearsEachTrackWithItsGapAfterIt)
{
    expectHeardAsPlayed({{1.0, 0, 440, 44100, 2}, {1.2, 50, 660, 48000, 1}, {1.0, 250, 550, 22050, 2},
                         {1.4, 800, 440, 44100, 2}, {1.2, 3000, 660, 44100, 1}}, 100);
    // A sound server's stream plays nothing until its buffer is full, while its clock
    // runs on: a run shorter than that buffer must still be heard whole.
    expectHeardAsPlayed({{0.5, 0}});
    expectHeardAsPlayed({{0.3, 0}, {0.3, 0}, {0.3, 0}});
}

// Today's types through the same player: a lossless track is heard to its last sample,
// and a lossy one at the length its file declares, without the encoder's silence
// before and after the music (LAME's and ffmpeg's MP3 headers, Opus's pre-skip,
// Vorbis's last granule, iTunes's comment in AAC in M4A, and the edit list in M4A that
// skips the priming, whose track GStreamer 1.22's qtdemux alone would end up to a packet
// early). ADTS AAC declares nothing.
TEST_F(EndToEnd, recordingHearsTodaysTypesWholeWithNoAddedSilence)
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
    for (size_t i = 0; i < sounds.size() && i < std::size(types); ++i)
        EXPECT_NEAR(sounds[i].length(), kSeconds, types[i].tolerance) << types[i].name;
}

// A file cut short is no track: losing the sound output mid-track stops the run
// with the output's own message, and no when-done action takes it for a success.
TEST_F(EndToEnd, soundOutputLostMidTrackStopsTheRunWithAMessage)
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
TEST_F(EndToEnd, aBreakInTheSoundIsToldWithTheTrackAndWhereItIs)
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
    const char* names[] = {"PULSE_SERVER", "ALSA_CONFIG_PATH", "JACK_NO_START_SERVER"};
    const QByteArray values[] = {"unix:" + QFile::encodeName(media.path("no-server")), QFile::encodeName(noDevices), "1"};
    std::optional<QByteArray> saved[3];
    for (int i = 0; i < 3; ++i) {
        saved[i] = qEnvironmentVariableIsSet(names[i]) ? std::optional(qgetenv(names[i])) : std::nullopt;
        qputenv(names[i], values[i]);
    }
    const auto restore = qScopeGuard([&] {
        for (int i = 0; i < 3; ++i)
            saved[i] ? qputenv(names[i], *saved[i]) : qunsetenv(names[i]);
    });
    SoundingRun run;
    run.add(path, 2, 0);
    QSignalSpy progress(&run.window.recordingRun(), &RecordingRun::progressChanged);
    run.play(10000);
    EXPECT_FALSE(run.window.busyState().recording());
    EXPECT_TRUE(progress.isEmpty());
    const QStringList told = run.dialogs.takeWarnings();
    ASSERT_EQ(told.size(), 1);
    // The reason, the sound server's here, on the second line.
    EXPECT_TRUE(told[0].startsWith("There is no sound output to play through.\n") && !told[0].section(u'\n', 1, 1).isEmpty())
        << told[0].toStdString();
}

// A disc image (a BIN with a pregap before its second track) and a single-file FLAC
// rip, put on the list as sheets, played between media files: the recorder hears
// each track whole, nothing of the track after it, and each silence exact.
TEST_F(EndToEnd, imageAndRipTracksAreHeardWholeWithExactSilences)
{
    // Image: track 1 is 1.2 s of tone and 0.4 s of silence (the pregap of track 2),
    // track 2 is 1.0 s. Rip: a 0.8 s track and a 1.4 s one.
    ASSERT_FALSE(cdAudio(media, "disc.bin", { { 1.2, 440 }, { 0.4, 0 }, { 1.0, 660 } }).isEmpty());
    ASSERT_FALSE(cdAudio(media, "rip.flac", { { 0.8, 550 }, { 1.4, 440 } }).isEmpty());
    const QString image = media.write("disc.cue", "FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                                  "  TRACK 02 AUDIO\n    INDEX 00 00:01:15\n    INDEX 01 00:01:45\n");
    const QString rip = media.write("rip.cue", "FILE \"rip.flac\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                               "  TRACK 02 AUDIO\n    INDEX 01 00:00:60\n");
    const QString before = media.tone("before.wav", 1.0, 550);
    const QString after = media.tone("after.wav", 0.6, 660);

    SoundingRun run;
    run.window.addFiles({ before, image, rip, after }); // six entries: the sheets' roads are the adding tests'
    ASSERT_EQ(run.window.playlist().count(), 6);
    const double gaps[] = { 300, 700, 250, 900, 400, 0 };
    for (int row = 0; row < 6; ++row)
        run.window.playlist().setGap(row, gaps[row]);

    const QString recording = recorded(run);
    ASSERT_FALSE(recording.isEmpty()) << "no recording, or the run did not end";
    // The pregap is silence at the end of image track 1: it adds to the silence after it.
    expectHeard(recording, { 1.0, 1.2, 1.0, 0.8, 1.4, 0.6 }, { 300, 400 + 700, 250, 900, 400 });
}

// What the scan predicts is what a deck does: the run is recorded, and the recording
// split by the same rule (below -50 dB for 1.5 s) gives the tracks the scan foretold:
// one more where a track holds a long quiet passage, none where a passage or a gap
// is too short.
TEST_F(EndToEnd, theRecordingSplitsWhereTheScanSaidItWould)
{
    const QString split = media.makeFromPieces("split.flac", { { 1.5, kTone }, { 2, kQuiet }, { 1.5, kTone } });
    const QString whole = media.makeFromPieces("whole.wav", { { 1, kTone }, { 1, kQuiet }, { 1, kTone } });
    const QString last = media.makeFromPieces("last.wav", { { 1, kTone } });
    ASSERT_FALSE(split.isEmpty() || whole.isEmpty() || last.isEmpty());
    const SilenceRule rule { -50, 1.5 };
    const double gaps[] = { 2000, 1000, 0 }; // the second is too short to split at

    const auto reader = makeSampleReader();
    ListScan scan(*reader, media.path("scan_cache.dat"));
    std::map<int, LevelEnvelope> scanned;
    QObject::connect(&scan, &ListScan::trackScanned,
                     [&](int index, const TrackMeasure& measure) { scanned[index] = measure.envelope; });
    QSignalSpy finished(&scan, &ListScan::finished);
    scan.start({ SoundSource { .path = split }, SoundSource { .path = whole }, SoundSource { .path = last } });
    ASSERT_TRUE(finished.wait(30000) && scanned.size() == 3);
    std::vector<double> predicted; // where the deck starts a new track, in seconds into the run
    double at = 0;
    for (int index = 0; index < 3; ++index) {
        for (const QuietPassage& passage : quietPassages(scanned[index], rule).inside)
            predicted.push_back(at + passage.startSeconds + passage.lengthSeconds);
        at += scanned[index].seconds() + gaps[index] / 1000;
        if (index < 2 && gaps[index] / 1000 >= rule.minimumSeconds)
            predicted.push_back(at);
    }
    ASSERT_EQ(predicted.size(), 2u);

    SoundingRun run;
    const QString paths[] = { split, whole, last };
    for (int index = 0; index < 3; ++index)
        run.add(paths[index], 5, gaps[index]);
    const QString recording = recorded(run);
    ASSERT_FALSE(recording.isEmpty());

    const LevelEnvelope deck = envelopeOfRecording(recording);
    const TrackSilences heard = quietPassages(deck, rule);
    ASSERT_EQ(heard.inside.size(), predicted.size()) << "the deck makes " << heard.inside.size() + 1 << " tracks";
    // The recording starts a little before the run: compare the splits' distance.
    const double heardApart = heard.inside[1].startSeconds + heard.inside[1].lengthSeconds
        - (heard.inside[0].startSeconds + heard.inside[0].lengthSeconds);
    EXPECT_NEAR(heardApart, predicted[1] - predicted[0], 0.02);
}

// The deck's output reaches the input over a "cable", a loopback into a second sink
// that lifts the level by 3 dB: the report tells each track's peak, the gaps the
// recorder splits at and the third track, which clips, and loses nothing on the way
// (drop-outs and gaps it will not split at are the report's own tests').
TEST_F(EndToEnd, theReportTellsWhatCameBackOverTheCable)
{
    ASSERT_TRUE(sink.addSink("line_in", "Line-in"));
    ASSERT_FALSE(pactl({"load-module", "module-loopback", "source=deck.monitor", "sink=line_in", "latency_msec=60"})
                     .isEmpty()) << "no loopback";
    const QString loopback = pactl({"list", "short", "sink-inputs"}).section(u'\t', 0, 0);
    ASSERT_FALSE(loopback.isEmpty());
    pactl({"set-sink-input-volume", loopback, "1.4125375"}); // +3 dB
    SoundingRun run;
    const double volumes[] = {0.25, 0.25, 0.9};
    for (int i = 0; i < 3; ++i) {
        const QString path = media.tone(QStringLiteral("track%1.wav").arg(i + 1), 2, 1000, volumes[i]);
        ASSERT_FALSE(path.isEmpty());
        run.add(path, 2, 2500);
    }
    RecorderWindow& recorder = run.window.recorderWindow();
    auto* listen = recorder.findChild<QComboBox*>("ListenBackChoice");
    ASSERT_TRUE(QTest::qWaitFor([&] { return listen->findData("line_in.monitor") >= 0; }, 5000));
    choose(listen, listen->findData("line_in.monitor"));

    const QString onDeck = recorded(run);
    ASSERT_FALSE(onDeck.isEmpty()) << "the run did not end";

    auto* report = recorder.findChild<QPlainTextEdit*>("ListenReport");
    ASSERT_TRUE(QTest::qWaitFor([&] { return report->toPlainText().startsWith("What"); }, 5000));
    const QStringList lines = report->toPlainText().split(u'\n');
    // Each line, as a pattern: what it starts with, what it holds and what it ends with.
    // A piece of sound the listening lost would be told as a drop-out.
    const QStringList expected = {"^What the recorder received:$", "^1. track1: peak -9.0 dB, level [^,]*$",
                                  "the recorder starts a new track$", "^2. track2: peak -9.0 dB, level [^,]*$",
                                  "the recorder starts a new track$", "^3. track3: peak 0.0 dB.*, clipped$"};
    ASSERT_EQ(lines.size(), expected.size()) << lines.join(u'\n').toStdString();
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].contains(QRegularExpression(expected[i]))) << lines[i].toStdString();

    expectHeard(onDeck, {2, 2, 2}, {2500, 2500}); // listening leaves the run as exact as ever
}
