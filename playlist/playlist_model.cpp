#include "playlist/playlist_model.h"

#include "playlist/playlist.h"
#include "playlist/row_form.h"

namespace {

// A row is one line high: a name with line breaks in it would make every row as
// high as its own. The break shows as a return symbol; the entry keeps its name.
QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (QChar& c : text) {
        if (c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85) || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            c = QChar(0x23CE);
    }
    return text;
}

} // namespace

PlaylistModel::PlaylistModel(const Playlist& playlist, QObject* parent)
    : QAbstractTableModel(parent)
    , m_playlist(playlist)
{
    connect(&playlist, &Playlist::entryAppended, this, &PlaylistModel::appendRow);
    connect(&playlist, &Playlist::entriesChanged, this, &PlaylistModel::refreshRows);
    connect(&playlist, &Playlist::cleared, this, &PlaylistModel::refreshRows);
}

void PlaylistModel::appendRow(int index)
{
    beginInsertRows({}, index, index);
    m_rows = index + 1;
    endInsertRows();
}

void PlaylistModel::refreshRows()
{
    beginResetModel();
    m_rows = m_playlist.count();
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
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    if (role == Qt::ToolTipRole) {
        const QString title = m_titleLookup ? m_titleLookup(m_playlist.at(index.row()).path) : QString();
        return title.isEmpty() ? QVariant() : QVariant(title);
    }
    if (role != Qt::DisplayRole)
        return {};
    return oneLine(rowText(m_playlist.at(index.row()), index.row(), PlaylistColumn(index.column())));
}

void PlaylistModel::titlesChanged()
{
    if (m_rows > 0)
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, kPlaylistColumns - 1), { Qt::ToolTipRole });
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
