// Scans a disc's worth of music (74 minutes: half FLAC, half MP3, each track with
// a quiet passage inside) with the list scan, levels and loudness, and prints its
// speed, its CPU time, the program's peak memory before and after, and how late the
// user-interface thread's 10 ms timer came at worst while it ran; then scans it
// again after a restart, from the cache's file. Then how long the cache takes to
// write and read with 1,000 tracks of four minutes in it. Last, how long the gain
// tags of 1,000 files take to read, and how late the 10 ms timer came meanwhile
// now that they are read aside.
#include "cpu_time.h"
#include "player/sample_reader.h"
#include "loudness/gain_tag_reader.h"
#include "scan/list_scan.h"
#include "scan/scan_cache.h"
#include "support/generated_media.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

double peakResidentMb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

// Pink noise at -10 dB with 2 s at -60 dB after a third of it.
QString makeTrack(GeneratedMedia& media, const QString& name, double seconds)
{
    const double before = seconds / 3;
    const QString sox = QStringLiteral("|sox -n -r 44100 -c 2 -p synth %1 %2");
    return media.make(QStringLiteral("sox"),
                      { sox.arg(before).arg(QStringLiteral("pinknoise vol 0.3")),
                        sox.arg(2).arg(QStringLiteral("sine 440 vol 0.001")),
                        sox.arg(seconds - before - 2).arg(QStringLiteral("pinknoise vol 0.3")), name },
                      name);
}

struct Figures {
    double seconds = 0;
    double cpu = 0;
    qint64 latestTickMs = 0;
    int scanned = 0;
    int failed = 0;
    std::vector<double> memoryMb; // peak resident memory after each track
};

Figures scan(ListScan& scanner, const QList<SoundSource>& sources)
{
    Figures figures;
    QElapsedTimer sinceTick;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        figures.latestTickMs = std::max(figures.latestTickMs, sinceTick.restart());
    });
    QObject::connect(&scanner, &ListScan::trackScanned, [&] {
        ++figures.scanned;
        figures.memoryMb.push_back(peakResidentMb());
    });
    QObject::connect(&scanner, &ListScan::trackFailed, [&](int, const QString& error) {
        ++figures.failed;
        std::fprintf(stderr, "%s\n", qPrintable(error));
    });
    QEventLoop loop;
    QObject::connect(&scanner, &ListScan::finished, &loop, &QEventLoop::quit);
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    sinceTick.start();
    ticks.start(10);
    scanner.start(sources);
    loop.exec();
    figures.seconds = double(wall.nsecsElapsed()) / 1e9;
    figures.cpu = cpuSeconds() - cpuBefore;
    scanner.disconnect();
    return figures;
}

// Writes a cache of 1,000 tracks of four minutes of noisy levels, then reads it
// as a new start would, and finds every track in it.
void timeCacheOf1000Tracks(const QString& folder)
{
    std::minstd_rand random(1);
    std::uniform_real_distribution<float> level(0.001f, 1.0f);
    TrackMeasure measure { {}, -9.5 };
    for (qint64 block = 0; block < 4 * 60 * 100; ++block)
        measure.envelope.blockPeaks.push_back(level(random));
    measure.envelope.frames = qint64(measure.envelope.blockPeaks.size()) * LevelEnvelope::kBlockFrames;
    const QString path = QDir(folder).filePath(kScanCacheFileName);
    QList<SoundSource> sources;
    {
        ScanCache cache(path);
        cache.read();
        for (int track = 0; track < 1000; ++track) {
            const SoundSource source { .path = QDir(folder).filePath(QStringLiteral("%1 Title.flac").arg(track)) };
            QFile(source.path).open(QIODevice::WriteOnly);
            cache.keep(source, *ScanCache::stampOf(source), measure);
            sources << source;
        }
        QElapsedTimer timer;
        timer.start();
        cache.save();
        std::printf("cache of 1,000 tracks: %.1f MB, written in %lld ms\n", double(QFileInfo(path).size()) / 1e6,
                    qlonglong(timer.elapsed()));
    }
    QElapsedTimer timer;
    timer.start();
    ScanCache cache(path);
    cache.read();
    const qint64 readNs = timer.nsecsElapsed();
    timer.start();
    const int found = int(std::count_if(sources.begin(), sources.end(),
                                        [&](const SoundSource& source) { return cache.find(source).has_value(); }));
    std::printf("cache read for 1,000 entries: %.1f ms; then finding %d of them, envelopes read: %.1f ms\n",
                double(readNs) / 1e6, found, double(timer.nsecsElapsed()) / 1e6);
}

