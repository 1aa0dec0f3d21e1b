#include "common/failure.h"
#include "recording/gst_media_player.h"
#include "support/generated_media.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kRealTimeSink = QStringLiteral("fakesink sync=true");
constexpr double kToneSeconds = 1.5;

// A standard MIDI file: one note of 1.5 s at the default 120 beats a minute.
QByteArray midiFile()
{
    const QByteArray track = QByteArray::fromHex("00903c64" "8220803c40" "00ff2f00");
    return QByteArray::fromHex("4d546864" "00000006" "0000" "0001" "0060") + "MTrk"
        + QByteArray::fromHex("0000000d") + track;
}

// The same wrapped in RIFF, as .rmi files are.
QByteArray rmiFile()
{
    QByteArray data = "data" + QByteArray::fromHex("00000000") + midiFile();
    const auto littleEndian = [](quint32 n) {
        const char bytes[] = { char(n & 0xff), char(n >> 8 & 0xff), char(n >> 16 & 0xff), char(n >> 24) };
        return QByteArray(bytes, 4);
    };
    data.replace(4, 4, littleEndian(quint32(midiFile().size())));
    return "RIFF" + littleEndian(quint32(data.size() + 4)) + "RMID" + data;
}

enum class Source { Ffmpeg, Sox, Midi, Rmi, Metafile };

struct MediaCase {
    const char* extension;
    Source source;
    bool video;
    QStringList ffmpegOptions;
};

void PrintTo(const MediaCase& c, std::ostream* out)
{
    *out << c.extension;
}

const QStringList kMp2 { "-c:a", "mp2", "-f", "mp2" };
const QStringList kAsfAudio { "-c:a", "wmav2", "-f", "asf" };
const QStringList kAsfVideo { "-c:v", "wmv2", "-c:a", "wmav2", "-f", "asf" };
const QStringList kMpegSystem { "-c:v", "mpeg1video", "-c:a", "mp2", "-f", "mpeg" };
const QStringList kMpeg1Video { "-an", "-c:v", "mpeg1video", "-f", "mpeg1video" };
const QStringList kMpeg2Video { "-an", "-c:v", "mpeg2video", "-f", "mpeg2video" };
const QStringList kAiff { "-c:a", "pcm_s16be", "-f", "aiff" };
const QStringList kAu { "-c:a", "pcm_s16be", "-f", "au" };
const QStringList kQuickTime { "-c:v", "mpeg4", "-c:a", "aac", "-f", "mov" };

// Every media extension the program adds, each in a format that name stands for.
const MediaCase kMediaCases[] = {
    { "mp3", Source::Ffmpeg, false, { "-c:a", "libmp3lame", "-f", "mp3" } },
    { "mp2", Source::Ffmpeg, false, kMp2 },
    { "wav", Source::Ffmpeg, false, { "-f", "wav" } },
    { "mid", Source::Midi, false, {} },
    { "midi", Source::Midi, false, {} },
    { "asf", Source::Ffmpeg, false, kAsfAudio },
    { "asx", Source::Metafile, false, {} },
    { "wm", Source::Ffmpeg, true, kAsfVideo },
    { "wma", Source::Ffmpeg, false, kAsfAudio },
    { "wax", Source::Metafile, false, {} },
    { "wmw", Source::Ffmpeg, true, kAsfVideo },
    { "wvx", Source::Metafile, false, {} },
    { "avi", Source::Ffmpeg, true, { "-c:v", "msmpeg4v2", "-c:a", "libmp3lame", "-f", "avi" } },
    { "mpeg", Source::Ffmpeg, true, kMpegSystem },
    { "mpg", Source::Ffmpeg, true, kMpegSystem },
    { "mpe", Source::Ffmpeg, true, kMpegSystem },
    { "m1v", Source::Ffmpeg, true, kMpeg1Video },
    { "mpv2", Source::Ffmpeg, true, kMpeg2Video },
    { "mp2v", Source::Ffmpeg, true, kMpeg2Video },
    { "mpa", Source::Ffmpeg, false, kMp2 },
    { "rmi", Source::Rmi, false, {} },
    { "ivf", Source::Ffmpeg, true, { "-an", "-c:v", "libvpx", "-f", "ivf" } },
    { "aif", Source::Ffmpeg, false, kAiff },
    { "aifc", Source::Sox, false, {} },
    { "aiff", Source::Ffmpeg, false, kAiff },
    { "au", Source::Ffmpeg, false, kAu },
    { "snd", Source::Ffmpeg, false, kAu },
    { "mov", Source::Ffmpeg, true, kQuickTime },
    { "qt", Source::Ffmpeg, true, kQuickTime },
};

QString generate(GeneratedMedia& media, const MediaCase& c)
{
    const QString name = QStringLiteral("tone.") + QLatin1String(c.extension);
    switch (c.source) {
    case Source::Ffmpeg:
        return media.makeWithFfmpeg(name, kToneSeconds, c.video, c.ffmpegOptions);
    case Source::Sox:
        return media.make(QStringLiteral("sox"),
            { "-n", "-r", "44100", "-c", "1", name, "synth", QString::number(kToneSeconds), "sine", "440" }, name);
    case Source::Midi:
        return media.write(name, midiFile());
    case Source::Rmi:
        return media.write(name, rmiFile());
    case Source::Metafile:
        break;
    }
    return {};
}

