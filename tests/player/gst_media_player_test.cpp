#include "player/gst_media_player.h"
#include "support/failure_text.h"
#include "support/file_bytes.h"
#include "support/generated_media.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

const QString kRealTimeSink = QStringLiteral("fakesink sync=true");
// Holds sound ahead of the clock as a sound server does.
const QString kQueuedSink = QStringLiteral("queue max-size-time=%1 max-size-buffers=0 max-size-bytes=0 ! fakesink sync=true")
                                .arg(qint64(GstOutputStream::kBufferMs) * GST_MSECOND);
constexpr double kToneSeconds = 1.5;

// A player with a spy on each of its signals.
struct SpiedPlayer : GstMediaPlayer {
    using GstMediaPlayer::GstMediaPlayer;
    QSignalSpy taken { this, &MediaPlayer::soundTaken }, started { this, &MediaPlayer::soundStarted },
        ended { this, &MediaPlayer::endOfStream }, failed { this, &MediaPlayer::failed }, breaks { this, &MediaPlayer::breakHeard };
};

// A standard MIDI file of 35 bytes: one note of 1.5 s at the default 120 beats a minute.
const QByteArray kMidiFile = QByteArray::fromHex("4d546864" "00000006" "0000" "0001" "0060" "4d54726b" "0000000d"
                                                 "00903c64" "8220803c40" "00ff2f00");
// The same wrapped in RIFF, as .rmi files are: a RIFF of 47 bytes holding a data chunk of 35.
const QByteArray kRmiFile = QByteArray("RIFF\x2f\0\0\0RMIDdata\x23\0\0\0", 20) + kMidiFile;

// .asx, .wax and .wvx (Windows Media metafiles, playlists) have no GStreamer plugin to play
// them, and .ape no encoder here to make one with: they are not among the cases.
const QStringList kMidi { "midi" }, kRmi { "rmi" }, kSox { "sox" };

struct MediaCase {
    std::string extension;
    QStringList make; // ffmpeg's output options (video when they name a video codec), or another source
    bool played;      // the first name of its format is played too; the others are measured only
};

void PrintTo(const MediaCase& c, std::ostream* out) { *out << c.extension; }

// The media extensions the program adds, each in a format that name stands for: the
// names of a format, then ffmpeg's output options for it or another source.
std::vector<MediaCase> everyMediaExtension()
{
    const char* const formats[] = {
        "mp3|-c:a libmp3lame -f mp3", "mp2 mpa|-c:a mp2 -f mp2", "mid midi|midi", "rmi|rmi", "asf wma|-c:a wmav2 -f asf",
        "wm wmw|-c:v wmv2 -c:a wmav2 -f asf", "aifc|sox", "avi|-c:v msmpeg4v2 -c:a libmp3lame -f avi",
        "mpeg mpg mpe|-c:v mpeg1video -c:a mp2 -f mpeg", "m1v|-an -c:v mpeg1video -f mpeg1video", "ivf|-an -c:v libvpx -f ivf",
        "mpv2 mp2v|-an -c:v mpeg2video -f mpeg2video", "aif aiff|-c:a pcm_s16be -f aiff", "au snd|-c:a pcm_s16be -f au",
        "mov qt|-c:v mpeg4 -c:a aac -f mov", "flac|-c:a flac -f flac", "ogg oga|-c:a libvorbis -f ogg", "opus|-c:a libopus -f opus",
        "m4a|-c:a aac -f ipod", "aac|-c:a aac -f adts", "wv|-c:a wavpack -f wv", "mka|-c:a flac -f matroska", "wav|-f wav",
    };
    std::vector<MediaCase> cases;
    for (const char* format : formats) {
        const QStringList names = QString::fromLatin1(format).section(u'|', 0, 0).split(u' ');
        for (const QString& name : names)
            cases.push_back({ name.toStdString(), QString::fromLatin1(format).section(u'|', 1).split(u' '), name == names[0] });
    }
    return cases;
}

QString generate(GeneratedMedia& media, const MediaCase& c)
{
    const QString name = QStringLiteral("tone.") + QString::fromStdString(c.extension);
    if (c.make == kMidi || c.make == kRmi)
        return media.write(name, c.make == kMidi ? kMidiFile : kRmiFile);
    return c.make == kSox ? media.tone(name, kToneSeconds, 440, 0.5, 44100, 1)
                          : media.makeWithFfmpeg(name, kToneSeconds, c.make.contains(QStringLiteral("-c:v")), c.make);
}

class MediaTypeTest : public ::testing::TestWithParam<MediaCase> { };