// Reads the gain tags of 1,000 files (links to the scanned tracks) once straight
// through, then aside as a list's first choice of a loudness mode does.
void timeGainTagsOf1000Files(const QList<SoundSource>& sources, const QString& folder)
{
    QStringList paths;
    for (int file = 0; file < 1000; ++file) {
        const QString& target = sources[file % sources.size()].path;
        paths << QDir(folder).filePath(QStringLiteral("%1 %2").arg(file).arg(QFileInfo(target).fileName()));
        QFile::link(target, paths.back());
    }
    QElapsedTimer timer;
    timer.start();
    for (const QString& path : paths)
        (void)readGainTags(path);
    const qint64 straightMs = timer.elapsed();

    GainTagReader reader;
    QElapsedTimer sinceTick;
    qint64 latestTickMs = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        latestTickMs = std::max(latestTickMs, sinceTick.restart());
    });
    QEventLoop loop;
    QObject::connect(&reader, &GainTagReader::tagsRead, &loop, [&] {
        if (reader.find(paths.back()))
            loop.quit();
    });
    timer.start();
    sinceTick.start();
    tick.start(10);
    for (const QString& path : paths)
        (void)reader.find(path);
    loop.exec();
    std::printf("gain tags of 1,000 files: %lld ms read straight through; aside: all in %lld ms, longest tick gap "
                "%lld ms\n",
                qlonglong(straightMs), qlonglong(timer.elapsed()), qlonglong(latestTickMs));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int kTracks = 8;
    constexpr double kTrackSeconds = 74.0 * 60 / kTracks;
    GeneratedMedia media;
    QList<SoundSource> sources;
    std::printf("making %d tracks of %.0f s...\n", kTracks, kTrackSeconds);
    std::fflush(stdout);
    for (int i = 0; i < kTracks; ++i) {
        const QString name = QStringLiteral("track%1.%2").arg(i + 1).arg(i % 2 ? "mp3" : "flac");
        const QString path = makeTrack(media, name, kTrackSeconds);
        if (path.isEmpty()) {
            std::fprintf(stderr, "sox could not make %s\n", qPrintable(name));
            return 1;
        }
        sources.append(SoundSource { .path = path });
    }
    const double music = kTracks * kTrackSeconds;

    const auto reader = makeSampleReader();
    QTemporaryDir data;
    auto scanner = std::make_unique<ListScan>(*reader, data.filePath(kScanCacheFileName));
    const double memoryBefore = peakResidentMb();
    const Figures first = scan(*scanner, sources);
    const double memoryAfter = peakResidentMb();
    std::printf("scan of %.0f min (%d scanned, %d failed): %.2f s = %.0f times real time; CPU %.2f s = %.0f times "
                "real time on one core\n",
                music / 60, first.scanned, first.failed, first.seconds, music / first.seconds, first.cpu,
                music / first.cpu);
    std::printf("peak resident memory: %.1f MB before, %.1f MB after; after each track:", memoryBefore, memoryAfter);
    for (double mb : first.memoryMb)
        std::printf(" %.1f", mb);
    std::printf("\n");
    std::printf("user-interface thread: longest gap between 10 ms ticks %lld ms\n", qlonglong(first.latestTickMs));
    scanner = std::make_unique<ListScan>(*reader, data.filePath(kScanCacheFileName));
    const Figures second = scan(*scanner, sources);
    std::printf("again after a restart, from the cache: %.3f s, CPU %.3f s, longest tick gap %lld ms; peak memory "
                "%.1f MB\n",
                second.seconds, second.cpu, qlonglong(second.latestTickMs), peakResidentMb());
    QTemporaryDir large;
    timeCacheOf1000Tracks(large.path());
    QTemporaryDir links;
    timeGainTagsOf1000Files(sources, links.path());
    return first.failed + second.failed > 0 ? 1 : 0;
}