class MediaTypeTest : public ::testing::TestWithParam<MediaCase> { };

TEST_P(MediaTypeTest, measuresThenPlaysToOneEndOfStreamWithRisingPosition)
{
    const MediaCase& c = GetParam();
    if (c.source == Source::Metafile)
        GTEST_SKIP() << "." << c.extension << " is a Windows Media metafile (a playlist); no GStreamer plugin plays it";
    GeneratedMedia media;
    const QString path = generate(media, c);
    ASSERT_FALSE(path.isEmpty()) << "could not generate a ." << c.extension << " file";

    GstMediaPlayer player(kRealTimeSink);
    try {
        player.setFileName(path);
    } catch (const Failure& failure) {
        if (c.source == Source::Midi || c.source == Source::Rmi)
            GTEST_SKIP() << "no installed GStreamer plugin synthesises MIDI here: "
                         << failure.description().toStdString();
        FAIL() << failure.description().toStdString();
    }
    EXPECT_EQ(int(player.duration()), int(kToneSeconds));
    EXPECT_NEAR(player.duration(), kToneSeconds, 0.15);

    QSignalSpy ended(&player, &MediaPlayer::endOfStream);
    player.play(0);
    QTest::qWait(400);
    const double early = player.currentPosition();
    QTest::qWait(500);
    const double later = player.currentPosition();
    EXPECT_GT(early, 0.1);
    EXPECT_GT(later, early + 0.3);
    ASSERT_TRUE(ended.count() == 1 || ended.wait(5000)) << "no end of stream";
    QTest::qWait(300);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.first().first().toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryMediaExtension, MediaTypeTest, ::testing::ValuesIn(kMediaCases),
    [](const auto& info) { return std::string(info.param.extension); });

TEST(GstMediaPlayerTest, fileThatCannotBeOpenedFailsWithDescriptionWithinBoundedTime)
{
    GeneratedMedia media;
    const struct {
        const char* what;
        QString path;
    } cases[] = {
        { "text renamed .mp3", media.write(QStringLiteral("notes.mp3"), QByteArray("Just some words.\r\n").repeated(50)) },
        { "zero-length file", media.write(QStringLiteral("empty.wav"), QByteArray()) },
        { "missing file", media.path(QStringLiteral("missing.wav")) },
    };
    GstMediaPlayer player(kRealTimeSink);
    for (const auto& c : cases) {
        QElapsedTimer clock;
        clock.start();
        try {
            player.setFileName(c.path);
            ADD_FAILURE() << c.what << " opened";
        } catch (const Failure& failure) {
            EXPECT_FALSE(failure.description().trimmed().isEmpty()) << c.what;
            EXPECT_TRUE(failure.description().contains(c.path)) << c.what;
        }
        EXPECT_LT(clock.elapsed(), 12000) << c.what;
        EXPECT_EQ(player.duration(), 0) << c.what;
        EXPECT_THROW(player.play(0), Failure) << c.what << ": play after a failed open";
    }
}

TEST(GstMediaPlayerTest, stoppedOrReplacedPlaybackRaisesNoEndOfStream)
{
    GeneratedMedia media;
    const QString first = media.makeWithFfmpeg(QStringLiteral("a.wav"), 1, false, { "-f", "wav" });
    const QString second = media.makeWithFfmpeg(QStringLiteral("b.wav"), 1, false, { "-f", "wav" });
    ASSERT_FALSE(first.isEmpty() || second.isEmpty());
    GstMediaPlayer player(kRealTimeSink);
    QSignalSpy ended(&player, &MediaPlayer::endOfStream);

    player.stop(); // nothing plays yet
    EXPECT_EQ(player.currentPosition(), 0);

    player.setFileName(first);
    player.play(0);
    QTest::qWait(300);
    player.stop();
    EXPECT_EQ(player.currentPosition(), 0);

    player.setFileName(first);
    player.play(0);
    QTest::qWait(300);
    player.setFileName(second); // opening another file ends the first playback
    EXPECT_NEAR(player.duration(), 1, 0.05);
    QTest::qWait(1200);
    EXPECT_EQ(ended.count(), 0);

    // The player is still good for a full playback afterwards, ending once.
    player.play(0);
    ASSERT_TRUE(ended.wait(4000));
    player.play(0); // played again from the start: a second end
    ASSERT_TRUE(ended.wait(4000));
    QTest::qWait(300);
    EXPECT_EQ(ended.count(), 2);
}

TEST(GstMediaPlayerTest, endOfStreamArrivesOnTheUserInterfaceThread)
{
    GeneratedMedia media;
    const QString path = media.makeWithFfmpeg(QStringLiteral("short.wav"), 0.3, false, { "-f", "wav" });
    ASSERT_FALSE(path.isEmpty());
    GstMediaPlayer player(kRealTimeSink);
    QThread* thread = nullptr;
    QObject::connect(&player, &MediaPlayer::endOfStream, [&] { thread = QThread::currentThread(); });
    player.setFileName(path);
    player.play(0);
    QTRY_VERIFY_WITH_TIMEOUT(thread != nullptr, 4000);
    EXPECT_EQ(thread, QThread::currentThread());
}

} // namespace
