// Opens generated media files one after another and reads each duration, as
// adding a long list does: files per second, and resident memory after each
// thousand opens (it should stay flat).
#include "player/gst_media_player.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

namespace {

long residentKilobytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

QString generate(const QTemporaryDir& dir, const QString& name, const QStringList& options)
{
    const QString path = dir.filePath(name);
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
        QStringList { "-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=3" }
            + options + QStringList { path });
    return ffmpeg.waitForFinished(30000) && ffmpeg.exitCode() == 0 ? path : QString();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int opens = argc > 1 ? atoi(argv[1]) : 5000;
    QTemporaryDir dir;
    const QStringList files {
        generate(dir, QStringLiteral("tone.wav"), { "-f", "wav" }),
        generate(dir, QStringLiteral("tone.mp3"), { "-c:a", "libmp3lame", "-f", "mp3" }),
        generate(dir, QStringLiteral("tone.wma"), { "-c:a", "wmav2", "-f", "asf" }),
        generate(dir, QStringLiteral("tone.aiff"), { "-c:a", "pcm_s16be", "-f", "aiff" }),
        generate(dir, QStringLiteral("tone.mpg"), { "-c:a", "mp2", "-f", "mpeg" }),
        generate(dir, QStringLiteral("tone.flac"), { "-c:a", "flac", "-f", "flac" }),
        generate(dir, QStringLiteral("tone.opus"), { "-c:a", "libopus", "-f", "opus" }),
    };
    if (files.contains(QString())) {
        std::fprintf(stderr, "ffmpeg could not generate the test files\n");
        return 1;
    }

    GstMediaPlayer player(QStringLiteral("fakesink"));
    std::printf("opens  files/s  resident KiB\n");
    QElapsedTimer clock;
    clock.start();
    double durations = 0;
    for (int i = 1; i <= opens; ++i) {
        player.setFileName(files[i % files.size()]);
        durations += player.duration();
        if (i % 1000 == 0) {
            std::printf("%5d  %7.1f  %12ld\n", i, 1000.0 / (clock.nsecsElapsed() / 1e9), residentKilobytes());
            std::fflush(stdout);
            clock.restart();
        }
    }
    std::printf("mean duration %.3f s\n", durations / opens);
    return 0;
}
