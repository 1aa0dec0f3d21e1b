#include "playlist/media_duration.h"
#include "support/bytes_read.h"
#include "support/fake_media_player.h"
#include "support/file_bytes.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <gst/pbutils/pbutils.h>
#include <gtest/gtest.h>

namespace {

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// What GStreamer, which plays the files, makes of their length.
double gstreamerSeconds(const QString& path)
{
    gst_init(nullptr, nullptr);
    GstDiscoverer* discoverer = gst_discoverer_new(20 * GST_SECOND, nullptr);
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    GstDiscovererInfo* info = gst_discoverer_discover_uri(discoverer, uri.constData(), nullptr);
    const double seconds = info ? double(gst_discoverer_info_get_duration(info)) / GST_SECOND : -1;
    if (info)
        g_object_unref(info);
    g_object_unref(discoverer);
    return seconds;
}

} // namespace

// Real audio generated here: the lengths read from the headers must agree with the
// player's to within a second, and the player itself is only asked about the rest.
TEST(MediaDuration, headersGiveThePlayersLengthOfGeneratedAudio)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath("tone.wav"), vbr = dir.filePath("vbr.MP3"), long_ = dir.filePath("long.mp3"),
                  aiff = dir.filePath("tone.aiff"), au = dir.filePath("tone.au");
    ASSERT_TRUE(run("sox", {"-n", "-r", "44100", "-c", "2", wav, "synth", "3.7", "sine", "440"}));
    ASSERT_TRUE(run("lame", {"--quiet", "-V", "2", wav, vbr}));
    ASSERT_TRUE(run("ffmpeg", {"-v", "quiet", "-f", "lavfi", "-i", "sine=frequency=220:duration=95.4",
                               "-ac", "1", "-b:a", "64k", long_}));
    ASSERT_TRUE(run("sox", {wav, aiff}));
    ASSERT_TRUE(run("sox", {wav, au}));

    FakeMediaPlayer player;
    for (const QString& path : {wav, vbr, long_}) { // long_ is a constant bit rate
        const double reference = gstreamerSeconds(path);
        ASSERT_GT(reference, 1) << path.toStdString();
        EXPECT_NEAR(mediaDuration(player, path), reference, 1.0) << path.toStdString();
    }
    // GStreamer's discoverer does not finish on AIFF; the generated length stands in.
    EXPECT_NEAR(mediaDuration(player, aiff), 3.7, 0.01);
    // Today's lossless and lossy types carry their length; M4A's counts the AAC encoder's priming.
    const std::pair<const char*, QStringList> headerTypes[] = {
        {"flac", {"-c:a", "flac"}}, {"ogg", {"-c:a", "libvorbis"}}, {"oga", {"-c:a", "libvorbis", "-f", "ogg"}},
        {"opus", {"-c:a", "libopus"}}, {"m4a", {"-c:a", "aac"}}, {"wv", {"-c:a", "wavpack"}}};
    for (const auto& [extension, options] : headerTypes) {
        const QString path = dir.filePath(QStringLiteral("tone.") + extension);
        ASSERT_TRUE(run("ffmpeg", QStringList{"-v", "quiet", "-i", wav} + options + QStringList{path})) << extension;
        EXPECT_NEAR(mediaDuration(player, path), 3.7, 0.03) << extension;
    }
    EXPECT_TRUE(player.opened.isEmpty());

    // Types without a length in the headers, and broken headers, go to the player.
    const QString broken = dir.filePath("broken.wav");
    writeBytes(broken, "RIFF not really");
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
