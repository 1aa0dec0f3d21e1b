#include "scan/list_scan.h"

#include "common/failure.h"
#include "player/sample_reader.h"
#include "scan/loudness_meter.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

ListScan::ListScan(SampleReader& reader, const QString& cachePath, QObject* parent)
    : QObject(parent)
    , m_reader(reader)
    , m_cache(cachePath)
{
}

ListScan::~ListScan()
{
    stopWorker();
}

void ListScan::start(const QList<SoundSource>& sources)
{
    stopWorker();
    m_cancel = false;
    m_running = true;
    const quint64 generation = ++m_generation;
    m_worker = std::thread([this, sources, generation] { run(sources, generation); });
}

void ListScan::cancel()
{
    m_cancel = true;
}

void ListScan::stopWorker()
{
    m_cancel = true;
    if (m_worker.joinable())
        m_worker.join();
}

void ListScan::post(quint64 generation, std::function<void()> f)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation, f = std::move(f)] {
            if (generation == m_generation)
                f();
        },
        Qt::QueuedConnection);
}

// The worker's thread.
void ListScan::run(const QList<SoundSource>& sources, quint64 generation)
{
    m_cache.read();
    const bool cancelled = scanTracks(sources, generation);
    try {
        m_cache.save();
    } catch (const Failure& failure) {
        // What was found holds until the program ends; only the next start misses it.
        qWarning("The scan cache was not written: %s", qUtf8Printable(failure.description()));
    }
    post(generation, [this, cancelled] {
        m_running = false;
        Q_EMIT finished(cancelled);
    });
}

bool ListScan::scanTracks(const QList<SoundSource>& sources, quint64 generation)
{
    // Progress is by time, so every track's length is learnt first; one whose
    // length cannot be learnt counts as long as the others are on average.
    std::vector<std::optional<TrackMeasure>> known;
    for (const SoundSource& source : sources)
        known.push_back(m_cache.find(source));
    std::vector<qint64> lengths(known.size(), 0);
    try {
        for (size_t index = 0; index < known.size(); ++index) {
            if (m_cancel)
                return true;
            lengths[index] = known[index] ? known[index]->envelope.frames
                                          : m_reader.expectedFrames(sources[qsizetype(index)]);
        }
    } catch (const Failure&) {
        // Without a player to measure with, the tracks' scans will say what is wrong.
    }
    const qint64 knownTotal = std::accumulate(lengths.begin(), lengths.end(), qint64(0));
    const auto unknown = std::count(lengths.begin(), lengths.end(), 0);
    const qint64 stand = knownTotal > 0 && unknown < qsizetype(lengths.size())
        ? knownTotal / qint64(lengths.size() - unknown) : 1;
    std::replace(lengths.begin(), lengths.end(), qint64(0), stand);
    const qint64 total = std::max<qint64>(1, std::accumulate(lengths.begin(), lengths.end(), qint64(0)));

    int shownPercent = -1;
    qint64 done = 0;
    const auto reportProgress = [&](qint64 frames) {
        const int percent = int(100 * std::min(done + frames, total) / total);
        if (percent != shownPercent) {
            shownPercent = percent;
            post(generation, [this, percent] { Q_EMIT progressChanged(percent); });
        }
    };
    reportProgress(0);
    for (int index = 0; index < sources.size(); ++index) {
        const SoundSource& source = sources[index];
        std::optional<TrackMeasure> measure = std::move(known[size_t(index)]);
        try {
            if (!measure) {
                const std::optional<FileStamp> stamp = ScanCache::stampOf(source);
                const qint64 length = lengths[size_t(index)];
                LevelEnvelope envelope;
                LoudnessMeter loudness;
                const auto take = [&](const float* samples, qint64 frames) {
                    appendSamples(envelope, samples, frames);
                    loudness.add(samples, frames);
                    reportProgress(std::min(envelope.frames, length));
                };
                if (!m_reader.read(source, take, m_cancel))
                    return true;
                measure = TrackMeasure { std::move(envelope), loudness.integratedLufs() };
                if (stamp)
                    m_cache.keep(source, *stamp, *measure);
            }
            post(generation, [this, index, measure = std::move(*measure)] { Q_EMIT trackScanned(index, measure); });
        } catch (const Failure& failure) {
            post(generation, [this, index, description = failure.description()] {
                Q_EMIT trackFailed(index, description);
            });
        }
        done += lengths[size_t(index)];
        reportProgress(0);
    }
    return false;
}
