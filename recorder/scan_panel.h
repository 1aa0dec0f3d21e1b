#pragma once

#include <QWidget>

class ListFindings;
class ListGains;
class MediaPlayer;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

// Will the list split right, and is its level right: scans the list's tracks in
// the background and lists, track by track, the quiet passages inside them a
// recorder would take for gaps, the gaps it would not take for gaps, their peak
// levels and what could not be read; and plays the loudest passage of the list
// to set the recorder's level by, at the gain it plays at in a run. It shows the
// findings and the gains, which outlive it.
class ScanPanel : public QWidget {
    Q_OBJECT
public:
    ScanPanel(ListFindings& findings, ListGains& gains, MediaPlayer& player, QWidget* parent = nullptr);

Q_SIGNALS:
    // The loudest passage is about to play, and is over: heard to its end, stopped or failed.
    void passageStarting();
    void passageOver();

private:
    void scanOrCancel();
    void showScanning();
    void showTrack(int index);
    void showAll();
    void showLoudest();
    void playLoudest();
    void endPassage();
    std::vector<double> levelsDb() const;

    ListFindings& m_findings;
    ListGains& m_gains;
    MediaPlayer& m_player;
    bool m_passagePlaying = false;

    QPushButton* m_scanButton;
    QProgressBar* m_progress;
    QTreeWidget* m_findingsList;
    QLabel* m_loudest;
    QPushButton* m_playButton;
    QPushButton* m_stopButton;
};
