#pragma once

#include "discs/sound_source.h"
#include "scan/level_envelope.h"
#include "scan/list_scan.h"
#include "scan/scan_track.h"
#include "medium/silence_rule.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <optional>

class SampleReader;

// What the scan found in the list's tracks, in the words the scan panel shows,
// judged under the recorder's rule. It lives as long as the program, not the
// window: another rule re-judges what was found at once, and a change of the list
// drops only what was found for tracks that left it (a track is known by where
// its sound is read). A scan that runs follows the list as it stands.
class ListFindings : public QObject {
    Q_OBJECT
public:
    // cachePath: the scan cache's file.
    ListFindings(SampleReader& reader, const QString& cachePath, QObject* parent = nullptr);

    void setRule(const SilenceRule& rule);
    void setTracks(const QList<ScanTrack>& tracks);
    const QList<ScanTrack>& tracks() const { return m_tracks; }

    // Scans the list anew; the scan cache spares files read before and unchanged.
    void scan();
    // The scan stops within moments; what it found stays.
    void cancel();
    bool isScanning() const { return m_scan.isRunning(); }
    // Of the scan running or last run, while the list holds the same sounds.
    int percent() const { return m_percent; }

    // A track's findings, a line each: quiet passages, a gap too short, its peak.
    QStringList texts(int index) const;
    // Why the track could not be scanned, in full; empty when it could.
    QString failure(int index) const;
    // The track loudest at its peak as played, each track raised by its level in dB
    // (index for index; a track beyond them plays as it is); none until one is scanned.
    std::optional<int> loudestTrack(const std::vector<double>& levelsDb = {}) const;
    // "Loudest peak of the list: ..." of that track, at its level.
    QString loudestText(const std::vector<double>& levelsDb = {}) const;
    // The stretch around the peak of a scanned track, to set the recorder's level by;
    // nothing for a track not scanned.
    std::optional<SoundSource> peakPassage(int index) const;

    // What the scan measured of a track's loudness, once it has.
    struct Measured {
        double lufs = 0; // minus infinity for silence
        double peak = 0; // of its samples, a fraction of full scale
        qint64 frames = 0;
    };
    std::optional<Measured> measured(int index) const;

Q_SIGNALS:
    // The tracks, the rule or everything found changed: every track reads anew.
    void changed();
    // Findings came for one track; the gap before it may read differently too.
    void trackChanged(int index);
    void percentChanged(int percent);
    void scanningChanged(bool scanning);

private:
    struct Found {
        std::optional<LevelEnvelope> envelope;
        TrackSilences silences; // under the rule
        PeakLevel peak;
        QString failure;
        double loudnessLufs = 0;
    };

    static QString keyOf(const SoundSource& source);
    static QList<SoundSource> soundsOf(const QList<ScanTrack>& tracks);
    const Found* foundFor(int index) const;
    void startScan();
    void keep(int index, Found found);
    void setPercent(int percent);
    bool allFound() const; // every track of the list has its findings

    ListScan m_scan;
    QList<ScanTrack> m_tracks;
    QList<SoundSource> m_scanned; // what the running scan reads, index for index
    QHash<QString, Found> m_found; // by the track's key
    SilenceRule m_rule;
    int m_percent = 0;
    bool m_cancelled = false; // the running scan is stopping: a change of the list does not restart it
};
