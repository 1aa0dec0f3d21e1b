#pragma once

#include "discs/sound_source.h"

#include <QtGlobal>
#include <atomic>
#include <functional>
#include <memory>

// Reads sources through as fast as they decode, for measuring rather than
// hearing: one source at a time, on the caller's thread, one caller at a time.
class SampleReader {
public:
    // Hears the next samples in order: frames of interleaved stereo at 44.1 kHz,
    // full scale being 1.
    using Take = std::function<void(const float* interleavedStereo, qint64 frames)>;

    virtual ~SampleReader() = default;

    // How many frames the source will give, as far as its file's size or headers
    // say without reading it through; 0 when that is unknown. Throws a Failure when
    // nothing can be measured on this computer.
    virtual qint64 expectedFrames(const SoundSource& source) = 0;
    // Hands every sample of the source to take; false when cancel was set before
    // the end. Throws a Failure with the description of why the source cannot be read.
    virtual bool read(const SoundSource& source, const Take& take, const std::atomic<bool>& cancel) = 0;
};

// The reader that decodes with the player's own decoder.
std::unique_ptr<SampleReader> makeSampleReader();
