#pragma once

#include "discs/sound_source.h"
#include "player/gst_file_decoder.h"
#include "recorder/level_envelope.h"

#include <atomic>
#include <functional>
#include <optional>

// Reads sources through to their level envelopes as fast as they decode, one at
// a time on the caller's thread. The decoder is kept from one source to the next.
class TrackScanner {
public:
    // Hears the frames read so far, after each piece.
    using Progress = std::function<void(qint64 frames)>;

    // Nothing when cancel was set before the end. Throws a Failure with the
    // decoder's description when the source cannot be read.
    std::optional<LevelEnvelope> scan(const SoundSource& source, const std::atomic<bool>& cancel,
                                      const Progress& progress = {});

private:
    GstFileDecoder m_decoder;
};
