#pragma once

#include "common/busy_state.h"
#include "playlist/playlist.h"

#include <optional>

// The frame of a long operation (adding, loading, dropping): while it lives the
// pointer is the hourglass and the list is claimed for adding. However the
// operation ends, the total is recounted, the pointer is restored and the claim
// ends.
class LongOperation {
public:
    LongOperation(BusyState& busy, Playlist& playlist);
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

private:
    std::optional<Playlist::Batch> m_batch;
    BusyState::Claim m_claim;
};
