#pragma once

#include "common/playlist_table.h"
#include "loudness/gain_plan.h"
#include "medium/recorder_kind.h"
#include "medium/title_import_file.h"
#include "medium/track_list_choice.h"
#include "medium/track_list_text.h"

#include <QGroupBox>

class Dialogs;
class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// The track list for titling the medium, to copy or save as text: where each entry
// starts on the medium, and on the user's asking titles as a deck takes them and the
// gain each entry plays at. The titles alone are saved for a NetMD tool to import.
class TrackListPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit TrackListPanel(Dialogs& dialogs, QWidget* parent = nullptr);

    void setTitleLookup(TitleLookup lookup) { m_titleLookup = std::move(lookup); }
    void setAlbumLookup(AlbumLookup lookup) { m_albumLookup = std::move(lookup); }
    // The list as it stands now, on the recorder's medium, its sides beginning with
    // the entries given; listName names the disc when the entries share no album.
    void setList(const PlaylistTable& table, const RecorderKind& kind, std::vector<int> sideStarts,
                 const QString& listName = {});
    // The silence before the first entry of a side.
    void setLeadIn(double seconds);
    // The gains the entries play at, index for index; empty when the loudness is left alone.
    void setGains(std::vector<EntryGain> gains);
    // The controls in the order Tab reaches them.
    QList<QWidget*> tabOrder() const;

    // Puts the choice into the controls without announcing it.
    void setChoice(const TrackListChoice& choice);
    TrackListChoice choice() const;

Q_SIGNALS:
    void choiceChanged(const TrackListChoice& choice);

private:
    TrackListOptions options() const;
    DiscTitles discTitles() const;
    void show();
    void save();
    void saveTitles();
    void choose();

    Dialogs& m_dialogs;
    TitleLookup m_titleLookup;
    AlbumLookup m_albumLookup;
    PlaylistTable m_table;
    RecorderKind m_kind;
    std::vector<int> m_sideStarts;
    QString m_listName;
    double m_leadInSeconds = 0;
    std::vector<EntryGain> m_gains;

    QPlainTextEdit* m_text;
    QCheckBox* m_deckTitles;
    QSpinBox* m_titleLength;
    QCheckBox* m_halfWidthKana;
    QCheckBox* m_showGain;
    QPushButton* m_copy;
    QPushButton* m_saveAsText;
    QPushButton* m_saveTitles;
};
