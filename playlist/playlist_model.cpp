#include "playlist/playlist_model.h"

#include "playlist/row_form.h"

PlaylistModel::PlaylistModel(const PlaylistTable& table, QObject* parent)
    : QAbstractTableModel(parent)
    , m_table(table)
{
}

void PlaylistModel::appendRow()
{
    beginInsertRows({}, m_rows, m_rows);
    ++m_rows;
    endInsertRows();
}

void PlaylistModel::rebuild()
{
    beginResetModel();
    m_rows = m_table.count();
    endResetModel();
}

void PlaylistModel::removeAllRows()
{
    beginResetModel();
    m_rows = 0;
    endResetModel();
}

int PlaylistModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int PlaylistModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kPlaylistColumns;
}

QVariant PlaylistModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows)
        return {};
    return rowText(m_table[index.row()], index.row(), PlaylistColumn(index.column()));
}

QVariant PlaylistModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return columnHeader(PlaylistColumn(section));
}

Qt::ItemFlags PlaylistModel::flags(const QModelIndex& index) const
{
    // Rows are never edited in place.
    return QAbstractTableModel::flags(index) & ~Qt::ItemIsEditable;
}
