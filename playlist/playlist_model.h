#pragma once

#include "playlist/playlist_table.h"

#include <QAbstractTableModel>

// What ListView1 shows: the rows that have been appended or rebuilt from the
// playlist table. It reads the table, so rebuilding all rows costs nothing per row.
class PlaylistModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PlaylistModel(const PlaylistTable& table, QObject* parent = nullptr);

    // Adds the row of the slot at the table's last index.
    void appendRow();
    // udlista: rewrites every row from the table.
    void rebuild();
    // Removes every row (the column set-up).
    void removeAllRows();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const PlaylistTable& m_table;
    int m_rows = 0;
};
