#pragma once

#include "discs/sound_source.h"
#include "scan/scan_cache.h"
#include "scan/track_measure.h"

#include <QList>
#include <QObject>
#include <atomic>
#include <functional>
#include <thread>

class SampleReader;

// Scans a list of sources to their level envelopes and loudness on a thread of its
// own, one after the other, in one read of each, taking what the cache still knows;
// the cache is read with the first scan and written after each. Its signals come on
// the thread it lives on (the user-interface thread), and only for the scan last started.
class ListScan : public QObject {
    Q_OBJECT
public:
    // The reader is the scan's thread's while a scan runs; cachePath is the scan
    // cache's file.
    ListScan(SampleReader& reader, const QString& cachePath, QObject* parent = nullptr);
    // Cancels a scan that runs and waits for its thread.
    ~ListScan() override;

    // Starts scanning, after cancelling a scan that runs.
    void start(const QList<SoundSource>& sources);
    // Asks the scan to stop; finished(true) follows within moments.
    void cancel();
    // From start() until finished() is signalled.
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    // Of the list's time, so far; only when it changes.
    void progressChanged(int percent);
    void trackScanned(int index, const TrackMeasure& measure);
    void trackFailed(int index, const QString& description);
    void finished(bool cancelled);

private:
    void stopWorker();
    void run(const QList<SoundSource>& sources, quint64 generation);
    // True when cancelled.
    bool scanTracks(const QList<SoundSource>& sources, quint64 generation);
    // Runs f on the user-interface thread unless another scan was started since.
    void post(quint64 generation, std::function<void()> f);

    SampleReader& m_reader;
    ScanCache m_cache; // the worker's while one runs
    std::atomic<bool> m_cancel { false };
    std::thread m_worker;
    quint64 m_generation = 0;
    bool m_running = false;
};
