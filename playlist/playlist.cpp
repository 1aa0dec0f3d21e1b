#include "playlist/playlist.h"

#include "common/failure.h"
#include "playlist/list_edits.h"
#include "playlist/playlist_total.h"

Playlist::Playlist(QObject* parent)
    : QObject(parent)
{
}

void Playlist::checkRoom() const
{
    if (count() >= kMostPlaylistEntries)
        throw Failure(QStringLiteral("Overflow"));
}

void Playlist::append(const PlaylistEntry& entry)
{
    checkRoom();
    m_table.push_back(entry);
    Q_EMIT entryAppended(lastIndex());
    if (m_openBatches == 0)
        updateTotal();
}

void Playlist::remove(int index)
{
    removeEntry(m_table, index);
    changed();
}

void Playlist::exchange(int a, int b)
{
    exchangeEntries(m_table, a, b);
    changed();
}

void Playlist::shuffle(BasicRandom& random)
{
    shuffleEntries(m_table, random);
    changed();
}

void Playlist::setGap(int index, double gapMs)
{
    m_table[size_t(index)].gap = gapMs;
    changed();
}

void Playlist::clear()
{
    m_table.clear();
    m_name.clear();
    m_folder.clear();
    Q_EMIT cleared();
    updateTotal();
}

void Playlist::changed()
{
    Q_EMIT entriesChanged();
    updateTotal();
}

void Playlist::updateTotal()
{
    m_total = playlistTotal(m_table);
    Q_EMIT totalChanged(m_total);
}

Playlist::Batch::Batch(Playlist& playlist)
    : m_playlist(playlist)
{
    ++m_playlist.m_openBatches;
}

Playlist::Batch::~Batch()
{
    if (--m_playlist.m_openBatches == 0)
        m_playlist.updateTotal();
}
