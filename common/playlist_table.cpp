#include "common/playlist_table.h"

#include "common/failure.h"

PlaylistTable::PlaylistTable()
    : m_slots(kCapacity)
{
}

int PlaylistTable::claimSlot()
{
    if (m_lastIndex == kCapacity - 1)
        throw Failure(QStringLiteral("Overflow"), 6);
    return ++m_lastIndex;
}

void PlaylistTable::releaseSlot()
{
    if (m_lastIndex >= 0)
        --m_lastIndex;
}
