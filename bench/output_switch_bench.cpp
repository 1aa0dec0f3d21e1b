// Switching the output between runs, as choosing another sound card does: the
// time from choosing the other output and playing to the output taking the
// file's sound, between two PulseAudio null sinks, against playing again to
// the same output.
#include "player/gst_media_player.h"
#include "support/generated_media.h"
#include "support/pulse_null_sink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

// Milliseconds from setOutput and play to soundTaken, for each run.
std::vector<double> runsTaken(GstMediaPlayer& player, const QString& tone, const QStringList& outputs, int runs)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QEventLoop loop;
        QObject::connect(&player, &MediaPlayer::soundTaken, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, [&loop] { loop.exit(1); });
        QElapsedTimer clock;
        clock.start();
        player.setOutput(outputs[i % outputs.size()]);
        player.play(tone, 0);
        if (loop.exec() != 0)
            return {};
        ms.push_back(double(clock.nsecsElapsed()) / 1e6);
        player.stop();
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}

void print(const char* what, const std::vector<double>& ms)
{
    if (ms.empty()) {
        std::printf("%s: the output did not take the sound\n", what);
        return;
    }
    std::printf("%s: median %.1f ms, slowest %.1f ms of %zu\n", what, ms[ms.size() / 2], ms.back(), ms.size());
}

} // namespace

int main(int argc, char** argv)
{
    PulseNullSink sink; // before the application, so every client finds it
    QCoreApplication app(argc, argv);
    if (!sink.ready() || !sink.addSink(QStringLiteral("deck2"), QStringLiteral("Deck2"))) {
        std::fprintf(stderr, "no PulseAudio null sinks\n");
        return 1;
    }
    GeneratedMedia media;
    const QString tone = media.make(QStringLiteral("sox"),
                                    {"-r", "44100", "-c", "2", "-n", "tone.wav", "synth", "1", "sine", "440"},
                                    QStringLiteral("tone.wav"));
    GstMediaPlayer player;
    runsTaken(player, tone, {QStringLiteral("deck")}, 1); // loads the plugins
    print("same output", runsTaken(player, tone, {QStringLiteral("deck")}, 20));
    print("other output", runsTaken(player, tone, {QStringLiteral("deck2"), QStringLiteral("deck")}, 20));
    return 0;
}