TEST_P(MediaTypeTest, measuresThenPlaysToOneEndOfStreamWithRisingPosition)
{
    const MediaCase& c = GetParam();
    GeneratedMedia media;
    const QString path = generate(media, c);
    ASSERT_FALSE(path.isEmpty()) << "could not generate a ." << c.extension << " file";

    SpiedPlayer player(kRealTimeSink);
    const QString failure = failureOf([&] { player.setFileName(path); });
    if (!failure.isEmpty() && (c.make == kMidi || c.make == kRmi))
        GTEST_SKIP() << "no installed GStreamer plugin synthesises MIDI here: " << failure.toStdString();
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    EXPECT_NEAR(player.duration(), kToneSeconds, 0.15);
    if (!c.played)
        return; // the same format under another name plays the same way

    player.play(path, 0);
    ASSERT_TRUE(player.started.wait(3000)) << "no sound started";
    QTest::qWait(300);
    const double early = player.currentPosition();
    QTest::qWait(500);
    EXPECT_GT(early, 0.1);
    if (player.ended.isEmpty()) { EXPECT_GT(player.currentPosition(), early + 0.3); } // else it waits at the end
    ASSERT_TRUE(player.ended.count() == 1 || player.ended.wait(5000)) << "no end of stream";
    QTest::qWait(300);
    // One start, one end of the file played (index 0), no failure.
    EXPECT_EQ(std::tuple(player.started.count(), player.ended.count(), player.ended.first().first().toInt(), player.failed.count()),
              std::tuple(1, 1, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(EveryMediaExtension, MediaTypeTest, ::testing::ValuesIn(everyMediaExtension()),
    [](const auto& info) { return info.param.extension; });

// Bytes of no format, the same at every run.
QByteArray junk()
{
    QByteArray bytes(256 * 1024, Qt::Uninitialized);
    QRandomGenerator(1).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return bytes;
}

TEST(GstMediaPlayerTest, fileThatCannotBeOpenedFailsWithDescriptionAndSpoilsNothingAfterIt)
{
    GeneratedMedia media;
    const QString good = media.makeWithFfmpeg(QStringLiteral("good.mp3"), 0.5, false, { "-c:a", "libmp3lame", "-f", "mp3" });
    ASSERT_FALSE(good.isEmpty());
    const QByteArray words = QByteArray("Just some words.\r\n").repeated(50);
    const std::pair<const char*, QString> cases[] = {
        { "text named .mp3", media.write("notes.mp3", words) }, { "junk named .mp3", media.write("junk.mp3", junk()) },
        { "junk named .wma", media.write("junk.wma", QByteArray::fromHex("3026b2758e66cf11a6d900aa0062ce6c") + junk()) },
        { "junk named .flac", media.write("junk.flac", "fLaC" + junk()) }, { "text named .m4a", media.write("notes.m4a", words) },
        { "zero-length file", media.write("empty.wav", {}) }, { "zero-length .opus", media.write("empty.opus", {}) },
        { "missing file", media.path("missing.wav") },
    };
    SpiedPlayer player(kRealTimeSink);
    for (const auto& [what, path] : cases) {
        const QString& file = path; // a lambda cannot capture a structured binding in C++20
        EXPECT_TRUE(failureOf([&] { player.setFileName(file); }).contains(path)) << what << " opened";
        EXPECT_EQ(player.duration(), 0) << what;
        // A good file is never refused because of the one before it.
        for (int i = 0; i < 5; ++i)
            EXPECT_NO_THROW(player.setFileName(good)) << "after " << what;

        // Played, it fails with its description, not as a normal end.
        player.play(path, 0);
        ASSERT_TRUE(player.failed.wait(12000)) << what << ": no failure reported";
        EXPECT_TRUE(player.failed.last().first().toString().contains(path)) << what;
        player.play(good, 0);
        EXPECT_TRUE(player.ended.wait(5000)) << "the good file after " << what << " did not play";
    }
    const auto played = qsizetype(std::size(cases));
    EXPECT_EQ(std::pair(player.started.count(), player.ended.count()), std::pair(played, played));
}

TEST(GstMediaPlayerTest, stoppedPlaybackRaisesNothingAndAQueuedFileFollowsAndEndsOnTheUiThread)
{
    GeneratedMedia media;
    const QString tone = media.makeWithFfmpeg("a.wav", 1, false, { "-f", "wav" });
    ASSERT_FALSE(tone.isEmpty());
    SpiedPlayer player(kRealTimeSink);
    QSignalSpy &started = player.started, &ended = player.ended;
    QList<QThread*> threads;
    QObject::connect(&player, &MediaPlayer::endOfStream, [&] { threads << QThread::currentThread(); });

    player.stop(); // nothing plays yet
    EXPECT_EQ(player.currentPosition(), 0);

    player.play(tone, 0);
    player.play(tone, 0); // waits behind the first, and goes with it on a stop
    ASSERT_TRUE(started.wait(5000));
    player.stop();
    EXPECT_EQ(player.currentPosition(), 0);
    QTest::qWait(1200);
    EXPECT_EQ(std::tuple(started.count(), ended.count()), std::tuple(1, 0));

    // The next file, handed over while the first sounds, follows it the asked silence later.
    started.clear();
    player.play(tone, 0);
    ASSERT_TRUE(started.wait(5000));
    player.play(tone, 300);
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_GT(player.currentPosition(), 0.9); // the first stays at its end during the silence
    ASSERT_TRUE(started.wait(5000));
    EXPECT_LT(player.currentPosition(), 0.9); // the second's, from its start
    ASSERT_TRUE(ended.wait(5000));
    QTest::qWait(300);
    EXPECT_EQ(started.count(), 2);
    EXPECT_EQ(threads, QList<QThread*>(2, QThread::currentThread()));
}

// A sink that writes the output to the folder's written.f32, paced by the clock,
// behind a queue that holds queueMs ahead as a sound server does.
QString writingSink(const GeneratedMedia& media, int queueMs)
{
    return QStringLiteral("queue max-size-time=%1 max-size-buffers=0 max-size-bytes=0 ! "
                          "filesink sync=true buffer-mode=unbuffered location=\"%2\"")
        .arg(qint64(queueMs) * GST_MSECOND + 1)
        .arg(media.path(QStringLiteral("written.f32")));
}

// What a writing sink wrote, one float a channel.
std::vector<float> writtenSamples(const GeneratedMedia& media)
{
    const QByteArray bytes = bytesOf(media.path(QStringLiteral("written.f32")));
    const auto* samples = reinterpret_cast<const float*>(bytes.constData());
    return std::vector<float>(samples, samples + bytes.size() / GstOutputStream::kBytesPerFrame * 2);
}

// The first frame from frame from on with sound; the end when none has.
qsizetype firstSound(const std::vector<float>& samples, qsizetype from)
{
    const qsizetype frames = qsizetype(samples.size()) / 2;
    while (from < frames && std::abs(samples[size_t(2 * from)]) <= 1e-6f)
        ++from;
    return from;
}

// A 16-bit tone, undithered, that begins on a loud sample, each channel as loud as asked.
QString toneFile(GeneratedMedia& media, const QString& name, double seconds, double left, double right)
{
    return media.make(QStringLiteral("sox"),
                      { "-D", "-r", "44100", "-c", "2", "-n", "-b", "16", name, "synth", QString::number(seconds), "sine", "440", "0",
                        "25", "sine", "440", "0", "25", "remix", QStringLiteral("1v%1").arg(left), QStringLiteral("2v%1").arg(right) },
                      name);
}

// The output as written, to the sample. The next file is handed over by the window's
// thread some time after the one before began to be taken (or after its end), perhaps
// after the output took that one whole: the silence is not written ahead of the sink's
// need, so the file still follows at its place. A gain scales every sample of its file
// alone; without one the file's 16-bit samples are written as they are, to the bit.
TEST(GstMediaPlayerTest, aFileHandedOverWhileOneSoundsFollowsItTheAskedSilenceToTheSampleAtItsGain)
{
    const struct { double firstSeconds; int handMs, queueMs; double silenceMs, gainDb; } cases[] = {
        { 1, 0, 0, 300, 0 }, { 3, 150, GstOutputStream::kBufferMs, 300, 0 }, { 0.5, -1, 1000, 500, 20 * std::log10(0.5) } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstSeconds);
        GeneratedMedia media;
        const QString first = toneFile(media, "a.wav", c.firstSeconds, 0.5, 0.25), second = toneFile(media, "b.wav", 1, 0.5, 0.25);
        ASSERT_FALSE(first.isEmpty() || second.isEmpty());
        {
            SpiedPlayer player(writingSink(media, c.queueMs));
            player.play(first, 0);
            ASSERT_TRUE(c.handMs < 0 ? player.ended.wait(5000) : player.taken.wait(5000));
            QTest::qWait(std::max(c.handMs, 0));
            player.play(SoundSource { SoundSource::Kind::File, second }, c.silenceMs, c.gainDb);
            ASSERT_TRUE(QTest::qWaitFor([&] { return player.ended.count() == 2; }, 20000));
        }
        const std::vector<float> samples = writtenSamples(media);
        const qsizetype frames = qsizetype(std::min(c.firstSeconds, 1.0) * 44100), from = firstSound(samples, 0),
                        firstEnd = from + qsizetype(c.firstSeconds * 44100), to = firstSound(samples, firstEnd);
        EXPECT_EQ(to - firstEnd, qsizetype(c.silenceMs * 44.1));
        ASSERT_LE(size_t(2 * (to + frames)), samples.size());
        for (qsizetype i = 0; i < 2 * frames; ++i) {
            const float untouched = samples[size_t(2 * from + i)];
            ASSERT_EQ(untouched * 32768, std::round(untouched * 32768)) << "sample " << i;
            ASSERT_NEAR(samples[size_t(2 * to + i)], untouched * std::pow(10, c.gainDb / 20), 1e-6) << "sample " << i;
        }
    }
}

// The first file after a stop is written its lead-in after the output starts, to
// the sample, and not before the output settled, however long the run before it;
// a stop during the lead-in ends it. The sink keeps its file open from run to run.
// The level is of what is heard, not of what the output wrote ahead of it: nothing
// during a lead-in while the file waits in the sink, each channel's peak while it
// sounds, nothing after its end, and nothing of a stopped run in the next.
TEST(GstMediaPlayerTest, theFirstFileFollowsItsLeadInToTheSampleAStopDuringItEndsItAndThePeakIsOfWhatIsHeard)
{
    GeneratedMedia media;
    const QString tone = toneFile(media, QStringLiteral("tone.wav"), 0.5, 0.5, 0.25);
    ASSERT_FALSE(tone.isEmpty());
    SpiedPlayer player(writingSink(media, GstOutputStream::kBufferMs));
    const auto expectPeak = [&](float left, float right, const char* when) {
        const StereoPeak peak = player.takeHeardPeak();
        EXPECT_TRUE(std::abs(peak.left - left) < 0.002 && std::abs(peak.right - right) < 0.002)
            << when << ": " << peak.left << " " << peak.right;
    };
    player.play(tone, 1500);
    ASSERT_TRUE(player.taken.wait(5000));
    expectPeak(0, 0, "in the lead-in");
    ASSERT_TRUE(player.started.wait(5000));
    QTest::qWait(200);
    expectPeak(0.5, 0.25, "while it sounds");
    ASSERT_TRUE(player.ended.wait(5000));
    QTest::qWait(100);
    player.takeHeardPeak();
    QTest::qWait(200);
    expectPeak(0, 0, "after its end");
    player.stop();
    // Each play starts a stream of its own, and the sink writes its file anew.
    EXPECT_EQ(firstSound(writtenSamples(media), 0), 66150);
    player.play(tone, 0);
    ASSERT_TRUE(player.ended.wait(5000));
    QTest::qWait(300);
    player.stop();
    EXPECT_EQ(firstSound(writtenSamples(media), 0), 4410);

    player.play(tone, 0);
    ASSERT_TRUE(player.started.wait(5000));
    player.stop();
    expectPeak(0, 0, "stopped");
    // Past where the stopped file was to sound on the stopped run's timeline.
    player.play(tone, 3000);
    ASSERT_TRUE(player.taken.wait(5000));
    QTest::qWait(1500);
    expectPeak(0, 0, "in the next lead-in");
    player.stop();

    player.started.clear();
    player.play(tone, 1000);
    QTest::qWait(300);
    player.stop();
    QTest::qWait(1200);
    EXPECT_EQ(player.started.count(), 0);
    const std::vector<float> written = writtenSamples(media);
    EXPECT_EQ(firstSound(written, 0), qsizetype(written.size()) / 2); // no sound at all
}

// A source that gives a second of sound, then nothing until it is let go, then a
// second more: its decoder is waited for rather than its sound filled with silence,
// and once the moment the sound stopped at has passed, the break is told where it
// is, about a second into the file. The sink holds sound ahead as a sound server does.
TEST(GstMediaPlayerTest, aSourceThatFallsBehindIsWaitedForAndTheBreakToldWhereItIs)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("late.bin"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    SpiedPlayer player(kQueuedSink);
    player.play({ .kind = SoundSource::Kind::RawImage, .path = pipe }, 0);

    std::promise<void> letGo;
    std::thread source([&pipe, go = letGo.get_future()] {
        QFile file(pipe); // opens once the player reads
        file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        const QByteArray second = QByteArray::fromHex("00100010").repeated(44100);
        file.write(second);
        go.wait();
        file.write(second);
    });
    const bool passed = QTest::qWaitFor([&] { return player.started.count() == 1 && player.currentPosition() > 1.5; }, 10000);
    letGo.set_value();
    const bool heardToItsEnd = QTest::qWaitFor([&] { return player.ended.count() == 1; }, 10000);
    source.join();
    ASSERT_TRUE(passed && heardToItsEnd);
    ASSERT_EQ(std::pair(player.breaks.count(), player.failed.count()), std::pair(qsizetype(1), qsizetype(0)));
    // Less what the reader holds back while it waits for a whole piece of the pipe.
    EXPECT_NEAR(player.breaks.first().first().toDouble(), 1.0, 0.15);
}

} // namespace
