// Plays a one-second tone three times with a half-second gap, as a recording
// run does, and prints how long opening and starting take and how late the end
// of stream comes after the tone's length. Run it against a PulseAudio null sink
// and record the sink's monitor to compare with the silences really heard:
//   eos_latency_bench "pulsesink device=deck"
#include "recording/gst_media_player.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString sink = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("pulsesink");
    constexpr int kPlays = 3;
    constexpr int kGapMs = 500;

    QTemporaryDir dir;
    const QString tone = dir.filePath(QStringLiteral("tone.wav"));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
        { "-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=1", tone });
    if (!ffmpeg.waitForFinished(30000) || ffmpeg.exitCode() != 0)
        return 1;

    GstMediaPlayer player(sink);
    QElapsedTimer clock;
    clock.start();
    qint64 started = 0;
    int plays = 0;
    std::printf("play  open ms  start ms  end of stream late ms  position at end s\n");
    const auto playNext = [&] {
        const qint64 before = clock.elapsed();
        player.setFileName(tone);
        const qint64 opened = clock.elapsed();
        player.play();
        started = clock.elapsed();
        std::printf("%4d  %7lld  %8lld", ++plays, opened - before, started - opened);
    };
    QObject::connect(&player, &MediaPlayer::endOfStream, [&] {
        std::printf("  %21.0f  %17.3f\n", clock.elapsed() - started - player.duration() * 1000,
            player.currentPosition());
        if (plays == kPlays)
            app.quit();
        else
            QTimer::singleShot(kGapMs, Qt::PreciseTimer, playNext);
    });
    QTimer::singleShot(0, playNext);
    return app.exec();
}
