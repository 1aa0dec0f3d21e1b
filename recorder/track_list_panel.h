#pragma once

#include "common/playlist_table.h"
#include "recorder/gain_plan.h"
#include "recorder/track_list_text.h"

#include <QGroupBox>

class Dialogs;
class QCheckBox;
class QPlainTextEdit;
class QPushButton;

// The track list for titling the medium, to copy or save as text, with the gain each
// entry plays at when the user asks for it.
class TrackListPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit TrackListPanel(Dialogs& dialogs, QWidget* parent = nullptr);

    void setTitleLookup(TitleLookup lookup) { m_titleLookup = std::move(lookup); }
    // The list as it stands now.
    void setList(const PlaylistTable& table);
    // The gains the entries play at, index for index; empty when the loudness is left alone.
    void setGains(std::vector<EntryGain> gains);
    // The controls in the order Tab reaches them.
    QList<QWidget*> tabOrder() const;

private:
    void show();
    void save();

    Dialogs& m_dialogs;
    TitleLookup m_titleLookup;
    PlaylistTable m_table;
    std::vector<EntryGain> m_gains;

    QPlainTextEdit* m_text;
    QCheckBox* m_showGain;
    QPushButton* m_copy;
    QPushButton* m_saveAsText;
};
