#pragma once

#include "playlist/playlist.h"

#include <optional>

class BusyState;

// The frame of a long operation (adding, loading, dropping): while it lives the
// pointer is the hourglass, the command buttons are off and the busy flag is set.
// However the operation ends, the total is recounted, the buttons come back, the
// flag is cleared and the pointer is restored.
class LongOperation {
public:
    LongOperation(BusyState& busy, Playlist& playlist);
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

private:
    BusyState& m_busy;
    std::optional<Playlist::Batch> m_batch;
};
