// Time from the splash tick to the main window painted, and the resident memory
// of the idle window. Each run is a fresh process; prints the median of the runs.
#include "app/startup.h"
#include "common/dialogs.h"
#include "discs/system_discs.h"
#include "player/cable_probe.h"
#include "player/input_listener.h"
#include "player/media_player.h"
#include "player/sample_reader.h"
#include "recording/keep_awake.h"
#include "sound_server/other_sounds.h"
#include "sound_server/sound_outputs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->objectName() == QLatin1String("Form1"))
            painted = true;
        return false;
    }
};

int runOnce(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QtDialogs dialogs;
    SystemDiscs discs;
    const auto player = makeMediaPlayer();
    const auto reader = makeSampleReader();
    const auto outputs = makeSoundOutputs();
    const auto otherSounds = makeOtherSounds(QDir(dir.path()).filePath(QStringLiteral("muted.dat")));
    const auto keepAwake = makeKeepAwake();
    const auto cableProbe = makeCableProbe();
    const auto inputListener = makeInputListener();
    Startup startup({dialogs, discs, *player, *reader, *outputs, *outputs, *cableProbe, *inputListener, *otherSounds, *keepAwake, dir.path(), dir.path(), dir.path(), {}},
                    {});
    startup.start();
    QTimer* splashTimer = startup.splash()->findChild<QTimer*>();
    splashTimer->stop();
    PaintWatch watch;
    app.installEventFilter(&watch);

    QElapsedTimer clock;
    clock.start();
    startup.tick();
    while (!watch.painted && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double tickMs = clock.nsecsElapsed() / 1e6;

    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    std::printf("%.3f %.1f\n", tickMs, residentMiB());
    startup.mainWindow()->close();
    return 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && QByteArray(argv[1]) == "--once")
        return runOnce(argc, argv);

    constexpr int kRuns = 7;
    std::vector<double> ticks, memory;
    for (int i = 0; i < kRuns; ++i) {
        QProcess run;
        run.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--once")});
        run.waitForFinished(30000);
        const QList<QByteArray> figures = run.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() != 2) {
            std::fprintf(stderr, "run %d gave no figures\n", i + 1);
            return 1;
        }
        ticks.push_back(figures[0].toDouble());
        memory.push_back(figures[1].toDouble());
    }
    std::printf("platform: %s, runs: %d\n",
                qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ? "xcb" : qgetenv("QT_QPA_PLATFORM").constData(), kRuns);
    std::printf("splash tick to main window painted: median %.1f ms (min %.1f, max %.1f)\n", median(ticks),
                *std::min_element(ticks.begin(), ticks.end()), *std::max_element(ticks.begin(), ticks.end()));
    std::printf("resident memory, window idle: median %.1f MiB\n", median(memory));
    return 0;
}
