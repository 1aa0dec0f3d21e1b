#pragma once

#include "loudness/gain_plan.h"
#include "medium/recorder_kind.h"
#include "medium/side_plan.h"
#include "medium/track_list_text.h"

#include <QTimer>
#include <QWidget>

class Dialogs;
class Playlist;
struct MediumFit;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QVBoxLayout;
class TrackListPanel;

// The recorder the list is made for, in a window of its own: the choice of
// recorder, whether the list fits its medium, the gaps too short for it to split
// at, and a track list for titling the medium; on a medium with sides, what goes on
// each side. It follows the playlist by itself.
class RecorderWindow : public QWidget {
    Q_OBJECT
public:
    RecorderWindow(const Playlist& playlist, Dialogs& dialogs, const RecorderKind& recorder,
                   const SideSettings& sides, QWidget* parent = nullptr);

    const RecorderKind& recorder() const { return m_recorder; }
    const SideSettings& sideSettings() const { return m_sideSettings; }
    // The playlist as it is now on the recorder's sides.
    SidePlan sidePlan() const;
    QSize sizeHint() const override;
    // Where titles the files do not carry come from.
    void setTitleLookup(TitleLookup titles, AlbumLookup albums = {});
    // The silence before the first entry of a side: it takes room on the medium.
    void setLeadIn(double seconds);
    // The gains the entries play at, for the track list; empty when the loudness is left alone.
    void setGains(std::vector<EntryGain> gains);
    // The room below the recorder's choice and the room below the track list,
    // empty until something is put there.
    QVBoxLayout* outputArea() const { return m_outputArea; }
    QVBoxLayout* scanArea() const { return m_scanArea; }
    TrackListPanel& trackList() const { return *m_trackList; }

Q_SIGNALS:
    void recorderChanged(const RecorderKind& recorder);
    void sideSettingsChanged(const SideSettings& sides);
    void suggestedGapChosen(double seconds);
    // What it shows was brought up to date with the playlist.
    void refreshed();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildRecorderChoice();
    QWidget* buildSideSettings();
    QWidget* buildFit();
    void setTabOrder();
    void showRecorder();
    void chooseFromList(int index);
    void chooseCustomFigures();
    void chooseSideSettings();
    QString fitText(const PlaylistTable& table, const MediumFit& fit, const SidePlan& plan) const;
    void refresh();

    const Playlist& m_playlist;
    RecorderKind m_recorder;
    SideSettings m_sideSettings;
    double m_leadInSeconds = 0;
    TitleLookup m_titleLookup;
    QTimer m_refreshTimer; // many playlist changes in a row make one refresh

    QComboBox* m_choice;
    QWidget* m_customFigures;
    QSpinBox* m_minutes;
    QSpinBox* m_trackLimit;
    QDoubleSpinBox* m_threshold;
    QDoubleSpinBox* m_minimumSilence;
    QSpinBox* m_sides;
    QLabel* m_rule;
    QPushButton* m_useSuggestedGap;
    QWidget* m_sideControls;
    QSpinBox* m_leader;
    QComboBox* m_split;
    QLabel* m_fitSummary;
    QLabel* m_shortGapsCaption;
    QListWidget* m_shortGaps;
    TrackListPanel* m_trackList;
    QVBoxLayout* m_outputArea;
    QVBoxLayout* m_scanArea;
};
