#pragma once

#include "recorder/level_envelope.h"
#include "recorder/list_scan.h"
#include "recorder/scan_track.h"
#include "recorder/silence_rule.h"

#include <QList>
#include <QWidget>
#include <optional>

class MediaPlayer;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

// Will the list split right, and is its level right: scans the list's tracks in
// the background and lists, track by track, the quiet passages inside them a
// recorder would take for gaps, the gaps it would not take for gaps, their peak
// levels and what could not be read; and plays the loudest passage of the list
// to set the recorder's level by.
class ScanPanel : public QWidget {
    Q_OBJECT
public:
    ScanPanel(MediaPlayer& player, QWidget* parent = nullptr);

    // Shows what the tracks found so far give under the rule, at once.
    void setRule(const SilenceRule& rule);
    // A new list: what was found for the old one is dropped, a scan of it cancelled.
    void setTracks(const QList<ScanTrack>& tracks);

private:
    struct TrackResult {
        std::optional<LevelEnvelope> envelope;
        TrackSilences silences; // under the rule
        PeakLevel peak;
        QString failure;
    };

    void scanOrCancel();
    void onScanned(int index, const LevelEnvelope& envelope);
    void onFailed(int index, const QString& description);
    void onFinished();
    void showTrack(int index);
    void showAll();
    void showLoudest();
    void playLoudest();
    std::optional<int> loudestTrack() const;

    MediaPlayer& m_player;
    ListScan m_scan;
    QList<ScanTrack> m_tracks;
    QList<TrackResult> m_results;
    SilenceRule m_rule;
    bool m_scanForOldList = false; // its signals until it finishes are not for these tracks

    QPushButton* m_scanButton;
    QProgressBar* m_progress;
    QTreeWidget* m_findings;
    QLabel* m_loudest;
    QPushButton* m_playButton;
    QPushButton* m_stopButton;
};
