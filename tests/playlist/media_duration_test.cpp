#include "playlist/media_duration.h"
#include "support/bytes_read.h"
#include "support/fake_media_player.h"
#include "support/generated_media.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Real audio generated here: the lengths read from the headers must be the generated
// ones, and the player itself is only asked about the rest.
TEST(MediaDuration, headersGiveTheLengthOfGeneratedAudio)
{
    GeneratedMedia media;
    const QString wav = media.tone("tone.wav", 3.7, 440), aiff = media.make("sox", {wav, "tone.aiff"}, "tone.aiff"),
                  au = media.make("sox", {wav, "tone.au"}, "tone.au"),
                  vbr = media.make("lame", {"--quiet", "-V", "2", wav, "vbr.MP3"}, "vbr.MP3"),
                  cbr = media.makeWithFfmpeg("long.mp3", 95.4, false, {"-ac", "1", "-b:a", "64k"});
    ASSERT_FALSE(wav.isEmpty() || vbr.isEmpty() || cbr.isEmpty() || aiff.isEmpty() || au.isEmpty());

    FakeMediaPlayer player;
    // MP3 frames hold the encoder's delay and padding: within a second as the player reckons.
    const std::tuple<QString, double, double> made[] = {{wav, 3.7, 0.01}, {aiff, 3.7, 0.01}, {vbr, 3.7, 1}, {cbr, 95.4, 1}};
    for (const auto& [path, seconds, within] : made)
        EXPECT_NEAR(mediaDuration(player, path), seconds, within) << path.toStdString();
    // Today's lossless and lossy types carry their length; M4A's counts the AAC encoder's priming.
    const std::pair<const char*, QStringList> headerTypes[] = {
        {"flac", {"-c:a", "flac"}}, {"ogg", {"-c:a", "libvorbis"}}, {"oga", {"-c:a", "libvorbis", "-f", "ogg"}},
        {"opus", {"-c:a", "libopus"}}, {"m4a", {"-c:a", "aac"}}, {"wv", {"-c:a", "wavpack"}}};
    for (const auto& [extension, options] : headerTypes) {
        const QString name = QStringLiteral("tone.") + extension;
        const QString path = media.make("ffmpeg", QStringList{"-v", "quiet", "-i", wav} + options + QStringList{name}, name);
        ASSERT_FALSE(path.isEmpty()) << extension;
        EXPECT_NEAR(mediaDuration(player, path), 3.7, 0.03) << extension;
    }
    EXPECT_TRUE(player.opened.isEmpty());

    // Types without a length in the headers, and broken headers, go to the player.
    const QString broken = media.write("broken.wav", "RIFF not really");
    player.durations[au] = 3.7;
    EXPECT_EQ(mediaDuration(player, au), 3.7);
    EXPECT_THROW(mediaDuration(player, broken), Failure);
    EXPECT_EQ(player.opened, QStringList({au, broken}));
}

// A large file without MPEG frames, or whose frames soon give way to zeros, is
// measured at once: the header reader gives up its search and the player, which
// refuses both, decides.
TEST(MediaDuration, aLargeFileWithoutFramesIsMeasuredAtOnce)
{
    QTemporaryDir dir;
    const QByteArray frame = QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(413, 0); // MPEG-1 layer III, 128 kbit/s
    FakeMediaPlayer player;
    for (const QByteArray& start : {QByteArray(), frame + frame}) {
        const QString path = dir.filePath(QString::number(start.size()) + ".mp3");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(start) == start.size());
        ASSERT_TRUE(file.resize(qint64(256) << 20)); // sparse: costs no disk
        file.close();
        const qint64 before = bytesRead();
        EXPECT_THROW(mediaDuration(player, path), Failure) << start.size();
        EXPECT_LT(bytesRead() - before, qint64(16) << 20) << start.size(); // not the whole file
    }
    EXPECT_EQ(player.opened.size(), 2);
}
