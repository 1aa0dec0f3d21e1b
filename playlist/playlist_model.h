#pragma once

#include "common/title_lookup.h"

#include <QAbstractTableModel>

class Playlist;

// What ListView1 shows: the playlist's rows, following its announcements. It reads
// the playlist's table, so rewriting all rows costs nothing per row.
class PlaylistModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PlaylistModel(const Playlist& playlist, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Where the rows' tool-tips find the entries' titles.
    void setTitleLookup(TitleLookup lookup) { m_titleLookup = std::move(lookup); }
    // Titles came from elsewhere: the tool-tips are asked for anew.
    void titlesChanged();

private:
    void appendRow(int index);
    void refreshRows();

    const Playlist& m_playlist;
    int m_rows = 0;
    TitleLookup m_titleLookup;
};
