#pragma once

#include "common/playlist_entry.h"

#include <vector>

// The playlist in list order: a fixed table of slots and the index of the last one used.
class PlaylistTable {
public:
    static constexpr int kCapacity = 32768;

    PlaylistTable();

    qint16 lastIndex() const { return m_lastIndex; }
    int count() const { return m_lastIndex + 1; }
    bool isEmpty() const { return m_lastIndex < 0; }

    PlaylistEntry& operator[](int slot) { return m_slots[size_t(slot)]; }
    const PlaylistEntry& operator[](int slot) const { return m_slots[size_t(slot)]; }

    // Takes the next slot for a new entry and returns it; a Failure "Overflow"
    // when all slots are used, leaving the table as it was.
    int claimSlot();
    // Gives back the slot that claimSlot took, for an entry that was not added.
    void releaseSlot();
    // Empties the playlist. The slots keep their old content, as free slots may.
    void clear() { m_lastIndex = -1; }

private:
    std::vector<PlaylistEntry> m_slots;
    qint16 m_lastIndex = -1;
};
